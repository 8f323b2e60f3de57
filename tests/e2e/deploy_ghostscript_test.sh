#!/bin/bash
# Ghostscript from the medium with "GNUGS=1" in Setup.Ini, in three silent runs on one
# machine: a "GSDLL32.DLL" of the wrong size ends the run with 108; the right size gets
# the "GNUGS" folder deployed flat and "Converter" written; with a "converter.exe" on the
# medium the converter is started with " /auto" instead and the folder is not copied.
# The run that ends with 108 stops after the product key was written and before its
# transient values are cleared: they are looked at there, with their stored sizes.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
CONVERTER_EXE=$(dirname "$WINTOOL_EXE")/converter.exe
[ -f "$CONVERTER_EXE" ] || e2e_abort "$CONVERTER_EXE is missing (build the win64 preset first)"
bash "$ROOT/scripts/make-medium.sh" "$MEDIUM" --setup "$SETUP_EXE" --uninstaller "$UNINSTALLER_EXE" \
    --installlog "$INSTALLLOG_TOOL" --monitor "$(dirname "$UNINSTALLER_EXE")/nimbmon64.dll" \
    --ghostscript >/dev/null
printf '%s\r\n' '[Parameters]' 'GNUGS=1' 'Command=C:\Tools\after-print.exe' 'Arguments=/quiet "%1"' \
    >"$MEDIUM/Setup.Ini"

medium_names

# ---- the wrong size -----------------------------------------------------------------
check "the medium's GSDLL32.DLL has the accepted size" \
    [ "$(stat -c %s "$MEDIUM/GNUGS/GSDLL32.DLL")" = 3510272 ]
cp "$MEDIUM/GNUGS/GSDLL32.DLL" "$SCRATCH/GSDLL32.DLL"
head -c 3510271 "$SCRATCH/GSDLL32.DLL" >"$MEDIUM/GNUGS/GSDLL32.DLL"
run_setup /s
check "one byte short: Setup.exe /s ends with 108 (got $EXIT_CODE)" [ "$EXIT_CODE" = 108 ]
check "nothing of GNUGS deployed" [ ! -e "$DESTINATION/GNUGS" ]
check "the product key is left with its transient values" key_exists 64 "$PRODUCT_KEY"
check "product key: Port Name" value_is "Port Name" REG_SZ "$port"
check "product key: Printer Name" value_is "Printer Name" REG_SZ "$printer"
check "product key: Destination Folder" value_is "Destination Folder" REG_SZ "$DESTINATION_WIN"
check "product key: Command" value_is Command REG_SZ 'C:\Tools\after-print.exe'
check "product key: Arguments" value_is Arguments REG_SZ '/quiet "%1"'
check "product key: Programmatic Access is a number of 4 bytes" \
    grep -q -x -F 'Programmatic Access|REG_DWORD|0|4' <<<"$KEY_VALUES"
check "product key: every text is stored with its NUL" texts_stored_with_nul
cp "$SCRATCH/GSDLL32.DLL" "$MEDIUM/GNUGS/GSDLL32.DLL"

# ---- the medium's copy --------------------------------------------------------------
run_setup /s
check "Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "the completed run cleared the transient values" no_transient_values 64
gnugs_deployed_flat() {
    local found
    found=$(ls -A "$DESTINATION/GNUGS" 2>/dev/null | sort | tr '\n' ' ')
    if [ "$found" != "GSDLL32.DLL gsdll32.lib gswin32c.exe " ]; then
        echo "  found in GNUGS: ${found:-nothing}"
        return 1
    fi
}
check "GNUGS holds the medium folder's files and not its subfolder" gnugs_deployed_flat
check "GSDLL32.DLL arrived whole" cmp -s "$MEDIUM/GNUGS/GSDLL32.DLL" "$DESTINATION/GNUGS/GSDLL32.DLL"
check "the port key exists" key_exists 64 "$PRODUCT_KEY\\$port"
check "port key: Converter names the deployed folder" value_is Converter REG_SZ "$DESTINATION_WIN\\GNUGS"
check "port key: every text is stored with its NUL" texts_stored_with_nul

# ---- the converter program ----------------------------------------------------------
# Uninstalled as far as the installer can tell: no entry, no port key, no folder.
in_wine "$WINTOOL_EXE" rmkey 64 "$UNINSTALL_ROOT\\$product"
in_wine "$WINTOOL_EXE" rmkey 64 "$PRODUCT_KEY\\$port"
check "the port key is gone before the third run" key_missing 64 "$PRODUCT_KEY\\$port"
rm -rf "$DESTINATION/GNUGS"
cp "$CONVERTER_EXE" "$MEDIUM/converter.exe"
run_setup /s
check "with converter.exe: Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
# Setup does not wait for the converter: give it a moment to leave its record.
for _ in $(seq 1 50); do
    [ -s "$MEDIUM/converter.log" ] && break
    sleep 0.2
done
check "the converter ran" grep -q -x 'ran' <(tr -d '\r' <"$MEDIUM/converter.log" 2>/dev/null)
check "the converter got \" /auto\"" grep -q -x 'arguments= /auto' <(tr -d '\r' <"$MEDIUM/converter.log" 2>/dev/null)
check "the GNUGS folder was not copied" [ ! -e "$DESTINATION/GNUGS" ]
check "the port key exists" key_exists 64 "$PRODUCT_KEY\\$port"
check "port key: Converter is written all the same" value_is Converter REG_SZ "$DESTINATION_WIN\\GNUGS"

e2e_finish
