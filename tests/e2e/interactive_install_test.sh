#!/bin/bash
# A whole interactive installation of the sample medium in real windows, under an X
# server of the test's own, driven as a person would by wintool's window commands: the
# welcome question (Yes), the licence (Yes), the destination (OK), the progress window,
# the final message (OK) and the readme it opens. Each screen is read back and
# photographed into build/win64/screens/ (NAME.png, the whole screen, and NAME.geometry,
# where the window is on it), from which scripts/screenshots.sh makes the README's
# pictures. The machine must then have changed exactly as a silent installation of the
# same medium changes a second, identical machine.
. "$(dirname "$0")/e2e-common.sh"
. "$ROOT/scripts/xvfb.sh"
e2e_start
make_medium
medium_names

SCREENS=$(dirname "$(dirname "$SCRATCH")")/screens
rm -rf "$SCREENS"
mkdir -p "$SCREENS"
CAPTION="$product Setup"

command -v import >/dev/null || e2e_abort "ImageMagick's import is missing (scripts/ensure-tools.sh installs it)"
# Wine's fonts and one virtual desktop, as for the Windows-side dialog tests; and the
# association of .txt files with Notepad, which Windows has and Wine 8.0's prefix lacks,
# so that the readme opens as it would there.
wine_display_prefix "$PREFIX" || e2e_abort "the prefix cannot be set up for windows"
in_wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1 || e2e_abort "no .txt association"
snapshot before || e2e_abort "no snapshot before the installation"

# Wine's desktop process belongs to the display of the prefix's first program: the
# prefix starts again under the X server.
wine_stop "$PREFIX"
xvfb_start || e2e_abort "no X server"
trap 'wine_stop "$PREFIX"; xvfb_stop' EXIT

# drive COMMAND -- COMMAND ...: wintool's window commands in one start; DRIVEN holds what
# they printed. A step that fails ends the test: the windows after it would never come.
drive() {
    in_wine "$WINTOOL_EXE" "$@" >"$SCRATCH/drive.out" 2>"$SCRATCH/drive.err"
    local status=$?
    DRIVEN=$(tr -d '\r' <"$SCRATCH/drive.out")
    if [ "$status" -ne 0 ]; then
        fail "wintool $* (status $status): $(tr -d '\r' <"$SCRATCH/drive.err")"
        e2e_abort "the installation could not be driven on"
    fi
}
# photograph NAME: the whole screen, and where the window that the last drive waited for
# is on it (the first line drive printed: WxH+X+Y).
photograph() {
    import -window root "$SCREENS/$1.png" || fail "screenshot $1"
    head -n1 <<<"$DRIVEN" >"$SCREENS/$1.geometry"
}
# line N: the Nth line that the last drive printed.
line() { sed -n "${1}p" <<<"$DRIVEN"; }
windows_text() { tr -d '\r' <"$1"; }

in_wine "$WINTOOL_EXE" run "$MEDIUM_WIN\\Setup.exe" >"$SCRATCH/run.out" 2>&1 &
setup_run=$!
started=$SECONDS

# ---- welcome --------------------------------------------------------------------------
drive window "$CAPTION" 60000 -- text "$CAPTION" 65535
welcome="Welcome to the $product Setup program. This program will install $product on your computer."
check "the welcome question names the product" [ "$(line 2)" = "$welcome" ]
photograph 1-welcome
drive press "$CAPTION" 6 -- window "Software License Agreement" -- text "Software License Agreement" 1006 -- \
    text "Software License Agreement" 1000

# ---- licence --------------------------------------------------------------------------
question="Do you accept all the terms of the preceding License Agreement? If you choose No, Setup will close. To install $product, you must accept this agreement."
check "the licence dialog asks about the product" [ "$(line 2)" = "$question" ]
check "the licence dialog shows the medium's LICENSE.TXT whole" \
    [ "$(tail -n +3 <<<"$DRIVEN")" = "$(windows_text "$MEDIUM/LICENSE.TXT")" ]
photograph 2-licence
drive press "Software License Agreement" 1 -- window "Choose Destination Location" -- \
    text "Choose Destination Location" 1001

# ---- destination ------------------------------------------------------------------------
check "the destination proposed is the Program Files folder and the medium's subfolder" \
    [ "$(line 2)" = "$DESTINATION_WIN" ]
photograph 3-destination

# ---- progress ----------------------------------------------------------------------------
# Up for a second or two: found, read and held in the same start of wintool as the OK that
# opens it, then photographed while its program is held, and let go.
drive press "Choose Destination Location" 1 -- window "Pagemill Setup" -- text "Pagemill Setup" 1005 -- \
    progress "Pagemill Setup" 1003 1 -- hold "Pagemill Setup"
check "the progress window says \"Setup is preparing...\"" [ "$(line 2)" = "Setup is preparing..." ]
check "the progress bar counts to 10 (at $(line 3))" grep -q '^[1-9]/10$' <<<"$(line 3)"
photograph 4-progress
drive release "Pagemill Setup"

# ---- the end ---------------------------------------------------------------------------
drive window "$CAPTION" 120000 -- text "$CAPTION" 65535
finished="Setup has finished installing $product on your computer. Please restart your system. "
check "the final message says the installation has finished" [ "$(line 2)" = "$finished" ]
window_gone() { ! in_wine "$WINTOOL_EXE" window "$1" 0 >/dev/null 2>&1; }
check "the progress window has closed before it" window_gone "Pagemill Setup"
photograph 5-finished
drive press "$CAPTION" 1 -- window "README.TXT - Notepad" 60000
photograph 6-readme
drive close "README.TXT - Notepad"

wait "$setup_run"
EXIT_CODE=$(tr -d '\r' <"$SCRATCH/run.out" | sed -n 's/^exit=//p')
echo "the interactive installation took $((SECONDS - started)) s with its driving and photographs"
check_completed_silent_install "Setup.exe without switches"
snapshot interactive || fail "no snapshot after the installation"
xvfb_stop
wine_stop "$PREFIX"

# ---- the same medium, installed silently on a second machine ------------------------------
first_changes=$(snapshot_diff before interactive)
PREFIX=$SCRATCH/silent-prefix
MEDIUM=$PREFIX/drive_c/medium
export WINEPREFIX=$PREFIX
wine_fresh_prefix "$PREFIX" || e2e_abort "no second Wine prefix"
mkdir -p "$PREFIX/drive_c/work"
make_medium
snapshot silent-before || fail "no snapshot before the silent installation"
run_setup /s
check "the silent installation exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
snapshot silent || fail "no snapshot after the silent installation"
same_changes() {
    local silent_changes
    silent_changes=$(snapshot_diff silent-before silent)
    [ "$first_changes" = "$silent_changes" ] && return 0
    diff <(printf '%s\n' "$first_changes") <(printf '%s\n' "$silent_changes") | sed 's/^/  /'
    return 1
}
check "the interactive installation changed the machine exactly as the silent one" same_changes
whole_installation() {
    grep -q "^+printer $printer |" <<<"$first_changes" &&
        grep -qxF "+registry 64 HKLM\\$PRODUCT_KEY\\$port" <<<"$first_changes" &&
        grep -qxF "+registry 64 HKLM\\$UNINSTALL_ROOT\\$product" <<<"$first_changes"
}
check "... which is a whole installation: the printer, the port key and the uninstall entry" whole_installation

e2e_finish
