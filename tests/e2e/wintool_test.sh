#!/bin/bash
# The Windows-side reader the other end-to-end tests rely on, checked against Wine's own tools:
# values written by reg.exe are listed with their types and data in the right view,
# keys it creates land in the view asked for, and a full 32-bit exit status comes back.
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

e2e_finish
