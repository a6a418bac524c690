#!/bin/sh
# Takes the README's pictures of the windows again (doc/*.png): builds the small program
# that grabs them offscreen from a sample book, and runs it. Needs a configured build/ and
# fonts-noto-cjk.
set -eu

ROOT=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)
BUILD_DIR=${TRADEBOOK_BUILD_DIR:-$ROOT/build}

cmake --build "$BUILD_DIR" -j2 --target tradebook_screenshots
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
    "$BUILD_DIR/scripts/screenshots/tradebook_screenshots" "$ROOT/doc"
