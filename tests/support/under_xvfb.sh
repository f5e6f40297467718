#!/usr/bin/env bash
# Runs COMMAND... with Qt's X11 platform on an Xvfb of its own, ending the
# server afterwards. XVFB_SCREEN sets the screen (default 1280x1024x24);
# XVFB_DISPLAY a display number (by default Xvfb picks a free one); XVFB_ARGS
# adds options to the server (say "-extension MIT-SHM"). Exits 77 when Xvfb
# is missing.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (scripts/deps.sh installs xvfb)"; exit 77; }
tmp="$(mktemp -d)"
screen="${XVFB_SCREEN:-1280x1024x24}"
if [ -n "${XVFB_DISPLAY:-}" ]; then
    # shellcheck disable=SC2086 # XVFB_ARGS is a list of options
    Xvfb ":$XVFB_DISPLAY" -screen 0 "$screen" -nolisten tcp ${XVFB_ARGS:-} 2>"$tmp/xvfb.log" &
    ready() { [ -S "/tmp/.X11-unix/X$XVFB_DISPLAY" ] && echo "$XVFB_DISPLAY" > "$tmp/display"; }
else
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp ${XVFB_ARGS:-} 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    ready() { [ -s "$tmp/display" ]; }
fi
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 200); do ready && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "FAIL: Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$tmp/display")" QT_QPA_PLATFORM=xcb
"$@"
