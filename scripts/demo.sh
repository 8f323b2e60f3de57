#!/bin/bash
# Shows the installer and the uninstaller at work: builds everything, writes the sample
# medium, runs "Setup.exe /s" under Wine in a fresh prefix, prints what it left on the
# machine, runs the uninstall entry's command silently, and compares the machine with
# what it was before, line by line. Works on a fresh Debian/Ubuntu machine (installs the
# tools it needs first).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

bash scripts/ensure-tools.sh

for preset in host win64 win32; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build "build/$preset" -j2 >/dev/null
done
echo "built: build/host/bin/installlog, build/win32/bin/Setup.exe (32-bit deliverable),"
echo "       build/win64/bin/Setup.exe (for Wine), build/win64/bin/unInstpm64.exe"

. scripts/wine-common.sh
# No display: the silent run opens no window, and nothing can wait for a click.
unset DISPLAY WAYLAND_DISPLAY

DEMO=$ROOT/build/demo
PREFIX=$DEMO/prefix
WINTOOL=$ROOT/build/win64/bin/wintool.exe
PRODUCT_KEY='SOFTWARE\NIMBRAX Writer'
UNINSTALL_ROOT='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

echo "== medium"
rm -rf "$DEMO/medium"
bash scripts/make-medium.sh "$DEMO/medium"
echo "install log of the medium:"
build/host/bin/installlog decode "$DEMO/medium/Setup.inf" | sed 's/^/    /'
install_log_value() {
    build/host/bin/installlog decode "$DEMO/medium/Setup.inf" | tr -d '\r' | sed -n "s/^$1=//p"
}
product=$(install_log_value ProductName)
port=$(install_log_value PortName)
subfolder=$(install_log_value DestinationSubfolder)

echo "== fresh Wine prefix $PREFIX"
wine_fresh_prefix "$PREFIX"
export WINEPREFIX=$PREFIX
trap 'wine_stop "$PREFIX"' EXIT
cp -r "$DEMO/medium" "$PREFIX/drive_c/medium"
mkdir -p "$PREFIX/drive_c/work"

in_wine() {
    (cd "$PREFIX/drive_c/work" && "$WINE64" "$@")
}
# show_key VIEW PATH: whether the key exists, and its values (name|type|data|bytes).
show_key() {
    local values status=0
    values=$(in_wine "$WINTOOL" regkey "$1" "$2" | tr -d '\r') || status=$?
    case $status in
        0) echo "HKLM\\$2 ($1-bit view): exists"
           if [ -n "$values" ]; then sed 's/^/    /' <<<"$values"; else echo "    (no values)"; fi ;;
        1) echo "HKLM\\$2 ($1-bit view): does not exist" ;;
        *) echo "HKLM\\$2 ($1-bit view): could not be read (status $status)" ;;
    esac
}

# snapshot NAME: everything the product can touch, as sorted lines, in $DEMO/NAME.snapshot.
snapshot() {
    in_wine "$WINTOOL" snapshot | tr -d '\r' >"$DEMO/$1.snapshot"
}
snapshot before

echo "== Setup.exe /s (run from C:\\medium through wintool, so the full exit code shows)"
result=$(in_wine "$WINTOOL" run 'C:\medium\Setup.exe' /s | tr -d '\r') || true
echo "$result"
case "${result#exit=}" in
    0) echo "    0: installed" ;;
    1602) echo "    1602: the user declined" ;;
    1603) echo "    1603: this Windows version is not supported" ;;
    1638) echo "    1638: already installed" ;;
    *) echo "    an early end; the number is the id of the failure's message" ;;
esac

echo "== what the installation left"
show_key 64 "$PRODUCT_KEY"
show_key 32 "$PRODUCT_KEY"
show_key 64 "$PRODUCT_KEY\\$port"
show_key 64 "$UNINSTALL_ROOT\\$product"
destination="$PREFIX/drive_c/Program Files/$subfolder"
if [ -d "$destination" ]; then
    echo "C:\\Program Files\\$subfolder:"
    ls -la "$destination" | sed 's/^/    /'
else
    echo "C:\\Program Files\\$subfolder: does not exist"
fi
group=$(install_log_value ProgramGroup)
programs_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
group_dir="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/${group//\\//}"
if [ -d "$group_dir" ]; then
    echo "Start-menu shortcuts in $programs_win\\$group:"
    for link in "$group_dir"/*.lnk; do
        [ -e "$link" ] || continue
        echo "    $(basename "$link")"
        in_wine "$WINTOOL" shortcut "$programs_win\\$group\\$(basename "$link")" | tr -d '\r' |
            sed 's/^/        /'
    done
else
    echo "Start-menu group $programs_win\\$group: does not exist"
fi

printer=$(install_log_value PrinterName)
echo "== the printer as the spooler lists it"
echo "    printer \"$printer\":"
in_wine "$WINTOOL" printer "$printer" | tr -d '\r' | sed 's/^/        /' ||
    echo "        not listed by the spooler"
echo "    driver \"NIMBRAX Writer\" for \"Windows x64\":"
in_wine "$WINTOOL" driver "Windows x64" "NIMBRAX Writer" | tr -d '\r' | sed 's/^/        /' ||
    echo "        not registered"
echo "    port monitors:"
in_wine "$WINTOOL" monitors | tr -d '\r' | sed 's/^/        /'
echo "    ports:"
in_wine "$WINTOOL" ports | tr -d '\r' | sed 's/^/        /'
if [ -f "$PREFIX/drive_c/windows/system32/nimbmon64.dll" ]; then
    echo "    C:\\windows\\system32\\nimbmon64.dll: present (the test monitor, copied by unInstpm64 /copy)"
else
    echo "    C:\\windows\\system32\\nimbmon64.dll: missing"
fi

echo "== uninstalling: the uninstall entry's command with /s"
command=$(in_wine "$WINTOOL" regkey 64 "$UNINSTALL_ROOT\\$product" | tr -d '\r' |
    awk -F'|' '$1 == "UninstallString" { print $3 }')
echo "    $command /s"
program=${command#\"}
program=${program%%\"*}
result=$(in_wine "$WINTOOL" run "$program" /uninstall /s | tr -d '\r') || true
echo "    $result (0: removed; 1603: stopped early)"
# The uninstaller's batch removes its program file and folder once it has ended.
for _ in $(seq 100); do
    compgen -G "$PREFIX/drive_c/users/*/Temp/DelUnist-*.bat" >/dev/null || break
    sleep 0.2
done
echo "    restarting Wine (pending deletions are carried out)"
in_wine wineboot -r >/dev/null 2>&1 || true
wine_stop "$PREFIX"
snapshot after

echo "== the machine after the uninstallation, compared with before the installation"
echo "   (+ stayed behind, - went missing; README.md says why each of these stays)"
changes=$(diff -U0 "$DEMO/before.snapshot" "$DEMO/after.snapshot" | grep -v -e '^---' -e '^+++' -e '^@@' || true)
if [ -z "$changes" ]; then
    echo "    no difference at all"
else
    sed 's/^/    /' <<<"$changes"
fi
