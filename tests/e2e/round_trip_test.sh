#!/bin/bash
# Install and uninstall, silently, and compare the machine with what it was: the last
# snapshot differs from the first by exactly the documented residue. Two media: the
# sample, and a programmatic-access build with extension components, the medium's own
# Ghostscript, the professional edition's setting and a destination two levels below
# Program Files. On the same machine afterwards: a new installation succeeds; the
# uninstaller alone in a folder without the install log removes nothing; a printer
# deleted by hand before the uninstallation lets everything else go.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
clean_prefix=$SCRATCH/clean
cp -a "$PREFIX" "$clean_prefix"

# uninstall_as_registered: runs the uninstall entry's command with " /s" and waits until
# the self-removal batch has deleted itself. Sets EXIT_CODE.
uninstall_as_registered() {
    read_key 64 "$UNINSTALL_ROOT\\$product"
    local command program
    command=$(printf '%s\n' "$KEY_VALUES" | awk -F'|' '$1 == "UninstallString" { print $3 }')
    program=${command#\"}
    program=${program%%\"*}
    # The command is the quoted program and "/uninstall"; " /s" makes it silent.
    run_windows "$program" ${command##*\" } /s
    for _ in $(seq 100); do
        batches_left || return 0
        sleep 0.2
    done
}
# batches_left: a self-removal batch is still in a temporary folder.
batches_left() {
    compgen -G "$PREFIX/drive_c/users/*/Temp/DelUnist-*.bat" >/dev/null ||
        compgen -G "$PREFIX/drive_c/users/*/AppData/Local/Temp/DelUnist-*.bat" >/dev/null
}
no_batch_left() { ! batches_left; }

# residue_only BEFORE AFTER ALLOWED_REGEX...: every line that differs between the two
# snapshots is new and matches one of the patterns; every pattern matches a line.
residue_only() {
    local before=$1 after=$2
    shift 2
    local diff_lines line pattern unexpected=0
    diff_lines=$(snapshot_diff "$before" "$after")
    while IFS= read -r line; do
        [ -n "$line" ] || continue
        local allowed=no
        if [ "${line:0:1}" = "+" ]; then
            for pattern in "$@"; do
                if grep -q -E -- "$pattern" <<<"${line:1}"; then allowed=yes; break; fi
            done
        fi
        [ "$allowed" = yes ] || { echo "  not documented residue: $line"; unexpected=1; }
    done <<<"$diff_lines"
    for pattern in "$@"; do
        sed 's/^[-+]//' <<<"$diff_lines" | grep -q -E -- "$pattern" || { echo "  missing residue: $pattern"; unexpected=1; }
    done
    return $unexpected
}

# Every residue: the empty product key, and the printer driver's files in the driver's
# version folder, which Wine keeps (it refuses DeletePrinterDriverEx, and its
# DeletePrinterDriver leaves the files); the copies Setup staged in the driver folder's
# root go.
PRODUCT_KEY_LINE='^registry 64 HKLM\\SOFTWARE\\NIMBRAX Writer$'
DRIVER_FILES='^file C:\\windows\\system32\\spool\\drivers\\x64\\3\\(NIMBRAXW\.PPD|PSCRIPT5\.DLL|PS5UI\.DLL|PSCRIPT\.HLP|PSCRIPT\.NTF) \|'

round_trip() {
    local name=$1
    snapshot "$name-before"
    run_setup /s
    check "$name: Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
    snapshot "$name-installed"
    uninstall_as_registered
    check "$name: the uninstall entry's command with /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
    check "$name: the self-removal batch is gone" no_batch_left
    in_wine wineboot -r >/dev/null 2>&1
    wine_stop "$PREFIX"
    snapshot "$name-after"
}

# ---- the sample medium -------------------------------------------------------------------
make_medium
medium_names
round_trip sample
check "sample: the machine is as before but for the documented residue" \
    residue_only sample-before sample-after "$PRODUCT_KEY_LINE" \
    "^file C:\\\\ProgramData\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs\\\\Brindle\\\\$" "$DRIVER_FILES"

run_setup /s '/log=C:\setup run.log'
check "after the uninstallation Setup.exe /s installs again (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
# run_log_ends_with FILE LINE: the run log's last line, after its time, is LINE.
run_log_ends_with() {
    local last
    last=$(tr -d '\r' <"$1" 2>/dev/null | tail -n 1 | cut -c21-)
    [ "$last" = "$2" ] || { echo "  last line: ${last:-none}"; return 1; }
}
check "its run log ends with the exit status" run_log_ends_with "$PREFIX/drive_c/setup run.log" "exit status 0"
check "its run log names the steps" grep -q "step 24 uninstall entry: done" "$PREFIX/drive_c/setup run.log"

# The uninstaller alone, in a folder without Setup.inf: nothing goes.
snapshot alone-before
mkdir -p "$PREFIX/drive_c/alone"
cp "$DESTINATION/unInstpm64.exe" "$PREFIX/drive_c/alone/"
run_windows 'C:\alone\unInstpm64.exe' /uninstall /s
check "the uninstaller without setup.inf beside it exits 1603 (got $EXIT_CODE)" [ "$EXIT_CODE" = 1603 ]
snapshot alone-after
check "and removes nothing" [ -z "$(snapshot_diff alone-before alone-after)" ]

# A printer deleted by hand: everything else still goes.
in_wine "$WINTOOL_EXE" delprinter "$printer"
uninstall_as_registered
check "with the printer deleted by hand the uninstallation exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
in_wine wineboot -r >/dev/null 2>&1
wine_stop "$PREFIX"
snapshot manual-after
check "and leaves the documented residue" \
    residue_only sample-before manual-after "$PRODUCT_KEY_LINE" \
    "^file C:\\\\ProgramData\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs\\\\Brindle\\\\$" "$DRIVER_FILES"

# ---- a programmatic-access build with everything -------------------------------------------
wine_stop "$PREFIX"
rm -rf "$PREFIX"
cp -a "$clean_prefix" "$PREFIX"
bash "$ROOT/scripts/make-medium.sh" "$MEDIUM" --setup "$SETUP_EXE" --uninstaller "$UNINSTALLER_EXE" \
    --installlog "$INSTALLLOG_TOOL" --monitor "$(dirname "$UNINSTALLER_EXE")/nimbmon64.dll" --ghostscript >/dev/null
medium_with_log ProgrammaticAccess=1 ExtensionComponents=1 'DestinationSubfolder=Brindle\\Quillet Writer'
printf '%s\r\n' '[Parameters]' 'GNUGS=1' '[Preferences]' 'Quillet_Pro=1' \
    '[Installation]' 'DisplayVersion=5.1.2' 'Publisher=Brindle Software' >"$MEDIUM/Setup.Ini"
medium_names
round_trip full
# entry_shows VALUE...: the installed machine's uninstall entry holds each "name | type".
entry_shows() {
    local name entry="registry 64 HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
    for name in "$@"; do
        grep -q -F -- "$entry | $name |" "$SCRATCH/full-installed.snapshot" || { echo "  no $name"; return 1; }
    done
}
check "full: the uninstall entry shows every value" entry_shows "DisplayName | REG_SZ" "UninstallString | REG_SZ" \
    "DisplayIcon | REG_SZ" "InstallLocation | REG_SZ" "QuietUninstallString | REG_SZ" "NoModify | REG_DWORD" \
    "NoRepair | REG_DWORD" "EstimatedSize | REG_DWORD" "DisplayVersion | REG_SZ" "Publisher | REG_SZ"
check "full: the Ghostscript folder and the COM server were installed" \
    grep -q -E -e 'GNUGS\\GSDLL32\.DLL' -e 'QLWFtp\.dll' "$SCRATCH/full-installed.snapshot"
check "full: the machine is as before but for the documented residue" \
    residue_only full-before full-after "$PRODUCT_KEY_LINE" \
    '^registry 64 HKLM\\SOFTWARE\\Brindle Software Inc(\\Quillet Writer)?$' \
    '^file C:\\Program Files\\Brindle\\$' \
    '^file C:\\Program Files\\Brindle\\Quillet Writer\\(QLWFtp\.dll \| [0-9]+)?$' \
    "^file C:\\\\ProgramData\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs\\\\Brindle\\\\$" "$DRIVER_FILES"

rm -rf "$clean_prefix"
e2e_finish
