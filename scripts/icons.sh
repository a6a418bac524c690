#!/bin/sh
# Renders the application's icon (packaging/icons/tradebook.svg) into the PNG sizes that
# the desktop's icon theme looks for, beside it. The PNGs are committed, so the build never
# needs this script; run it after changing the drawing. Needs rsvg-convert (librsvg2-bin).
set -eu

ICONS=$(CDPATH= cd -- "$(dirname -- "$0")/../packaging/icons" && pwd)
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$ICONS/tradebook.svg" -o "$ICONS/${size}x${size}.png"
done
