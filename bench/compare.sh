#!/usr/bin/env bash
# Velmo against its peers, whole processes under one Xvfb, as a user runs them.
#
#   bench/compare.sh [build-folder] [pairs]
#
# Each player plays each 10 s clip to its end, in turn with a paced decode of
# the same clip (the floor: decodebin into clock-synced fake sinks), so every
# ratio is taken between two neighbouring runs: A B A B ... The CPU of a run is
# the player's user + system time plus what the X server spent meanwhile.
# Peak memory is the player's largest resident set. The first picture is seen
# from outside, through the X server, by velmo_first_picture, the same way for
# every player. The same watcher times seeks of a paused picture, the pictures
# shown while Velmo's timeline is dragged, and the start to a standing window
# (compare_more.sh). Prints two Markdown tables of medians.
#
# COMPARE_ONLY=REGEX runs only the rows whose key (say v_360_720, seek,
# drag_v_k2, start, vlc, smplayer, first_m) matches.
#
# Players: the real velmo (VELMO_QUIT_AT_END=1 ends it at the end of the clip),
# velmo_bench_engine (the engine in a bare 1280x720 video screen),
# gst-play-1.0 (ximagesink), mpv --vo=x11, VLC (cvlc, its X11 output, as an
# ordinary user) and SMPlayer (with the mpv it starts, X11 output). The peers
# are needed only here and are installed when missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
pairs="${2:-4}"
fixtures="$build/fixtures"
velmo="$build/app/velmo"
bench="$build/bench/velmo_bench_engine"
watch="$build/bench/velmo_first_picture"

need=()
command -v mpv >/dev/null || need+=(mpv)
command -v gst-play-1.0 >/dev/null || need+=(gstreamer1.0-plugins-base-apps)
command -v xdotool >/dev/null || need+=(xdotool)
command -v cvlc >/dev/null || need+=(vlc)
command -v smplayer >/dev/null || need+=(smplayer)
gst-inspect-1.0 ximagesink >/dev/null 2>&1 || need+=(gstreamer1.0-x)
if [ ${#need[@]} -gt 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
for program in "$velmo" "$bench" "$watch"; do
    [ -x "$program" ] || { echo "build $program first (cmake --build $build)"; exit 1; }
done
flock "$build/fixtures.lock" bash "$root/tests/fixtures/make_fixtures.sh" "$fixtures" --bench

# The real program runs in a folder of its own with the shipped skin and the
# first-run settings, so nothing a person changed in the checkout counts.
home="$(mktemp -d)"
ln -s "$root/skin" "$home/skin"
cp "$root/resources/velmo_init.ini" "$home/velmo_init.ini"
work="$(mktemp -d)"
display="${COMPARE_DISPLAY:-:4}" # below 10, so that shared-memory drawing stays on
xvfb=""
stop_x() { [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true; xvfb=""; }; }
trap 'stop_x; rm -rf "$home" "$work" "${peers:-}"' EXIT
start_x() { # WIDTHxHEIGHT
    stop_x
    Xvfb "$display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
}
export DISPLAY="$display" QT_QPA_PLATFORM=xcb

x_ticks() { awk '{ print $14 + $15 }' "/proc/$xvfb/stat"; }
tick_s=$(getconf CLK_TCK)

# run NAME COMMAND...: plays to the end; appends "cpu_s peak_kib" to $work/NAME.
run() {
    local name="$1"; shift
    local before after
    before=$(x_ticks)
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    after=$(x_ticks)
    # time's last line; a failed command adds a line before it.
    tail -1 "$work/time" | awk -v x=$((after - before)) -v t="$tick_s" '{ printf "%.3f %d\n", $1 + $2 + x / t, $3 }' >>"$work/$name"
}

floor() { # CLIP
    gst-launch-1.0 -q filesrc location="$1" ! decodebin name=d d. ! queue ! videoconvert ! fakesink sync=true \
        d. ! queue ! audioconvert ! fakesink sync=true
}
velmo_at() { # CLIP [preset key]: the real program, its window fitted to the screen
    local key="${2:-}"
    (cd "$home" && VELMO_QUIT_AT_END=1 "$velmo" "$1") &
    local pid=$!
    if [ -n "$key" ]; then
        local window=""
        for _ in $(seq 200); do
            window=$(xdotool search --maxdepth 1 --pid "$pid" --onlyvisible 2>/dev/null | head -1) && [ -n "$window" ] && break
            sleep 0.01
        done
        xdotool key --window "$window" "$key"
    fi
    wait "$pid" || true
}
gst_play() { # CLIP [WIDTH HEIGHT]
    local scale=""
    [ $# -lt 3 ] || scale="videoscale ! video/x-raw,width=$2,height=$3 ! "
    gst-play-1.0 --no-interactive -q --videosink "${scale}videoconvert ! ximagesink" \
        --audiosink "fakesink sync=true" "$1"
}
mpv_x11() { # CLIP [WIDTH HEIGHT]
    local geometry=()
    [ $# -lt 3 ] || geometry=(--geometry="$2x$3")
    mpv --really-quiet --no-config --vo=x11 --ao=null "${geometry[@]}" "$1"
}
export -f floor velmo_at gst_play mpv_x11
export home velmo

only() { [[ "$1" =~ ${COMPARE_ONLY:-.} ]]; } # KEY: whether the row runs

# row LABEL CLIP PLAYER-COMMAND...: pairs of (floor, player) runs, the
# player's run by $runner (run, or run_tree for a player of several processes).
row() {
    local label="$1" clip="$2"; shift 2
    local key="${label// /_}"
    only "$key" || return 0
    for _ in $(seq "$pairs"); do
        run "$key.floor" bash -c 'floor "$1"' _ "$clip"
        "${runner:-run}" "$key" "$@"
    done
}
source "$root/bench/compare_more.sh"

median() { sort -n | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)]; else print "-" }'; }
ratio() { # KEY: median of the pair-by-pair ratios
    [ -f "$work/$1" ] || { echo "-"; return; }
    paste -d' ' "$work/$1" "$work/$1.floor" | awk '{ printf "%.3f\n", $1 / $3 }' | median
}
peak_mib() { # KEY
    [ -f "$work/$1" ] || { echo "-"; return; }
    awk '{ printf "%.0f\n", $2 / 1024 }' "$work/$1" | median
}

c1080="$fixtures/cmp1080.mp4" c720="$fixtures/cmp720.mp4" c360="$fixtures/cmp360.avi"

# The window around Velmo's picture is 6 pixels wider and 82 taller; on this
# screen a 1080p picture is fitted to exactly 1280x720.
start_x 1286x802
row "v 1080 720" "$c1080" bash -c 'velmo_at "$1"' _ "$c1080"
row "b 1080 720" "$c1080" "$bench" "$c1080"
row "g 1080 720" "$c1080" bash -c 'gst_play "$1" 1280 720' _ "$c1080"
row "m 1080 720" "$c1080" bash -c 'mpv_x11 "$1" 1280 720' _ "$c1080"
row "b 360 720" "$c360" "$bench" "$c360"
row "g 360 720" "$c360" bash -c 'gst_play "$1" 1280 720' _ "$c360"
row "m 360 720" "$c360" bash -c 'mpv_x11 "$1" 1280 720' _ "$c360"
# "4" is the x 2.0 size preset.
row "v 360 720" "$c360" bash -c 'velmo_at "$1" 4' _ "$c360"

start_x 1926x1162
for clip in 1080 720; do
    file="$fixtures/cmp$clip.mp4"
    row "v $clip own" "$file" bash -c 'velmo_at "$1"' _ "$file"
    row "g $clip own" "$file" bash -c 'gst_play "$1"' _ "$file"
    row "m $clip own" "$file" bash -c 'mpv_x11 "$1"' _ "$file"
done
row "vlc 720 own" "$fixtures/cmp720.mp4" bash -c 'vlc_x11 "$1"' _ "$peers/cmp720.mp4"
runner=run_tree row "smplayer 720 own" "$fixtures/cmp720.mp4" bash -c 'smplayer_x11 "$1"' _ "$peers/cmp720.mp4"
seek_rows
drag_rows

# First picture on screen from process start, each run a new process.
first_of() { # PLAYER SIZE COMMAND...
    local player="$1" size="$2"; shift 2
    only "first_$player" || return 0
    { "$watch" -- "$@" || true; } | sed -n 's/^first_picture_ms=//p' >>"$work/first.$player.$size"
}
for _ in $(seq "$pairs"); do
    for clip in "$c360" "$fixtures/cmp720.mp4"; do
        size=$([ "$clip" = "$c360" ] && echo 360 || echo 720)
        (cd "$home" && first_of v "$size" "$velmo" "$clip")
        first_of g "$size" gst-play-1.0 --no-interactive -q --videosink "videoconvert ! ximagesink" \
            --audiosink "fakesink sync=true" "$clip"
        first_of m "$size" mpv --really-quiet --no-config --vo=x11 --ao=null "$clip"
        first_of vlc "$size" bash -c 'vlc_x11 "$1"' _ "$peers/$(basename "$clip")"
        first_of smplayer "$size" bash -c 'smplayer_x11 "$1"' _ "$peers/$(basename "$clip")"
    done
done
first() { of "first.$1.360"; }
first720() { of "first.$1.720"; }

start_rows

echo "Medians of $pairs pairs, $(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m)."
echo
echo "| clip, shown at | velmo | velmo_bench_engine | gst-play-1.0 | mpv --vo=x11 | vlc | smplayer |"
echo "|---|---|---|---|---|---|---|"
echo "| CPU ÷ floor: 1080p at 1280x720 | $(ratio v_1080_720)× | $(ratio b_1080_720)× | $(ratio g_1080_720)× | $(ratio m_1080_720)× | - | - |"
echo "| CPU ÷ floor: 1080p at its own size | $(ratio v_1080_own)× | - | $(ratio g_1080_own)× | $(ratio m_1080_own)× | - | - |"
echo "| CPU ÷ floor: 720p at its own size | $(ratio v_720_own)× | - | $(ratio g_720_own)× | $(ratio m_720_own)× |" \
    "$(ratio vlc_720_own)× | $(ratio smplayer_720_own)× |"
echo "| CPU ÷ floor: 360p at 1280x720 | $(ratio v_360_720)× | $(ratio b_360_720)× | $(ratio g_360_720)× | $(ratio m_360_720)× | - | - |"
echo "| peak MiB, 1080p (floor $(peak_mib v_1080_own.floor)) | $(peak_mib v_1080_own) | $(peak_mib b_1080_720) |" \
    "$(peak_mib g_1080_own) | $(peak_mib m_1080_own) | - | - |"
echo "| peak MiB, 720p (floor $(peak_mib v_720_own.floor)) | $(peak_mib v_720_own) | - | $(peak_mib g_720_own) |" \
    "$(peak_mib m_720_own) | $(peak_mib vlc_720_own) | $(peak_mib smplayer_720_own) |"
echo "| first picture ms, 360p / 720p | $(first v) / $(first720 v) | - | $(first g) / $(first720 g) |" \
    "$(first m) / $(first720 m) | $(first vlc) / $(first720 vlc) | $(first smplayer) / $(first720 smplayer) |"
print_second_table
if [ -f "$work/smplayer_720_own.cpu_check" ]; then
    echo
    echo "SMPlayer's CPU s, /usr/bin/time against its process tree in /proc (a check):" \
        "$(awk '{ print $1 }' "$work/smplayer_720_own.cpu_check" | median) against" \
        "$(awk '{ print $2 }' "$work/smplayer_720_own.cpu_check" | median)"
fi
