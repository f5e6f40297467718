#!/usr/bin/env bash
# Plays a 2-second clip in repeat mode for MINUTES minutes under its own Xvfb,
# so that every loop builds and tears down a whole graph, and prints the
# player's resident memory (all, and its anonymous part) and open descriptors
# (from /proc) and the loops so far each minute, then how much they grew: from
# the start, and between the medians of the first and the last quarter of the
# minutes. Exits 1 when the player ends or stops looping.
#   scripts/soak.sh MINUTES [PLAYER]
# PLAYER defaults to build/app/velmo (build it first). VELMO_XVFB_DISPLAY picks
# the display number; by default Xvfb takes a free one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
minutes="${1:?usage: scripts/soak.sh MINUTES [PLAYER]}"
player_bin="$(realpath "${2:-$root/build/app/velmo}")"
[ -x "$player_bin" ] || { echo "no player at $player_bin: build it first"; exit 2; }
for tool in Xvfb xdotool gst-launch-1.0 python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)"; exit 2; }
done
# The rest runs on an X server of its own.
if [ -z "${VELMO_SOAK_UNDER_XVFB:-}" ]; then
    VELMO_SOAK_UNDER_XVFB=1 XVFB_SCREEN=1024x768x24 XVFB_DISPLAY="${VELMO_XVFB_DISPLAY:-}" \
        exec "$root/tests/support/under_xvfb.sh" "$0" "$minutes" "$player_bin"
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

clip="$tmp/clip.mkv"
gst-launch-1.0 -q matroskamux name=mux ! filesink location="$clip" \
    videotestsrc num-buffers=50 ! video/x-raw,width=320,height=240,framerate=25/1 ! videoconvert \
    ! video/x-raw,format=I420 ! x264enc speed-preset=veryfast ! queue ! mux. \
    audiotestsrc num-buffers=87 ! audio/x-raw,rate=44100 ! audioconvert ! lamemp3enc ! queue ! mux. >/dev/null

export XDG_RUNTIME_DIR="$tmp/runtime"

cd "$tmp/work"
GST_DEBUG="GST_ELEMENT_FACTORY:4" GST_DEBUG_FILE="$tmp/gst.log" GST_DEBUG_NO_COLOR=1 \
    "$player_bin" "$clip" >"$tmp/player.log" 2>&1 &
player=$!
window="$(timeout 20 xdotool search --sync --maxdepth 1 --pid "$player" | head -n 1)"
[ -n "$window" ] || { echo "the player showed no window"; cat "$tmp/player.log"; exit 1; }
# R switches repeat on; Home starts the clip over in case it ended already.
xdotool windowfocus --sync "$window" key r Home

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
# Every loop makes a new playbin; GStreamer's log of the elements it makes counts them.
loops() { grep -c 'creating element "playbin"' "$tmp/gst.log" 2>/dev/null || true; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

sleep 5
looping || { echo "the player does not loop the clip"; exit 1; }
: > "$tmp/samples"
for minute in $(seq 0 "$minutes"); do
    if [ "$minute" -gt 0 ]; then
        sleep 60
        alive || { echo "minute $minute: the player ended"; cat "$tmp/player.log"; exit 1; }
        looping || { echo "minute $minute: the player stopped looping"; exit 1; }
    fi
    rss="$(rss_kb)" anon="$(anon_kb)" count="$(fds)"
    echo "$rss $anon $count" >> "$tmp/samples"
    echo "minute $minute: rss ${rss} kB, anonymous ${anon} kB, fds ${count}, loops $(loops)"
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
echo "after $minutes minutes and $(loops) loops: rss $(( $(tail -n 1 "$tmp/samples" | cut -d' ' -f1) - $(head -n 1 "$tmp/samples" | cut -d' ' -f1) )) kB more than at the start"
echo "median of the last $quarter minutes against the first $quarter after minute 0: rss ${growth[1]} kB, anonymous ${growth[2]} kB, fds ${growth[3]}"
