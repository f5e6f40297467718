#!/usr/bin/env bash
# Plays the 1080p benchmark clip to its end in Velmo's 1280x720 video screen,
# in gst-play-1.0 and in mpv (each in its fairest setting here), one after the
# other under one Xvfb, and prints the CPU each spent and the ratios. Also the
# time from process start to the first frame of a 360p clip.
#
#   bench/engine_compare.sh [build-folder] [runs]
#
# With VELMO_BENCH_BASELINE set to another build's velmo_bench_engine (say, of
# the commit before a change), that one plays in turn with the others too.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-3}"
fixtures="$build/fixtures"
bench="$build/bench/velmo_bench_engine"

# The comparison players are needed here only, not by the build.
need=()
command -v mpv >/dev/null || need+=(mpv)
command -v gst-play-1.0 >/dev/null || need+=(gstreamer1.0-plugins-base-apps)
if [ ${#need[@]} -gt 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build --target velmo_bench_engine)"; exit 1; }
flock "$build/fixtures.lock" bash "$root/tests/fixtures/make_fixtures.sh" "$fixtures" --bench

# A display numbered below 10, so that shared-memory drawing stays on.
display=:7
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display" QT_QPA_PLATFORM=xcb

clip="$fixtures/hd1080.mp4"
cpu_of() { # command...: prints user+system seconds of the whole process
    /usr/bin/time -f "%U %S" -o /tmp/velmo_bench_time "$@" >/dev/null 2>&1 || true
    awk '{ printf "%.3f", $1 + $2 }' /tmp/velmo_bench_time
}

baseline="${VELMO_BENCH_BASELINE:-}"
decode=() velmo=() base=() gstplay=() mpvs=()
for i in $(seq "$runs"); do
    decode+=("$(cpu_of gst-launch-1.0 -q filesrc location="$clip" ! decodebin name=d d. ! queue ! fakesink sync=true \
        d. ! queue ! fakesink sync=true)")
    velmo+=("$(cpu_of "$bench" "$clip")")
    [ -z "$baseline" ] || base+=("$(cpu_of "$baseline" "$clip")")
    gstplay+=("$(cpu_of gst-play-1.0 --no-interactive \
        --videosink "videoscale ! video/x-raw,width=1280,height=720 ! videoconvert ! ximagesink" \
        --audiosink "fakesink sync=true" "$clip")")
    mpvs+=("$(cpu_of mpv --really-quiet --vo=x11 --ao=null --geometry=1280x720 --no-config "$clip")")
done

median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
d=$(median "${decode[@]}") v=$(median "${velmo[@]}") g=$(median "${gstplay[@]}") m=$(median "${mpvs[@]}")
echo "CPU seconds to play $(basename "$clip") (median of $runs):"
echo "  decode only  $d"
echo "  velmo        $v  ($(awk "BEGIN { printf \"%.2f\", $v / $d }")x decode)"
if [ -n "$baseline" ]; then
    b=$(median "${base[@]}")
    echo "  baseline     $b  ($(awk "BEGIN { printf \"%.2f\", $b / $d }")x decode; velmo / baseline = $(awk "BEGIN { printf \"%.2f\", $v / $b }"))"
fi
echo "  gst-play     $g  ($(awk "BEGIN { printf \"%.2f\", $g / $d }")x decode)"
echo "  mpv          $m  ($(awk "BEGIN { printf \"%.2f\", $m / $d }")x decode)"
echo "  velmo / gst-play = $(awk "BEGIN { printf \"%.2f\", $v / $g }"), velmo / mpv = $(awk "BEGIN { printf \"%.2f\", $v / $m }")"

echo "Velmo first frame ($(basename "$fixtures/sd360.mp4"), each run a new process):"
for i in $(seq "$runs"); do
    "$bench" "$fixtures/sd360.mp4" --first-frame 2>/dev/null | sed 's/^/  /'
    [ -z "$baseline" ] || "$baseline" "$fixtures/sd360.mp4" --first-frame 2>/dev/null | sed 's/^/  baseline: /'
done
echo "Velmo, the 1080p clip to its end:"
"$bench" "$clip" 2>/dev/null | sed 's/^/  /'
