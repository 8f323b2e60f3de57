#!/bin/bash
# A complete silent installation from the sample medium: exit 0, the product key in the
# 64-bit view without any of its transient values, nothing in the 32-bit view.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium

check "the product key does not exist before Setup runs" key_missing 64 "$PRODUCT_KEY"
run_setup /s
check_completed_silent_install

e2e_finish
