#!/bin/bash
# Setup.exe and unInstpm64.exe run with administrator rights, often from a downloads
# folder: a DLL planted beside them, named like one they load, must never be loaded.
# Copies of a DLL that records being loaded are put beside Setup.exe and the copy
# helper on the medium, and beside the installed uninstaller, under the name of every
# DLL the programs import or load at run time; then a silent installation and a
# silent uninstallation run. Wine prefers its own built-in DLLs, so for the DLLs that
# Windows does not protect (not KnownDLLs) Wine is told to prefer a native copy and so
# looks for it as Windows does, beside the program first; a control run of a program
# that imports the spooler's DLL shows that such a copy is then taken.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
medium_names
PLANTED=$(dirname "$UNINSTALLER_EXE")/planted.dll
OBJDUMP=x86_64-w64-mingw32-objdump

# The DLLs Windows always loads from the system folder, whatever lies beside a program.
KNOWN_DLLS=" advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll "
# Loaded at run time by the programs, from the system folder only. (The common controls
# are loaded only by the interactive run; and with Setup's manifest asking for Common
# Controls 6, Windows XP and later, and Wine, take them from the side-by-side store even
# when imported. Windows 2000 and 98/Me have no such store: the import check keeps them
# out of the import table.)
RUNTIME_DLLS="winspool.drv comctl32.dll"

dll_names() {
    { "$OBJDUMP" -p "$SETUP_EXE"; "$OBJDUMP" -p "$UNINSTALLER_EXE"; } |
        sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r' | tr 'A-Z' 'a-z'
    printf '%s\n' $RUNTIME_DLLS
}
NAMES=$(dll_names | sort -u)
overrides=""
for name in $NAMES; do
    case "$KNOWN_DLLS" in *" $name "*) ;; *) overrides="$overrides;$name=n,b" ;; esac
done
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES$overrides"

# plant FOLDER: a copy of the recording DLL under every name, in FOLDER.
plant() {
    local name
    for name in $NAMES; do cp "$PLANTED" "$1/$name"; done
}
# nothing_loaded FOLDER: no copy in FOLDER recorded a load.
nothing_loaded() {
    local loaded
    loaded=$(cd "$1" && ls -1 -- *.loaded 2>/dev/null)
    [ -z "$loaded" ] || { echo "  loaded: $loaded"; return 1; }
}

check "the DLL names to plant include the spooler's and the system's ($(tr '\n' ' ' <<<"$NAMES"))" \
    grep -q -x -e winspool.drv -e kernel32.dll <<<"$NAMES"

# The control: a program that imports winspool.drv does take the planted copy.
mkdir -p "$PREFIX/drive_c/control"
cp "$WINTOOL_EXE" "$PREFIX/drive_c/control/wintool.exe"
plant "$PREFIX/drive_c/control"
in_wine 'C:\control\wintool.exe' monitors >/dev/null 2>&1
# The marker carries the name the loader used, in its letter case.
check "control: a program importing the spooler's DLL takes the copy beside it" \
    bash -c "ls '$PREFIX/drive_c/control' | grep -q -i -x 'winspool.drv.loaded'"

plant "$MEDIUM"
run_setup /s
check "Setup.exe /s beside planted DLLs exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "no DLL beside Setup.exe or the copy helper was loaded" nothing_loaded "$MEDIUM"
check "the printer is installed all the same" spooler_lists monitors "NIMBRAX Writer Monitor x86"

plant "$DESTINATION"
run_windows "$DESTINATION_WIN\\unInstpm64.exe" /uninstall /s
check "unInstpm64.exe /uninstall /s beside planted DLLs exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "no DLL beside the uninstaller was loaded" nothing_loaded "$DESTINATION"
monitor_gone() { ! spooler_lists monitors "NIMBRAX Writer Monitor x86"; }
check "the uninstaller removed the printer's monitor" monitor_gone

e2e_finish
