#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for SECONDS
# (default 60), one after another, from its committed seeds. Fails when any
# target crashes, hangs or breaks one of its checks; the input that did it is
# left in build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
source scripts/deps.sh
velmo_install_deps

echo "== build-fuzz: configure"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVELMO_FUZZ=ON -DVELMO_WERROR=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "== build-fuzz: build"
cmake --build build-fuzz

# target:dictionary ("" for none):longest input in bytes. What the SAMI reader
# and the INI store cost grows with the paragraphs or lines an input holds: a
# kilobyte holds every construct and runs two to four times as fast as
# libFuzzer's default of four. The skin loader's cost is its pictures.
targets=(sami:sami.dict:1024 caption:sami.dict:4096 spans:spans.dict:4096 ini:ini.dict:1024 colour::4096
         skin:ini.dict:4096 subrip:timedtext.dict:2048 webvtt:timedtext.dict:2048 resume::4096
         m3u:playlist.dict:4096 m3u8:playlist.dict:4096 pls:playlist.dict:4096
         ass:ass.dict:4096)
mkdir -p build-fuzz/artifacts build-fuzz/logs
# No stack is kept for each allocation: the sanitizer's fast unwinder walks
# frame pointers that Qt's libraries do not keep, so nearly every allocation
# made inside them records a stack never seen before, and the store of
# stacks grew without end (2 GB and a tenth of the speed after two million
# runs). A crash still shows its own stack; run the input left in
# build-fuzz/artifacts/ through the target to see where its memory came from.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}malloc_context_size=0"
failed=()
for entry in "${targets[@]}"; do
    IFS=: read -r target dict max_len <<<"$entry"
    # New inputs go to the build folder's corpus; the committed seeds are only read.
    work="build-fuzz/corpus/$target"
    log="build-fuzz/logs/$target.log"
    mkdir -p "$work"
    args=(-max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1
          -artifact_prefix="build-fuzz/artifacts/$target-")
    [ -n "$dict" ] && args+=(-dict="fuzz/$dict")
    echo "== fuzz $target: ${seconds}s"
    if "build-fuzz/fuzz/velmo_fuzz_$target" "${args[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        reached=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' "$log" | tail -n 1)
        echo "   $runs executions, $reached"
    else
        tail -n 40 "$log"
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]} (inputs in build-fuzz/artifacts/, logs in build-fuzz/logs/)" >&2
    exit 1
fi
