#!/bin/bash
# Draws the installer's icon (resources/setup/setup.ico): the printer of the
# uninstaller's icon with a green arrow going into it, at 48, 32 and 16 pixels.
# Drawn once at 96 pixels and scaled down, so that every size shows the same picture.
# Needs ImageMagick. Usage: draw-setup-icon.sh [OUT.ico]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$ROOT/resources/setup/setup.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 96x96 xc:none \
    -stroke '#3a3a3a' -strokewidth 4 \
    -fill white -draw 'rectangle 24,6 72,36' \
    -fill '#8f9aab' -draw 'rectangle 6,32 90,68' \
    -fill white -draw 'rectangle 22,56 74,92' \
    -stroke none -fill '#1f9d3a' \
    -draw 'rectangle 41,10 55,30' \
    -draw 'polygon 30,28 66,28 48,48' \
    -fill '#1f9d3a' -draw 'rectangle 32,70 64,78' \
    "$work/96.png"
for size in 48 32 16; do
    convert "$work/96.png" -filter Box -resize "${size}x${size}" "$work/$size.png"
done
convert "$work/48.png" "$work/32.png" "$work/16.png" "$out"
echo "icon written to $out"
