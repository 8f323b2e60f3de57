#!/bin/bash
# Checks that a Windows program loads on the oldest Windows it must run on: the image is a
# GUI program of the given architecture whose subsystem and OS versions that Windows
# accepts, and every function it imports is on the allowlist (imports-allowlist.txt) with
# a Windows NT version no newer than the floor. With --win9x, imports that Windows 98/Me
# lack or only stub fail too, unless the allowlist accepts them with a reason. A runtime
# DLL of the compiler (libstdc++, libgcc, winpthread) is on no list, so a broken static
# link fails as well. With --manifest, the image must embed the programs' application
# manifest in the form every Windows of the floor accepts (see "the manifest" below).
# Usage: check_imports.sh EXE --arch x86|x64 --floor NT_VERSION [--win9x] [--manifest] [--allowlist FILE]
#   Setup:      check_imports.sh Setup.exe --arch x86 --floor 5.0 --win9x --manifest
#   unInstpm64: check_imports.sh unInstpm64.exe --arch x64 --floor 5.2 --manifest
set -u

usage() {
    echo "usage: check_imports.sh EXE --arch x86|x64 --floor NT_VERSION [--win9x] [--manifest] [--allowlist FILE]" >&2
    exit 2
}

exe=""
arch=""
floor=""
win9x=no
manifest=no
allowlist="$(dirname "${BASH_SOURCE[0]}")/imports-allowlist.txt"
while [ $# -gt 0 ]; do
    case "$1" in
        --arch) [ $# -ge 2 ] || usage; arch=$2; shift 2 ;;
        --floor) [ $# -ge 2 ] || usage; floor=$2; shift 2 ;;
        --win9x) win9x=yes; shift ;;
        --manifest) manifest=yes; shift ;;
        --allowlist) [ $# -ge 2 ] || usage; allowlist=$2; shift 2 ;;
        -*) usage ;;
        *) [ -z "$exe" ] || usage; exe=$1; shift ;;
    esac
done
[ -n "$exe" ] && [ -n "$floor" ] || usage
case "$arch" in x86|x64) ;; *) usage ;; esac
[[ "$floor" =~ ^[0-9]+\.[0-9]+$ ]] || usage
name=$(basename "$exe")

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
if [ ! -f "$allowlist" ]; then
    echo "FAIL: no allowlist at $allowlist"
    exit 1
fi

. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

if ! headers=$("$objdump" -p "$exe" 2>&1); then
    echo "FAIL: $exe cannot be read: $headers"
    exit 1
fi
headers=$(tr -d '\r' <<<"$headers")

# ---- the image ---------------------------------------------------------------------------
if [ "$arch" = x86 ]; then magic='010b[[:space:]]+\(PE32\)'; else magic='020b[[:space:]]+\(PE32\+\)'; fi
if grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers"; then
    pass "$name is an image for $arch"
else
    fail "$name is not an image for $arch: $(grep -E '^Magic' <<<"$headers")"
fi
if grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers"; then
    pass "$name is a GUI program"
else
    fail "$name is not a GUI program: $(grep -E '^Subsystem' <<<"$headers")"
fi

# header_version FIELD: "major.minor" of the Major/Minor FIELD pair, minor as stored.
header_version() {
    local major minor
    major=$(awk -v f="Major$1" '$1 == f { print $2 }' <<<"$headers")
    minor=$(awk -v f="Minor$1" '$1 == f { print $2 }' <<<"$headers")
    echo "${major:-?}.${minor:-?}"
}
# version_at_most A B: A <= B, both "major.minor" with integer parts as the headers store them.
version_at_most() {
    local a_major=${1%.*} a_minor=${1#*.} b_major=${2%.*} b_minor=${2#*.}
    [[ "$a_major$a_minor" =~ ^[0-9]+$ ]] || return 1
    [ "$a_major" -lt "$b_major" ] || { [ "$a_major" -eq "$b_major" ] && [ "$a_minor" -le "$b_minor" ]; }
}
# Windows refuses an image whose subsystem version is newer than itself; Windows 98/Me
# load subsystem 4.0 images.
subsystem_limit=$floor
[ "$win9x" = no ] || subsystem_limit=4.0
subsystem=$(header_version SubsystemVersion)
if version_at_most "$subsystem" "$subsystem_limit"; then
    pass "$name subsystem version $subsystem (at most $subsystem_limit)"
else
    fail "$name subsystem version $subsystem is newer than $subsystem_limit"
fi
os_version=$(header_version OSystemVersion)
if version_at_most "$os_version" "$subsystem_limit"; then
    pass "$name operating-system version $os_version (at most $subsystem_limit)"
else
    fail "$name operating-system version $os_version is newer than $subsystem_limit"
fi

# ---- the imports -------------------------------------------------------------------------
# One line "DLL FUNCTION" per import; an import by ordinal has no name and reads as
# "#ordinal".
imports=$(awk '
    /^[[:space:]]*DLL Name:/ { dll = toupper($NF); next }
    /^[[:space:]]*$/ { dll = "" }
    dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+/ {
        print dll, ($NF == "<none>" ? "#" $2 : $NF)
    }' <<<"$headers" | sort -u)
if [ -z "$imports" ]; then
    fail "$name lists no imports at all"
fi

# One verdict line per import, and "BADLIST ..." for every malformed allowlist line.
verdicts=$(awk -v arch="$arch" -v floor="$floor" -v win9x="$win9x" '
    # "3.1" -> 310, "3.51" -> 351, "5.2" -> 520: NT versions read as decimals.
    function nt(v,   parts) {
        if (v !~ /^[0-9]+\.[0-9]+$/) return -1
        split(v, parts, ".")
        return parts[1] * 100 + (length(parts[2]) == 1 ? parts[2] * 10 : parts[2])
    }
    FNR == NR {
        if ($0 ~ /^[[:space:]]*(#|$)/) next
        if ($1 == "accept-9x") {
            reason = $0
            sub(/^[[:space:]]*accept-9x[[:space:]]+[^[:space:]]+[[:space:]]+[^[:space:]]+[[:space:]]*/, "", reason)
            if (NF < 4) { print "BADLIST", FNR, "accept-9x needs a DLL, a function and a reason"; next }
            accepted[$2 " " $3] = reason
            next
        }
        key = $1 " " $2
        if (NF < 6 || nt($3) < 0 || $4 !~ /^(yes|me|stub|no)$/ || $5 !~ /^(any|x86|x64)$/ ||
            $6 !~ /^(docs|sdk|crt|lib)$/) {
            print "BADLIST", FNR, $0
            next
        }
        if (key in version) { print "BADLIST", FNR, "listed twice: " key; next }
        version[key] = $3; on9x[key] = $4; archOf[key] = $5
        next
    }
    {
        key = $1 " " $2
        if (!(key in version)) { print "UNLISTED", key; next }
        if (archOf[key] != "any" && archOf[key] != arch) { print "ARCH", key, archOf[key]; next }
        if (nt(version[key]) > nt(floor)) { print "NEWER", key, version[key]; next }
        if (win9x == "yes" && on9x[key] != "yes") {
            if (key in accepted) print "ACCEPTED", key, on9x[key], accepted[key]
            else print "NO9X", key, on9x[key]
            next
        }
        print "OK", key
    }' "$allowlist" - <<<"$imports")

while read -r verdict rest; do
    case "$verdict" in
        BADLIST) fail "allowlist line ${rest%% *} is malformed: ${rest#* }" ;;
    esac
done <<<"$verdicts"

listed=0
while read -r verdict dll function detail; do
    case "$verdict" in
        OK) listed=$((listed + 1)) ;;
        UNLISTED) fail "$name imports $dll $function, which is not on the allowlist" ;;
        ARCH) fail "$name imports $dll $function, which only $detail Windows exports" ;;
        NEWER) fail "$name imports $dll $function, first in Windows NT $detail (floor: NT $floor)" ;;
        NO9X)
            case "$detail" in
                stub) fail "$name imports $dll $function, only a failing stub on Windows 98/Me" ;;
                me) fail "$name imports $dll $function, which Windows 98 lacks (Me has it)" ;;
                *) fail "$name imports $dll $function, which Windows 98/Me lack: it would not load there" ;;
            esac ;;
        ACCEPTED)
            listed=$((listed + 1))
            echo "NOTE: $dll $function is ${detail%% *} on Windows 98/Me, accepted: ${detail#* }" ;;
    esac
done <<<"$verdicts"

# ---- the manifest ------------------------------------------------------------------------
# The manifest is stored as plain XML text in the image's resources. Windows before XP
# ignore it; XP reads it and is reported to refuse the program ("the application
# configuration is incorrect") when the requested execution level is in another namespace
# than asm.v2, so it must be there.
if [ "$manifest" = yes ]; then
    text=$(LC_ALL=C tr -c '[:print:]\t\r\n' '\n' <"$exe" | sed -n '/<assembly /,/<\/assembly>/p' | tr -d '\r')
    has() { grep -Eq -- "$1" <<<"$text"; }
    if [ -z "$text" ]; then
        fail "$name embeds no application manifest"
    else
        has '<trustInfo xmlns="urn:schemas-microsoft-com:asm.v2">' &&
            has '<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>' &&
            pass "$name asks for administrator rights (in the form Windows XP reads)" ||
            fail "$name does not ask for administrator rights in an asm.v2 trustInfo"
        has 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' &&
            pass "$name uses Common Controls 6" || fail "$name does not ask for Common Controls 6"
        has '<dpiAware[^>]*>true</dpiAware>' && pass "$name is aware of the system DPI" ||
            fail "$name is not DPI aware"
        supported=$(grep -c '<supportedOS Id=' <<<"$text")
        [ "$supported" -eq 5 ] && pass "$name names Windows Vista to 10/11 as supported" ||
            fail "$name names $supported supported Windows versions, not 5"
    fi
fi

dlls=$(cut -d' ' -f1 <<<"$imports" | sort -u | paste -sd' ')
# The DLLs Windows always loads from the system folder (its KnownDLLs) on every version
# from Windows 2000 to today. Any other imported DLL is looked for beside the program
# first, where a planted copy would run with the program's administrator rights: such
# DLLs are loaded at run time by their full path instead.
KNOWN_DLLS=" ADVAPI32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL OLEAUT32.DLL SHELL32.DLL USER32.DLL "
for dll in $dlls; do
    case "$KNOWN_DLLS" in
        *" $dll "*) ;;
        *) fail "$name imports $dll, which Windows looks for beside the program first (not a KnownDLL)" ;;
    esac
done
floor_text="Windows NT $floor"
[ "$win9x" = no ] || floor_text="$floor_text and Windows 98/Me"
if [ "$listed" -eq "$(grep -c . <<<"$imports")" ]; then
    pass "$name: all $listed imports (from $dlls) exist on $floor_text"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
