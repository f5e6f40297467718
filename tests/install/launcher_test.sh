#!/usr/bin/env bash
# The installed launcher, with the player replaced by a stand-in that records
# its working folder and arguments: what the player is handed for each kind
# of argument, and how the per-user folder is prepared.
#   launcher_test.sh PREFIX
set -euo pipefail
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
# A copy of the install, so the stand-in does not touch the shared one (and
# the launcher is shown to work wherever its tree is moved).
cp -a "$1" "$tmp/prefix"
prefix="$tmp/prefix"
cat > "$prefix/libexec/velmo/velmo" <<'STUB'
#!/bin/sh
{ pwd; for a in "$@"; do printf '%s\n' "$a"; done; } > "$STUB_RECORD"
STUB
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mkdir -p "$tmp/home" "$tmp/work/sub"
export STUB_RECORD="$tmp/record"

# run [VAR=value...] -- ARG...: runs the launcher from $tmp/work.
run() {
    local env=()
    while [ "$1" != "--" ]; do env+=("$1"); shift; done
    shift
    rm -f "$STUB_RECORD"
    (cd "$tmp/work" && env -u XDG_DATA_HOME HOME="$tmp/home" "${env[@]}" "$prefix/bin/velmo" "$@")
}

# Arguments: what is typed or passed by a file manager, and what the player gets.
check_argument() {
    local expected="$1"; shift
    run -- "$@"
    local got
    got="$(sed -n 2p "$STUB_RECORD")"
    [ "$got" = "$expected" ] || fail "velmo $* handed '$got', expected '$expected'"
    [ "$(wc -l < "$STUB_RECORD")" -le 2 ] || fail "velmo $* handed more than one argument"
}
check_argument "$tmp/work/film.mkv" film.mkv
check_argument "$tmp/work/sub/a b.avi" "./sub/a b.avi"
check_argument "$tmp/work/../up.mp4" ../up.mp4
check_argument "/abs/x.mp4" /abs/x.mp4
check_argument "http://host/a%20b.mp4?x=1" "http://host/a%20b.mp4?x=1"
check_argument "rtsp://camera:554/stream" "rtsp://camera:554/stream"
check_argument "/tmp/한글 영화.mkv" "file:///tmp/%ED%95%9C%EA%B8%80%20%EC%98%81%ED%99%94.mkv"
check_argument "/tmp/plain.mkv" "file:///tmp/plain.mkv"
check_argument "/tmp/a\\b%c.mkv" "file://localhost/tmp/a%5Cb%25c.mkv"
check_argument "file://otherhost/share/x.mkv" "file://otherhost/share/x.mkv"
check_argument "$tmp/work/first.mkv" first.mkv second.mkv
run --
[ "$(wc -l < "$STUB_RECORD")" -eq 1 ] || fail "velmo without arguments handed some"

# The per-user folder: its place, and the player's working folder.
default_home="$tmp/home/.local/share/velmo"
run -- film.mkv
[ "$(head -n1 "$STUB_RECORD")" = "$default_home" ] || fail "without XDG_DATA_HOME the player ran in $(head -n1 "$STUB_RECORD")"
run XDG_DATA_HOME="$tmp/xdg" -- film.mkv
[ "$(head -n1 "$STUB_RECORD")" = "$tmp/xdg/velmo" ] || fail "with XDG_DATA_HOME the player ran in $(head -n1 "$STUB_RECORD")"
run XDG_DATA_HOME="relative/data" -- film.mkv
[ "$(head -n1 "$STUB_RECORD")" = "$default_home" ] || fail "a relative XDG_DATA_HOME was not ignored"

# First run: the skin and the settings as installed.
mine="$tmp/xdg/velmo"
diff -r "$prefix/share/velmo/skin/default" "$mine/skin/default" >/dev/null || fail "the first run's skin differs from the installed one"
cmp -s "$prefix/share/velmo/velmo_init.ini" "$mine/velmo_init.ini" || fail "the first run's settings differ from the installed ones"

# Later runs keep what the user changed and bring back what is missing.
echo "; mine" >> "$mine/skin/default/skin.ini"
printf '[Subtitle]\nSize=40\n' > "$mine/velmo_init.ini"
rm "$mine/skin/default/close.bmp"
run XDG_DATA_HOME="$tmp/xdg" -- film.mkv
tail -n1 "$mine/skin/default/skin.ini" | grep -qx "; mine" || fail "the user's skin.ini was overwritten"
[ "$(cat "$mine/velmo_init.ini")" = $'[Subtitle]\nSize=40' ] || fail "the user's settings were overwritten"
cmp -s "$prefix/share/velmo/skin/default/close.bmp" "$mine/skin/default/close.bmp" || fail "a missing skin file was not restored"

[ "$failures" -eq 0 ] || exit 1
echo "launcher: all cases passed"
