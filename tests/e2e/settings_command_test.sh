#!/bin/bash
# A medium whose Setup.Ini passes a command and its arguments on through the product
# key: they are transient like the other values and gone after a silent installation.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
printf '%s\r\n' '[Parameters]' 'Command=C:\Tools\after-print.exe' 'Arguments=/quiet "%1"' \
    >"$MEDIUM/Setup.Ini"

run_setup /s
check_completed_silent_install

e2e_finish
