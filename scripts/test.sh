#!/usr/bin/env bash
# Installs what is missing, builds Velmo twice (plain, then with AddressSanitizer
# and UndefinedBehaviorSanitizer) with warnings as errors, runs every test, then
# fuzzes each parser briefly.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source scripts/deps.sh
velmo_install_deps

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_suite() {
    local dir="$1"; shift
    echo "== $dir: configure"
    cmake -S . -B "$dir" -G Ninja -DVELMO_WERROR=ON "$@" >/dev/null
    echo "== $dir: build"
    cmake --build "$dir"
    echo "== $dir: test"
    # Real pipelines on two cores, under the sanitizers ten times slower: a
    # test that fails beside another is run once more alone, and the run
    # fails only if it fails again. The ones that did are named, to be mended.
    if ! (cd "$dir" && ctest -j2 --output-on-failure --timeout 300); then
        local failed
        failed="$(cat "$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true)"
        echo "== $dir: the failed tests once more, alone"
        (cd "$dir" && ctest --rerun-failed --output-on-failure --timeout 300)
        echo "== $dir: passed alone, failed beside another:"
        echo "$failed" | sed 's/^/   /'
    fi
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMO_SANITIZE=ON -DVELMO_BENCH=OFF
# A short run of every fuzz target, so that a change which makes a parser
# crash on some input fails here too.
scripts/fuzz.sh 20
