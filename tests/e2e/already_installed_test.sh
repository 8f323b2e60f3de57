#!/bin/bash
# An uninstall entry of the product already exists: Setup.exe /s ends with 1638 without
# a window and without writing the product key.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
product=$(install_log_value ProductName)
entry="$UNINSTALL_ROOT\\$product"

in_wine "$WINTOOL_EXE" mkkey 64 "$entry"
check "the uninstall entry exists before Setup runs" key_exists 64 "$entry"

run_setup /s
check "Setup.exe /s exits 1638 (got $EXIT_CODE)" [ "$EXIT_CODE" = 1638 ]
check "no product key in the 64-bit view" key_missing 64 "$PRODUCT_KEY"
check "no product key in the 32-bit view" key_missing 32 "$PRODUCT_KEY"
check "the uninstall entry is left as it was" key_exists 64 "$entry"

e2e_finish
