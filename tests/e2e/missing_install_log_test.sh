#!/bin/bash
# A medium without Setup.inf: Setup ends with 114 before it touches the machine, both
# silently and interactively (no display here, so its error box returns at once).
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
product=$(install_log_value ProductName)
subfolder=$(install_log_value DestinationSubfolder)
rm "$MEDIUM/Setup.inf"

run_setup /s
check "Setup.exe /s exits 114 (got $EXIT_CODE)" [ "$EXIT_CODE" = 114 ]
run_setup
check "Setup.exe without switches exits 114 (got $EXIT_CODE)" [ "$EXIT_CODE" = 114 ]

for view in 64 32; do
    check "no product key in the $view-bit view" key_missing "$view" "$PRODUCT_KEY"
    check "no uninstall entry in the $view-bit view" key_missing "$view" "$UNINSTALL_ROOT\\$product"
done
check "no destination folder" [ ! -e "$PREFIX/drive_c/Program Files/$subfolder" ]

e2e_finish
