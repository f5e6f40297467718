#!/usr/bin/env bash
# Installs what is missing, builds Velmo (Release) and starts it from the folder
# that holds skin/default/, with an optional media path or address.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
media=""
if [ $# -gt 0 ]; then
    media="$*"
    # A relative file path is made absolute; an address with a scheme stays as it is.
    if [[ ! "$media" =~ ^[A-Za-z][A-Za-z0-9+.-]*:// && "$media" != /* ]]; then
        media="$(pwd)/$media"
    fi
fi
cd "$root"
source scripts/deps.sh
velmo_install_deps
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMO_TESTS=OFF -DVELMO_BENCH=OFF >/dev/null
cmake --build build-release --target velmo
cd "$root"
# First run: start from readable subtitle settings (white bold text with an
# outline); the player keeps its own changes in this file afterwards.
[ -e velmo_init.ini ] || cp resources/velmo_init.ini velmo_init.ini
if [ -n "$media" ]; then
    exec "$root/build-release/app/velmo" "$media"
else
    exec "$root/build-release/app/velmo"
fi
