#!/bin/bash
# A complete silent installation from the sample medium: exit 0, the product key in the
# 64-bit view without any of its transient values, nothing in the 32-bit view.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium

check "the product key does not exist before Setup runs" key_missing 64 "$PRODUCT_KEY"
run_setup /s
check "Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "the product key exists in the 64-bit view without transient values" \
    no_transient_values 64
check "no product key in the 32-bit view" key_missing 32 "$PRODUCT_KEY"

e2e_finish
