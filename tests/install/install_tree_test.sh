#!/usr/bin/env bash
# Installs the build into PREFIX (emptied first) and checks what lands where.
#   install_tree_test.sh BUILD-FOLDER SOURCE-FOLDER PREFIX
set -euo pipefail
build="$1" source="$2" prefix="$3"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

command -v desktop-file-validate >/dev/null || { echo "SKIP: desktop-file-validate is missing (scripts/deps.sh installs desktop-file-utils)"; exit 77; }

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/velmo" ] || fail "bin/velmo is not an executable launcher"
head -n1 "$prefix/bin/velmo" | grep -q '^#!' || fail "bin/velmo is not a script"
[ -x "$prefix/libexec/velmo/velmo" ] || fail "the player is not in libexec/velmo"
file_type="$(head -c4 "$prefix/libexec/velmo/velmo" | od -An -c | tr -d ' ')"
[ "$file_type" = "177ELF" ] || fail "libexec/velmo/velmo is not the program ($file_type)"

diff -r "$source/skin/default" "$prefix/share/velmo/skin/default" >/dev/null || fail "the installed skin differs from skin/default"
cmp -s "$source/resources/velmo_init.ini" "$prefix/share/velmo/velmo_init.ini" || fail "the first-run settings differ"

for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/velmo.png"
    if [ ! -f "$png" ]; then fail "no ${size}px icon"; continue; fi
    measured="$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$png")"
    [ "$measured" = "${size}x${size}" ] || fail "the ${size}px icon is $measured"
done

entry="$prefix/share/applications/velmo.desktop"
if [ -f "$entry" ]; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refused the entry"
    value() { sed -n "s/^$1=//p" "$entry"; }
    [ "$(value Exec)" = "$prefix/bin/velmo %U" ] || fail "Exec is '$(value Exec)'"
    [ "$(value 'Name\[ko\]')" = "벨모" ] || fail "Name[ko] is '$(value 'Name\[ko\]')'"
    [ "$(value Icon)" = "velmo" ] || fail "Icon is '$(value Icon)'"
    mimes=";$(value MimeType)"
    for type in application/x-sami video/x-matroska video/mp4 video/x-msvideo audio/mpeg; do
        [[ "$mimes" == *";$type;"* ]] || fail "MimeType lacks $type"
    done
else
    fail "no share/applications/velmo.desktop"
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed tree in $prefix is complete"
