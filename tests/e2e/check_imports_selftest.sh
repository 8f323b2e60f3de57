#!/bin/bash
# Shows that check_imports.sh fails where it must: it checks a real program against
# copies of the allowlist with one fact changed at a time, and each change must produce
# its own failure line.
# Usage: check_imports_selftest.sh SETUP_EXE (32-bit) UNINSTALLER_EXE (64-bit)
set -u
if [ $# -ne 2 ]; then
    echo "usage: check_imports_selftest.sh SETUP_EXE UNINSTALLER_EXE" >&2
    exit 2
fi
here=$(dirname "${BASH_SOURCE[0]}")
setup=$1
uninstaller=$2
. "$here/checks.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# expect_failure WHAT EXPECTED_LINE EXE ARGS... -- SED_EDIT: runs the check with the allowlist
# changed by SED_EDIT; it must fail and print EXPECTED_LINE (a fixed string).
expect_failure() {
    local what=$1 expected=$2 exe=$3
    shift 3
    local args=()
    while [ "$1" != "--" ]; do args+=("$1"); shift; done
    sed "$2" "$here/imports-allowlist.txt" >"$scratch/allowlist.txt"
    local output status=0
    output=$(bash "$here/check_imports.sh" "$exe" "${args[@]}" --allowlist "$scratch/allowlist.txt") || status=$?
    if [ "$status" -ne 0 ] && grep -qF -- "$expected" <<<"$output"; then
        pass "$what"
    else
        fail "$what (status $status)"
        sed 's/^/    /' <<<"$output"
    fi
}

SETUP_ARGS=(--arch x86 --floor 5.0 --win9x)
expect_failure "an import missing from the list fails" \
    "imports KERNEL32.DLL GetFileSize, which is not on the allowlist" \
    "$setup" "${SETUP_ARGS[@]}" -- '/^KERNEL32.DLL  *GetFileSize /d'
expect_failure "an import newer than the floor fails" \
    "imports KERNEL32.DLL WriteFile, first in Windows NT 5.1 (floor: NT 5.0)" \
    "$setup" "${SETUP_ARGS[@]}" -- '/^KERNEL32.DLL  *WriteFile /s/ 3\.1 / 5.1 /'
expect_failure "an import Windows 98/Me lack fails" \
    "imports USER32.DLL MessageBoxA, which Windows 98/Me lack" \
    "$setup" "${SETUP_ARGS[@]}" -- '/^USER32.DLL  *MessageBoxA /s/ yes / no  /'
expect_failure "a 98/Me stub fails without an accepted reason" \
    "imports KERNEL32.DLL CreateSemaphoreW, only a failing stub on Windows 98/Me" \
    "$setup" "${SETUP_ARGS[@]}" -- '/^accept-9x .*CreateSemaphoreW/d'
expect_failure "an import of the other architecture fails" \
    "imports KERNEL32.DLL ReadFile, which only x64 Windows exports" \
    "$setup" "${SETUP_ARGS[@]}" -- '/^KERNEL32.DLL  *ReadFile /s/ any / x64 /'
expect_failure "a malformed list line fails" \
    "is malformed" \
    "$setup" "${SETUP_ARGS[@]}" -- '/^KERNEL32.DLL  *ReadFile /s/ 3\.1 / three /'
expect_failure "a floor below an import's version fails" \
    "imports KERNEL32.DLL RtlUnwindEx, first in Windows NT 5.2 (floor: NT 5.1)" \
    "$uninstaller" --arch x64 --floor 5.1 -- 's/^$//'
expect_failure "a 64-bit program checked as 32-bit fails" \
    "is not an image for x86" \
    "$uninstaller" --arch x86 --floor 5.2 -- 's/^$//'
# A program of the same build that imports the spooler's DLL, as the programs once did.
expect_failure "an imported DLL that is not a KnownDLL fails" \
    "imports WINSPOOL.DRV, which Windows looks for beside the program first" \
    "$(dirname "$uninstaller")/wintool.exe" --arch x64 --floor 10.0 -- 's/^$//'

# expect_manifest_failure WHAT EXPECTED_LINE SED_EDIT: the check of a copy of Setup.exe whose
# manifest text is changed by SED_EDIT (keeping its length, so the image stays whole) must
# fail and print EXPECTED_LINE.
expect_manifest_failure() {
    local what=$1 expected=$2
    LC_ALL=C sed "$3" "$setup" >"$scratch/Setup.exe"
    local output status=0
    output=$(bash "$here/check_imports.sh" "$scratch/Setup.exe" "${SETUP_ARGS[@]}" --manifest) || status=$?
    if [ "$status" -ne 0 ] && grep -qF -- "$expected" <<<"$output"; then
        pass "$what"
    else
        fail "$what (status $status)"
        sed 's/^/    /' <<<"$output"
    fi
}
expect_manifest_failure "a manifest that does not ask for administrator rights fails" \
    "does not ask for administrator rights" 's/level="requireAdministrator"/level="asInvoker"           /'
expect_manifest_failure "an execution level that Windows XP refuses fails" \
    "does not ask for administrator rights" 's/"urn:schemas-microsoft-com:asm.v2"/"urn:schemas-microsoft-com:asm.v3"/'
expect_manifest_failure "a program without a manifest fails when one is required" \
    "embeds no application manifest" 's/<assembly /<assembli /'

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
