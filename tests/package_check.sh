#!/bin/sh
# Builds the Debian package of the build (cpack -G DEB) into a temporary folder and checks
# it: its name carries the project's version, it depends on runtime packages only (no -dev
# package, no compiler or build tool), it holds the executable, the menu entry, the icons
# and the metadata, and it has no maintainer scripts (removing it cannot touch the books in
# the users' homes).
# Usage: package_check.sh BUILD_DIR VERSION
set -eu

BUILD=$1
VERSION=$2
ID=tw.tradebook.Tradebook
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$OUT" >"$OUT/cpack.log" 2>&1 \
    || { cat "$OUT/cpack.log" >&2; fail "cpack -G DEB"; }
DEB=$OUT/tradebook_${VERSION}_$(dpkg --print-architecture).deb
[ -f "$DEB" ] || fail "no $(basename "$DEB"); cpack made: $(ls "$OUT")"

[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "package version"
depends=$(dpkg-deb -f "$DEB" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
echo "Depends: $(echo $depends)"
for name in $depends; do
    case "$name" in
        *-dev|gcc*|g++*|cpp*|clang*|cmake*|ninja-build|build-essential|make|qt6-base-dev*)
            fail "depends on a build package: $name" ;;
    esac
done
for name in libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6printsupport6 \
        libqt6sql6-sqlite libqt6sql6-psql fonts-noto-cjk libc6 libstdc++6; do
    echo "$depends" | grep -qx "$name" || fail "does not depend on $name"
done

files=$(dpkg-deb -c "$DEB" | awk '{print $NF}')
for file in ./usr/bin/tradebook ./usr/share/applications/$ID.desktop \
        ./usr/share/metainfo/$ID.metainfo.xml \
        ./usr/share/icons/hicolor/scalable/apps/$ID.svg \
        ./usr/share/icons/hicolor/48x48/apps/$ID.png \
        ./usr/share/icons/hicolor/256x256/apps/$ID.png; do
    echo "$files" | grep -qx "$file" || fail "the package lacks $file"
done
echo "$files" | grep -v '^\./usr/' | grep -qv '^\./$' && fail "files outside /usr"

mkdir "$OUT/control"
dpkg-deb -e "$DEB" "$OUT/control"
for script in preinst postinst prerm postrm config; do
    [ ! -e "$OUT/control/$script" ] || fail "the package has a $script script"
done
echo "package ok: $(basename "$DEB")"
