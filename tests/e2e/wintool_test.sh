#!/bin/bash
# The Windows-side reader the other end-to-end tests rely on, checked against Wine's own tools:
# values written by reg.exe are listed with their types and data in the right view,
# keys it creates land in the view asked for, and a full 32-bit exit status comes back.
# Its snapshot of the machine is stable and shows exactly what a silent installation adds;
# the test monitor's port and the monitor itself can then be deleted through the spooler.
. "$(dirname "$0")/e2e-common.sh"
e2e_start

probe='SOFTWARE\WintoolProbe'
in_wine reg add "HKLM\\$probe" /v Text /t REG_SZ /d "two words" /reg:64 /f >/dev/null 2>&1
in_wine reg add "HKLM\\$probe" /v Number /t REG_DWORD /d 1638 /reg:64 /f >/dev/null 2>&1
read_key 64 "$probe"
check "regkey finds a key in the 64-bit view" [ "$KEY_STATUS" -eq 0 ]
check "regkey lists a string value as text" \
    grep -q -x -F "Text|REG_SZ|two words|10" <<<"$KEY_VALUES"
check "regkey lists a DWORD value as its number" \
    grep -q -x -F "Number|REG_DWORD|1638|4" <<<"$KEY_VALUES"
check "regkey does not find a 64-bit key in the 32-bit view" key_missing 32 "$probe"

made='SOFTWARE\WintoolMade\Deeper'
in_wine "$WINTOOL_EXE" mkkey 32 "$made"
check "mkkey succeeds" [ $? -eq 0 ]
check "mkkey creates the key in the 32-bit view" key_exists 32 "$made"
check "mkkey leaves the 64-bit view alone" key_missing 64 "$made"
check "a new key has no values" [ -z "$KEY_VALUES" ]

run_windows cmd /c exit 70000
check "run reports the full exit status (got $EXIT_CODE)" [ "$EXIT_CODE" = 70000 ]
in_wine "$WINTOOL_EXE" run 'C:\no\such\program.exe' >/dev/null 2>&1
check "run of a missing program exits 2" [ $? -eq 2 ]

# ---- snapshots --------------------------------------------------------------------
make_medium
medium_names
monitor="NIMBRAX Writer Monitor x86"
SYSTEM_WIN='C:\windows\system32'

check "a snapshot can be taken" snapshot before
snapshot again
check "two snapshots of an unchanged machine are equal" [ -z "$(snapshot_diff before again)" ]
check "a snapshot lists the Program Files folder" grep -q -x -F 'file C:\Program Files\' "$SCRATCH/before.snapshot"

run_setup /s
check "Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
snapshot installed
INSTALLED=$(snapshot_diff before installed)

# added LINE: the installation added exactly this line.
added() {
    grep -q -x -F -- "+$1" <<<"$INSTALLED" || { echo "  not added: $1"; return 1; }
}
# added_starting TEXT: the installation added a line that starts with TEXT.
added_starting() {
    awk -v start="+$1" 'index($0, start) == 1 { found = 1 } END { exit !found }' <<<"$INSTALLED" ||
        { echo "  no added line starts with: $1"; return 1; }
}
# only_expected_changes: every change is a line added under one of the product's own
# keys, spooler objects or folders; nothing was removed or changed elsewhere.
only_expected_changes() {
    local allowed=(
        "+registry 64 HKLM\\$PRODUCT_KEY"
        "+registry 64 HKLM\\$UNINSTALL_ROOT\\$product"
        "+monitor $monitor |"
        "+port $port |"
        "+driver Windows x64 | NIMBRAX Writer |"
        "+printer $printer |"
        "+file $DESTINATION_WIN\\"
        "+file $PROGRAMS_WIN\\${group%%\\*}\\"
        "+file $SYSTEM_WIN\\nimbmon64.dll |"
        "+file $SYSTEM_WIN\\spool\\drivers\\x64\\"
    )
    local line prefix unexpected=0
    while IFS= read -r line; do
        [ -n "$line" ] || continue
        for prefix in "${allowed[@]}"; do
            [[ "$line" == "$prefix"* ]] && continue 2
        done
        echo "  unexpected change: $line"
        unexpected=1
    done <<<"$INSTALLED"
    return "$unexpected"
}
check "the installation adds the product key" added "registry 64 HKLM\\$PRODUCT_KEY"
check "the installation adds the port key with the destination" \
    added "registry 64 HKLM\\$PRODUCT_KEY\\$port | Destination Folder | REG_SZ | $((${#DESTINATION_WIN} + 1)) | $DESTINATION_WIN"
check "the installation adds the uninstall entry" \
    added "registry 64 HKLM\\$UNINSTALL_ROOT\\$product | DisplayName | REG_SZ | $((${#product} + 1)) | $product"
check "the installation adds the monitor with its DLL" added_starting "monitor $monitor | "
check "the installation adds the port, served by the monitor" added_starting "port $port | $monitor | "
check "the installation adds the driver for Windows x64" added_starting "driver Windows x64 | NIMBRAX Writer | 3 | "
check "the installation adds the printer on its port with its driver" \
    added_starting "printer $printer | $port | NIMBRAX Writer | WinPrint | RAW | "
check "the installation adds the destination folder" added "file $DESTINATION_WIN\\"
check "the installation adds the uninstaller with its size" \
    added "file $DESTINATION_WIN\\unInstpm64.exe | $(stat -c %s "$MEDIUM/unInstpm64.exe")"
check "the installation adds the monitor DLL to system32" \
    added "file $SYSTEM_WIN\\nimbmon64.dll | $(stat -c %s "$MEDIUM/nimbmon64.dll")"
for shortcut in Preferences.lnk Readme.lnk; do
    check "the installation adds the shortcut $shortcut" added_starting "file $PROGRAMS_WIN\\$group\\$shortcut | "
done
check "the installation changes nothing else" only_expected_changes

# The test monitor deletes its port as a real monitor does; then the monitor can go.
port_line=$(grep -e "^port $port | " "$SCRATCH/installed.snapshot")
monitor_line=$(grep -e "^monitor $monitor | " "$SCRATCH/installed.snapshot")
in_wine "$WINTOOL_EXE" delport "$port"
check "DeletePort removes the installed port $port" [ $? -eq 0 ]
in_wine "$WINTOOL_EXE" delmonitor "$monitor"
check "DeleteMonitor then removes the monitor" [ $? -eq 0 ]
snapshot removed
check "the port and the monitor are no longer listed, and nothing else changed" \
    [ "$(snapshot_diff installed removed)" = "$(printf -- '-%s\n-%s' "$monitor_line" "$port_line")" ]

e2e_finish
