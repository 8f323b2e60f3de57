#!/bin/bash
# Runs a 64-bit Windows program under Wine with a private X server (xvfb.sh), for the
# Windows-side tests that show real windows; CTest runs them through it. The program runs
# in a Wine prefix of its own (build/wine/display-tests unless WINEPREFIX is set), so
# that Wine's desktop process of that prefix belongs to this server; the prefix's
# programs and the server end with the run. The program's status is kept.
# Usage: wine-run-xvfb.sh PROGRAM [ARGS...]
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-common.sh"
. "$ROOT/scripts/xvfb.sh"
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine/display-tests}
if [ ! -f "$WINEPREFIX/.display-ready" ]; then
    wine_fresh_prefix "$WINEPREFIX" && (unset DISPLAY; wine_display_prefix "$WINEPREFIX") && wine_stop "$WINEPREFIX" &&
        touch "$WINEPREFIX/.display-ready" || { echo "wine-run-xvfb.sh: no Wine prefix for windows" >&2; exit 1; }
fi
xvfb_start || exit 1
trap 'wine_stop "$WINEPREFIX"; xvfb_stop' EXIT
bash "$ROOT/scripts/wine-run.sh" "$@"
