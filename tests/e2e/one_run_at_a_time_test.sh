#!/bin/bash
# Runs that nobody can watch, as deployment tools start them:
# - four silent installs started together in one prefix: one installs (0), the others end
#   at once with 1618 (another installation is in progress) — or with 1638 (already
#   installed) when Wine started one only after the first had finished — and there is
#   one printer;
# - a silent Setup on a window station of its own, which is never visible (a service's or
#   a SYSTEM session's), refused for its Windows version (NT 4.0 here): it ends by itself
#   with 1603 instead of waiting for ever on a box nobody sees, and writes the box's text
#   to the run log; so does a silent uninstaller there that finds no install log beside
#   it. The same Setup run interactively there waits on that box until it is
#   ended, which shows that the station is one nobody can answer. This part has an X
#   server: without a display Wine's boxes return at once.
. "$(dirname "$0")/e2e-common.sh"
. "$ROOT/scripts/xvfb.sh"
e2e_start
make_medium
medium_names

# ---- four installs at once ----------------------------------------------------------------
for n in 1 2 3 4; do
    (cd "$PREFIX/drive_c/work" &&
        timeout "$WINE_TIMEOUT" "$WINE64" "$WINTOOL_EXE" run "$MEDIUM_WIN\\Setup.exe" /s \
            "/log=C:\\work\\run$n.log" >"$SCRATCH/run$n.out") &
done
wait
statuses=$(for n in 1 2 3 4; do tr -d '\r' <"$SCRATCH/run$n.out" | sed -n 's/^exit=//p'; done | sort | tr '\n' ' ')
one_install_the_rest_refused() {
    [[ "$statuses" =~ ^0\ (1618|1638)\ (1618|1638)\ (1618|1638)\ $ ]] && [[ "$statuses" == *1618* ]]
}
check "four installs at once: one 0, the others 1618 (or 1638 after it) (got $statuses)" one_install_the_rest_refused
refused=$(cat "$PREFIX"/drive_c/work/run?.log | grep -c 'run lock: another installation or removal is running')
check "each run that ended with 1618 says why in its run log" [ "$refused" = "$(grep -o 1618 <<<"$statuses" | wc -l)" ]
read_printer "$printer"
check "the printer is there once, on its port" [ "$PRINTER_STATUS" -eq 0 ] && [ "$(printer_field port)" = "$port" ]
check "the uninstall entry is there" key_exists 64 "$UNINSTALL_ROOT\\$product"

# ---- a refusal on an invisible window station ---------------------------------------------
wine_stop "$PREFIX"
wine_display_prefix "$PREFIX" || e2e_abort "the prefix cannot be set up for windows"
xvfb_start || e2e_abort "no X server"
trap 'wine_stop "$PREFIX"; xvfb_stop' EXIT
# The Windows version Wine reports to this program only.
in_wine reg add 'HKCU\Software\Wine\AppDefaults\Setup.exe' /v Version /d nt40 /f >/dev/null 2>&1
in_wine "$WINTOOL_EXE" runhidden 60000 "$MEDIUM_WIN\\Setup.exe" /s '/log=C:\work\hidden.log' >"$SCRATCH/hidden.out"
hidden=$(tr -d '\r' <"$SCRATCH/hidden.out" | sed -n 's/^exit=//p')
check "Setup /s on an invisible window station ends by itself with 1603 (got ${hidden:-none})" [ "$hidden" = 1603 ]
check "its run log holds the box's text" \
    grep -q "box not shown, no visible window station: $product does not support Windows95/NT." \
    "$PREFIX/drive_c/work/hidden.log"
in_wine "$WINTOOL_EXE" runhidden 5000 "$MEDIUM_WIN\\Setup.exe" >"$SCRATCH/hidden.out"
waited=$(tr -d '\r' <"$SCRATCH/hidden.out" | sed -n 's/^exit=//p')
check "the same Setup, interactive there, waits on its box until it is ended (got ${waited:-none})" \
    [ "$waited" = timeout ]
in_wine reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f >/dev/null 2>&1
# The uninstaller alone in a folder without an install log, silent, on the same station.
mkdir -p "$PREFIX/drive_c/work/lonely"
cp "$UNINSTALLER_EXE" "$PREFIX/drive_c/work/lonely/unInstpm64.exe"
in_wine "$WINTOOL_EXE" runhidden 60000 'C:\work\lonely\unInstpm64.exe' /uninstall /s '/log=C:\work\lonely.log' \
    >"$SCRATCH/lonely.out"
lonely=$(tr -d '\r' <"$SCRATCH/lonely.out" | sed -n 's/^exit=//p')
check "unInstpm64 /uninstall /s there ends by itself with 1603 (got ${lonely:-none})" [ "$lonely" = 1603 ]
check "its run log holds the box's text" grep -q "box not shown, no visible window station: " \
    "$PREFIX/drive_c/work/lonely.log"
wine_stop "$PREFIX"
xvfb_stop

e2e_finish
