#!/bin/bash
# Runs a 64-bit Windows program under Wine; CTest's emulator for the win64 build.
# Uses $WINEPREFIX when set, otherwise a shared test prefix inside the build folder
# (build/wine/tests); either is made from the booted template when it does not exist yet,
# and kept as the Windows-side tests' cache. wine-common.sh sets
# the DLL overrides, so winemenubuilder never runs here either.
# The working directory is moved inside the prefix's drive C, so that paths such as
# "\x.bat" stay inside it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-common.sh"

export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine/tests}
if [ ! -d "$WINEPREFIX/drive_c" ]; then wine_fresh_prefix "$WINEPREFIX"; fi
program=$(realpath "$1")
shift
mkdir -p "$WINEPREFIX/drive_c/work"
cd "$WINEPREFIX/drive_c/work"
exec "$WINE64" "$program" "$@"
