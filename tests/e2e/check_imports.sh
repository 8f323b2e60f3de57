#!/bin/bash
# Checks that a program is a 32-bit (PE32) Windows GUI program that imports only DLLs
# every Windows system has, so that it runs from a medium on a bare machine: a runtime
# DLL of the compiler (libstdc++, libgcc, winpthread) would mean static linking broke.
# Usage: check_imports.sh EXE
set -u

if [ $# -ne 1 ]; then
    echo "usage: check_imports.sh EXE" >&2
    exit 2
fi
exe=$1

# System DLLs a program may import, upper case; "API-MS-WIN-*" covers the API sets.
ALLOWED_DLLS=(KERNEL32.DLL USER32.DLL ADVAPI32.DLL SHELL32.DLL OLE32.DLL OLEAUT32.DLL
              WINSPOOL.DRV COMCTL32.DLL SHLWAPI.DLL MSVCRT.DLL GDI32.DLL COMDLG32.DLL)

objdump=""
# The x86-64 objdump reads 32-bit and 64-bit images alike.
for candidate in x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump; do
    if command -v "$candidate" >/dev/null 2>&1; then
        objdump=$candidate
        break
    fi
done
if [ -z "$objdump" ]; then
    echo "FAIL: no MinGW objdump found"
    exit 1
fi

. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

if ! headers=$("$objdump" -p "$exe" 2>&1); then
    echo "FAIL: $exe cannot be read: $headers"
    exit 1
fi

if grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$headers"; then
    pass "$(basename "$exe") is PE32 (32-bit)"
else
    fail "$(basename "$exe") is not PE32: $(grep -E '^Magic' <<<"$headers")"
fi
if grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers"; then
    pass "$(basename "$exe") is a GUI program"
else
    fail "$(basename "$exe") is not a GUI program: $(grep -E '^Subsystem' <<<"$headers")"
fi

imports=$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$headers" | tr -d '\r' | sort -u)
if [ -z "$imports" ]; then
    fail "$(basename "$exe") lists no imported DLLs at all"
fi
unexpected=()
while IFS= read -r dll; do
    [ -n "$dll" ] || continue
    upper=${dll^^}
    allowed=no
    case "$upper" in API-MS-WIN-*) allowed=yes ;; esac
    for system_dll in "${ALLOWED_DLLS[@]}"; do
        [ "$upper" = "$system_dll" ] && allowed=yes
    done
    [ "$allowed" = yes ] || unexpected+=("$dll")
done <<<"$imports"
if [ ${#unexpected[@]} -eq 0 ]; then
    pass "$(basename "$exe") imports only system DLLs: $(tr '\n' ' ' <<<"$imports")"
else
    fail "$(basename "$exe") imports DLLs that are not part of Windows: ${unexpected[*]}"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
