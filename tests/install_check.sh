#!/bin/sh
# Installs the build into a temporary prefix, as `cmake --install` does for a user, and
# checks what a desktop looks for there: the executable, the menu entry, the icon in every
# size and the software centre's metadata, with the entry and the metadata passing their
# validators (desktop-file-utils, appstream).
# Usage: install_check.sh BUILD_DIR
set -eu

BUILD=$1
ID=tw.tradebook.Tradebook
PREFIX=$(mktemp -d)
trap 'rm -rf "$PREFIX"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null

ICONS=share/icons/hicolor
for file in bin/tradebook share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml \
        $ICONS/scalable/apps/$ID.svg; do
    [ -f "$PREFIX/$file" ] || fail "not installed: $file"
done
for size in 16 24 32 48 64 128 256; do
    png=$PREFIX/$ICONS/${size}x${size}/apps/$ID.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    # The PNG header holds the width and height as 32-bit numbers at bytes 16 and 20.
    measured=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$measured" = "${size}x${size}" ] || fail "icon ${size}x${size} is $measured"
done
[ -x "$PREFIX/bin/tradebook" ] || fail "bin/tradebook is not executable"

entry=$PREFIX/share/applications/$ID.desktop
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
grep -qx 'Name\[zh_TW\]=進銷存管理系統' "$entry" || fail "no Traditional Chinese name"
grep -qx 'Name=Tradebook' "$entry" || fail "no name for other languages"
grep -qx 'Categories=Office;Finance;' "$entry" || fail "categories"
grep -qx "Icon=$ID" "$entry" || fail "the entry names another icon"
grep -qx 'Exec=tradebook' "$entry" || fail "the entry runs another program"

meta=$PREFIX/share/metainfo/$ID.metainfo.xml
out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate: $out"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$meta" \
    || fail "the metadata names another desktop entry"
# What software centres show beside the name (the validator asks for some only as hints).
for element in '<summary>' '<description>' '<screenshot type="default">' '<content_rating' \
        '<project_license>'; do
    grep -q "$element" "$meta" || fail "the metadata has no $element"
done
echo "installed and valid"
