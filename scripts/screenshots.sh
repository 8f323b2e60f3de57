#!/bin/bash
# Regenerates docs/screenshots/*.png from a real interactive installation under Wine: runs
# the end-to-end test e2e_interactive_install, which photographs every screen into
# build/win64/screens/ together with where the window is on it, and cuts each window out
# of its screen with a margin of the desktop around it. Needs the host and win64 builds
# (it builds them) and installs what it needs through ensure-tools.sh.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
MARGIN=12

bash scripts/ensure-tools.sh
for preset in host win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build "build/$preset" -j2
done
. scripts/wine-common.sh
(unset DISPLAY; wine_boot_template)
ctest --test-dir build/win64 -R '^e2e_interactive_install$' --output-on-failure

mkdir -p docs/screenshots
rm -f docs/screenshots/*.png
for shot in build/win64/screens/*.png; do
    name=$(basename "$shot" .png)
    read -r screen_width screen_height < <(identify -format '%w %h\n' "$shot")
    IFS='x+' read -r width height x y <"build/win64/screens/$name.geometry"
    left=$((x > MARGIN ? x - MARGIN : 0))
    top=$((y > MARGIN ? y - MARGIN : 0))
    right=$((x + width + MARGIN < screen_width ? x + width + MARGIN : screen_width))
    bottom=$((y + height + MARGIN < screen_height ? y + height + MARGIN : screen_height))
    convert "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage -strip \
        "docs/screenshots/$name.png"
    echo "docs/screenshots/$name.png"
done
