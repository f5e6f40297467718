#!/usr/bin/env bash
# The installed player, started by its launcher from another folder:
# once with a relative path, once with the file:// URI a file manager passes for
# a Korean file name with a space. Each time the clip must reach playing (the
# pipeline says so and the player holds that file open) with the player working
# in the per-user folder; the second start keeps the user's settings.
# Run it on an X server of its own (tests/support/under_xvfb.sh).
#   installed_player_test.sh PREFIX SOURCE-FOLDER BUILD-FOLDER
set -euo pipefail
prefix="$1" source="$2" build="$3"
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server: run it through tests/support/under_xvfb.sh"; exit 1; }

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
trap cleanup EXIT

# waits_for SECONDS COMMAND...: polls the condition every 100 ms, up to SECONDS.
waits_for() {
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The 2 s test clip, under a Korean name with a space, away from the working folder.
flock "$build/fixtures.lock" bash "$source/tests/fixtures/make_fixtures.sh" "$build/fixtures" >/dev/null
mkdir -p "$tmp/media" "$tmp/elsewhere"
clip="$tmp/media/한글 영화.mkv"
cp "$build/fixtures/clip.mkv" "$clip"

export XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$tmp/runtime"
mine="$XDG_DATA_HOME/velmo"

holds_clip() {
    local fd
    for fd in /proc/"$player"/fd/*; do
        [ "$(readlink "$fd" 2>/dev/null)" = "$clip" ] && return 0
    done
    return 1
}
playing() { grep -q "<playbin[0-9]*> completed state change to PLAYING" "$tmp/gst.log" 2>/dev/null && holds_clip; }
# Playing, or given up: the player has ended or logged that the open failed.
settled() { playing || ! kill -0 "$player" 2>/dev/null || grep -q "cannot open" "$tmp/player.log"; }

# play LABEL ARGUMENT: starts the launcher from $tmp/elsewhere and waits for the clip to play.
play() {
    local label="$1" argument="$2"
    rm -f "$tmp/gst.log"
    cd "$tmp/elsewhere"
    GST_DEBUG=GST_STATES:4 GST_DEBUG_FILE="$tmp/gst.log" GST_DEBUG_NO_COLOR=1 \
        "$prefix/bin/velmo" "$argument" >"$tmp/player.log" 2>&1 &
    player=$!
    cd - >/dev/null
    if ! waits_for 30 settled || ! playing; then
        echo "FAIL: $label: the clip did not play"
        kill -0 "$player" 2>/dev/null || echo "  (the player ended)"
        cat "$tmp/player.log"
        exit 1
    fi
    [ "$(readlink /proc/"$player"/cwd)" = "$mine" ] || { echo "FAIL: $label: the player works in $(readlink /proc/"$player"/cwd)"; exit 1; }
    [ -f "$mine/velmo_init.ini" ] || { echo "FAIL: $label: no settings file in $mine"; exit 1; }
    [ -f "$mine/skin/default/skin.ini" ] || { echo "FAIL: $label: no skin in $mine"; exit 1; }
    kill "$player"
    wait "$player" 2>/dev/null || true
    player=""
    echo "$label: played"
}

play "relative path" "../media/한글 영화.mkv"
cmp -s "$prefix/share/velmo/velmo_init.ini" "$mine/velmo_init.ini" || { echo "FAIL: the first start's settings are not the installed ones"; exit 1; }

# The user's own settings survive the next start.
printf '[Subtitle]\nSize=33\n' > "$mine/velmo_init.ini"
uri="file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$clip")"
[[ "$uri" == *%20* && "$uri" == *%ED%95%9C* ]] || { echo "FAIL: the URI $uri is not escaped"; exit 1; }
play "file URI" "$uri"
[ "$(cat "$mine/velmo_init.ini")" = $'[Subtitle]\nSize=33' ] || { echo "FAIL: the second start overwrote the settings"; exit 1; }
