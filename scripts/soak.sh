#!/usr/bin/env bash
# Plays a 2-second clip in repeat mode for MINUTES minutes under its own Xvfb,
# so that every loop builds and tears down a whole graph, and prints the
# player's resident memory (all, and its anonymous part) and open descriptors
# (from /proc) and the graphs so far each minute, then how much they grew: from
# the start, and between the medians of the first and the last quarter of the
# minutes. Exits 1 when the player ends or stops playing, or when a sanitized
# player reports anything on its way out (it is closed as a user closes it).
#   scripts/soak.sh [--films] MINUTES [PLAYER]
# --films: twenty different clips (codecs, containers, sizes, some with a
# caption file beside them) in one folder instead, opened one after another
# with the next- and previous-file keys every 3 seconds, back and forth.
# PLAYER defaults to build/app/velmo (build it first). VELMO_XVFB_DISPLAY picks
# the display number; by default Xvfb takes a free one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
films=""
if [ "${1:-}" = "--films" ]; then films=1; shift; fi
minutes="${1:?usage: scripts/soak.sh [--films] MINUTES [PLAYER]}"
player_bin="$(realpath "${2:-$root/build/app/velmo}")"
[ -x "$player_bin" ] || { echo "no player at $player_bin: build it first"; exit 2; }
for tool in Xvfb xdotool gst-launch-1.0 python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)"; exit 2; }
done
# The rest runs on an X server of its own.
if [ -z "${VELMO_SOAK_UNDER_XVFB:-}" ]; then
    VELMO_SOAK_UNDER_XVFB=1 XVFB_SCREEN=1024x768x24 XVFB_DISPLAY="${VELMO_XVFB_DISPLAY:-}" \
        exec "$root/tests/support/under_xvfb.sh" "$0" ${films:+--films} "$minutes" "$player_bin"
fi

tmp="$(mktemp -d)"
player=""
cleanup() {
    local status=$?
    set +e
    if [ -n "$player" ]; then
        kill "$player" 2>/dev/null
        wait "$player" 2>/dev/null
    fi
    rm -rf "$tmp"
    exit "$status"
}
trap cleanup EXIT INT TERM

# The player finds its skin and settings in its working folder.
mkdir -p "$tmp/work/skin" "$tmp/runtime"
chmod 700 "$tmp/runtime"
cp -r "$root/skin/default" "$tmp/work/skin/"
cp "$root/resources/velmo_init.ini" "$tmp/work/"

# clip FILE VIDEO-ENCODER AUDIO-ENCODER MUXER WIDTH HEIGHT PATTERN SECONDS
clip() {
    local frames=$(( $8 * 25 )) samples=$(( $8 * 44100 / 1024 + 1 ))
    gst-launch-1.0 -q $4 name=mux ! filesink location="$1" \
        videotestsrc pattern="$7" num-buffers="$frames" ! video/x-raw,width="$5",height="$6",framerate=25/1 \
        ! videoconvert ! video/x-raw,format=I420 ! $2 ! queue ! mux. \
        audiotestsrc num-buffers="$samples" ! audio/x-raw,rate=44100 ! audioconvert ! $3 ! queue ! mux. >/dev/null
}
h264="x264enc speed-preset=veryfast"
if [ -z "$films" ]; then
    first="$tmp/clip.mkv"
    clip "$first" "$h264" lamemp3enc matroskamux 320 240 0 2
else
    # Twenty clips that differ in what the graph is built of; the size, the
    # pattern and the length vary from one to the next as well.
    mkdir "$tmp/films"
    kinds=("$h264|lamemp3enc|matroskamux|mkv" "$h264|avenc_aac|mp4mux|mp4" "vp8enc deadline=1|vorbisenc|webmmux|webm"
           "theoraenc|vorbisenc|oggmux|ogv" "avenc_mpeg4|lamemp3enc|avimux|avi" "jpegenc|identity|avimux|avi"
           "vp9enc deadline=1 cpu-used=8|audioresample ! opusenc|webmmux|webm" "$h264|flacenc|matroskamux|mkv")
    sizes=("320 240" "480 270" "640 360" "176 144" "400 300")
    for n in $(seq 1 20); do
        IFS='|' read -r video audio muxer extension <<<"${kinds[$(( (n - 1) % ${#kinds[@]} ))]}"
        read -r width height <<<"${sizes[$(( (n - 1) % ${#sizes[@]} ))]}"
        name="$(printf 'film%02d' "$n")"
        [ "$n" != 12 ] || name="film12 한글"
        clip "$tmp/films/$name.$extension" "$video" "$audio" "$muxer" "$width" "$height" $(( n % 19 )) $(( 4 + n % 3 ))
        case $(( n % 5 )) in
            0) printf '1\n00:00:00,500 --> 00:00:03,000\n%s 자막\n' "$name" >"$tmp/films/$name.srt" ;;
            2) printf '<SAMI><BODY><SYNC Start=0><P Class=KRCC>%s 자막\n<SYNC Start=2500><P Class=KRCC>&nbsp;\n</BODY></SAMI>\n' \
                   "$name" >"$tmp/films/$name.smi" ;;
            4) printf 'WEBVTT\n\n00:00.500 --> 00:03.000\n%s 자막\n' "$name" >"$tmp/films/$name.vtt" ;;
        esac
    done
    first="$tmp/films/film01.mkv"
fi

export XDG_RUNTIME_DIR="$tmp/runtime"
# A sanitized player: the leaks of the libraries below it that the tests know too.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}"

cd "$tmp/work"
GST_DEBUG="GST_ELEMENT_FACTORY:4" GST_DEBUG_FILE="$tmp/gst.log" GST_DEBUG_NO_COLOR=1 \
    "$player_bin" "$first" >"$tmp/player.log" 2>&1 &
player=$!
window="$(timeout 20 xdotool search --sync --maxdepth 1 --pid "$player" | head -n 1)"
[ -n "$window" ] || { echo "the player showed no window"; cat "$tmp/player.log"; exit 1; }
if [ -z "$films" ]; then
    # R switches repeat on; Home starts the clip over in case it ended already.
    xdotool windowfocus --sync "$window" key r Home
fi

digest() { python3 "$root/tools/xwin.py" digest "$window"; }
# Still looping: the picture keeps changing (a clip that ended stands still).
looping() {
    local first
    first="$(digest)"
    for _ in 1 2 3 4 5; do
        sleep 0.3
        [ "$(digest)" != "$first" ] && return 0
    done
    return 1
}
alive() { kill -0 "$player" 2>/dev/null; }
# The file part of the resident memory is the mapped libraries; the anonymous
# part is the player's own heap and buffers, which the allocator's arenas make
# swing by a few megabytes from one minute to the next.
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$player/status"; }
anon_kb() { awk '/^RssAnon:/ { print $2 }' "/proc/$player/status"; }
fds() { find "/proc/$player/fd" -mindepth 1 -maxdepth 1 | wc -l; }
# Every loop and every open makes a new playbin; GStreamer's log of the
# elements it makes counts them.
loops() { grep -c 'creating element "playbin"' "$tmp/gst.log" 2>/dev/null || true; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# films: the clip playing now, 1 to 20, and the way the next key goes.
film=1 way=1
# Waits a minute; with films, steps to a neighbouring clip every 3 seconds.
pass_a_minute() {
    if [ -z "$films" ]; then
        sleep 60
        return
    fi
    for _ in $(seq 20); do
        if [ $(( film + way )) -lt 1 ] || [ $(( film + way )) -gt 20 ]; then way=$(( -way )); fi
        film=$(( film + way ))
        xdotool windowfocus --sync "$window" key "$([ "$way" = 1 ] && echo ctrl+Next || echo ctrl+Prior)"
        sleep 3
    done
}
# A sanitized player reports on its way out; a close request is how a user ends it.
close_player() {
    python3 "$root/tools/xwin.py" close "$window"
    for _ in $(seq 300); do alive || break; sleep 0.1; done
    if alive; then echo "the player did not end within 30 s of the close request"; exit 1; fi
    # Every way out of the player ends with status 1; a signal is a crash.
    local status=0
    wait "$player" || status=$?
    player=""
    if [ "$status" -gt 1 ]; then echo "the player ended with status $status"; cat "$tmp/player.log"; exit 1; fi
    if grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$tmp/player.log"; then
        echo "the sanitizers reported the above (the whole log follows)"
        cat "$tmp/player.log"
        exit 1
    fi
}

sleep "$([ -z "$films" ] && echo 5 || echo 2)"
looping || { echo "the player does not play"; exit 1; }
: > "$tmp/samples"
for minute in $(seq 0 "$minutes"); do
    if [ "$minute" -gt 0 ]; then
        pass_a_minute
        alive || { echo "minute $minute: the player ended"; cat "$tmp/player.log"; exit 1; }
        looping || { echo "minute $minute: the player stopped playing (film $film)"; exit 1; }
    fi
    rss="$(rss_kb)" anon="$(anon_kb)" count="$(fds)"
    echo "$rss $anon $count" >> "$tmp/samples"
    echo "minute $minute: rss ${rss} kB, anonymous ${anon} kB, fds ${count}, graphs $(loops)"
done
# Single samples swing with the allocator; the medians of the first and the
# last quarter of the minutes after the first show a trend.
quarter=$(( minutes / 4 > 0 ? minutes / 4 : 1 ))
tail -n +2 "$tmp/samples" | head -n "$quarter" > "$tmp/first"
tail -n "$quarter" "$tmp/samples" > "$tmp/last"
for column in 1 2 3; do
    first="$(cut -d' ' -f"$column" "$tmp/first" | median)"
    last="$(cut -d' ' -f"$column" "$tmp/last" | median)"
    growth[column]=$((last - first))
done
echo "after $minutes minutes and $(loops) graphs: rss $(( $(tail -n 1 "$tmp/samples" | cut -d' ' -f1) - $(head -n 1 "$tmp/samples" | cut -d' ' -f1) )) kB more than at the start"
echo "median of the last $quarter minutes against the first $quarter after minute 0: rss ${growth[1]} kB, anonymous ${growth[2]} kB, fds ${growth[3]}"
close_player
echo "closed cleanly"
