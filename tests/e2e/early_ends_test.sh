#!/bin/bash
# The ways a silent Setup ends before it installs anything, on one machine in turn:
# - no Setup.inf on the medium: 114, before anything is written;
# - an uninstall entry of the product exists: 1638, without a window or the product key;
# - command lines of 32 KB: a destination that long, refused (404) before a folder is made
#   or a file copied, and an entry name that long for the uninstaller's register mode
#   (1603). Which destinations are refused, from "-d" or from the settings file, is the
#   host unit tests' table (install_outcomes_test.cpp); this run is the one that reaches
#   the refusal through a real command line.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
product=$(install_log_value ProductName)
subfolder=$(install_log_value DestinationSubfolder)
DRIVE_C=$PREFIX/drive_c

# ---- no install log ---------------------------------------------------------------------
mv "$MEDIUM/Setup.inf" "$SCRATCH/Setup.inf"
run_setup /s
check "without Setup.inf, Setup.exe /s exits 114 (got $EXIT_CODE)" [ "$EXIT_CODE" = 114 ]
run_setup
check "without Setup.inf, Setup.exe without switches exits 114 (got $EXIT_CODE)" [ "$EXIT_CODE" = 114 ]
for view in 64 32; do
    check "no product key in the $view-bit view" key_missing "$view" "$PRODUCT_KEY"
    check "no uninstall entry in the $view-bit view" key_missing "$view" "$UNINSTALL_ROOT\\$product"
done
check "no destination folder" [ ! -e "$DRIVE_C/Program Files/$subfolder" ]
mv "$SCRATCH/Setup.inf" "$MEDIUM/Setup.inf"

# ---- already installed --------------------------------------------------------------------
entry="$UNINSTALL_ROOT\\$product"
port=$(install_log_value PortName)
# The product key holds the port key only, no value of Setup's: nothing was written.
no_product_values() {
    read_key 64 "$PRODUCT_KEY"
    [ "$KEY_STATUS" -eq 0 ] && [ -z "$KEY_VALUES" ] || { explain_key_status; return 1; }
}
# A complete installation: its entry and its port key, which is written last.
in_wine "$WINTOOL_EXE" mkkey 64 "$entry"
in_wine "$WINTOOL_EXE" mkkey 64 "$PRODUCT_KEY\\$port"
run_setup /s
check "with an uninstall entry, Setup.exe /s exits 1638 (got $EXIT_CODE)" [ "$EXIT_CODE" = 1638 ]
check "no product key values in the 64-bit view" no_product_values
check "no product key in the 32-bit view" key_missing 32 "$PRODUCT_KEY"
check "the uninstall entry is left as it was" key_exists 64 "$entry"
in_wine "$WINTOOL_EXE" rmkey 64 "$entry" >/dev/null
in_wine "$WINTOOL_EXE" rmkey 64 "$PRODUCT_KEY\\$port" >/dev/null
in_wine "$WINTOOL_EXE" rmkey 64 "$PRODUCT_KEY" >/dev/null

# ---- command lines of 32 KB -----------------------------------------------------------------
# Close to the 32767 characters of the longest command line Windows starts a program with
# (wintool's own command line, which carries this one, must fit too), split by the C
# runtime: Setup refuses a destination that long, the uninstaller an entry name that long.
long_name=$(printf 'd%.0s' $(seq 32500))
run_setup /s "-dC:\\$long_name"
check "a destination of 32 KB exits 404 (got $EXIT_CODE)" [ "$EXIT_CODE" = 404 ]
# The files the installer would put first into a folder it accepted.
nothing_deployed_at_the_root() {
    local name
    for name in pagemill.exe setup.inf README.TXT; do
        [ ! -e "$DRIVE_C/$name" ] || { echo "  $name was deployed"; return 1; }
    done
}
check "nothing deployed at the drive root" nothing_deployed_at_the_root
check "no uninstall entry was written" key_missing 64 "$entry"
run_windows "$MEDIUM_WIN\\unInstpm64.exe" /register 'C:\remove.exe' "$long_name"
check "unInstpm64.exe /register with a name of 32 KB exits 1603 (got $EXIT_CODE)" [ "$EXIT_CODE" = 1603 ]

e2e_finish
