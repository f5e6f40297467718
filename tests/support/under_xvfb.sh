#!/usr/bin/env bash
# Runs COMMAND... with Qt's X11 platform on an Xvfb of its own (a free display
# that Xvfb picks), ending the server afterwards; XVFB_ARGS adds options to the
# server (say "-extension MIT-SHM"). Exits 77 when Xvfb is missing.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (scripts/deps.sh installs xvfb)"; exit 77; }
tmp="$(mktemp -d)"
# shellcheck disable=SC2086 # XVFB_ARGS is a list of options
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp ${XVFB_ARGS:-} 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 200); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "FAIL: Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$tmp/display")" QT_QPA_PLATFORM=xcb
"$@"
