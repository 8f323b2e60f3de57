#!/bin/bash
# A medium whose Setup.Ini passes a command and its arguments on through the product
# key: they are transient like the other values and gone after a silent installation.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
printf '%s\r\n' '[Parameters]' 'Command=C:\Tools\after-print.exe' 'Arguments=/quiet "%1"' \
    >"$MEDIUM/Setup.Ini"

run_setup /s
check "Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "the product key exists in the 64-bit view without transient values" \
    no_transient_values 64
check "no product key in the 32-bit view" key_missing 32 "$PRODUCT_KEY"

e2e_finish
