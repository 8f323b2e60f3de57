#!/bin/bash
# A benchmark, not a test: how long a silent installation and uninstallation of the
# sample medium take under Wine, against two yardsticks.
#   floor  a program of our own (tools/bench/floor_win32.cpp) that does only the file
#          copies and spooler calls of an installation, and the spooler deletions and
#          file removals of an uninstallation
#   MSI    a Windows Installer package of the same files (built with wixl), installed
#          with "msiexec /i ... /qn" and removed with "msiexec /x ... /qn"; it has no
#          spooler calls (Windows Installer has no action for them)
# Every timed run gets a fresh prefix whose wineserver and services are already up and
# whose files are on disk, so that neither Wine's start-up nor the prefix copy is
# counted. Prints the minimum and median of each, the ratios to the yardsticks, and the
# time and CPU seconds of the uninstaller's self-removal: the batch that waits to delete
# the uninstaller after it has ended.
#
# Usage: scripts/bench.sh [RUNS] [--doc]
#   RUNS   timed runs of each (default 10)
#   --doc  also write the report to docs/benchmark.md
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

RUNS=10
WRITE_DOC=0
for argument in "$@"; do
    case $argument in
        --doc) WRITE_DOC=1 ;;
        *[!0-9]* | '') echo "usage: scripts/bench.sh [RUNS] [--doc]" >&2; exit 2 ;;
        *) RUNS=$argument ;;
    esac
done
[ "$RUNS" -ge 1 ] || { echo "bench: RUNS must be at least 1" >&2; exit 2; }

bash scripts/ensure-tools.sh "wixl|/usr/bin/wixl" >&2
for preset in host win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build "build/$preset" -j2 >/dev/null
done

. scripts/wine-common.sh
unset DISPLAY WAYLAND_DISPLAY
wine_boot_template

BENCH=$ROOT/build/bench
BIN=$ROOT/build/win64/bin
WINTOOL=$BIN/wintool.exe
INSTALLLOG=$ROOT/build/host/bin/installlog
PREFIX=$BENCH/prefix
UNINSTALL_ROOT='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
rm -rf "$BENCH"
mkdir -p "$BENCH"
trap 'wine_stop "$PREFIX"; leave_cgroup' EXIT

# ---- CPU accounting -----------------------------------------------------------------
# The Wine processes of a prefix run in a control group of their own, so that the CPU
# time they use can be read as one counter (nanoseconds). Without a writable cgroup
# file system the CPU figures are left out.
CGROUP=""
if [ -w /sys/fs/cgroup/cpuacct ] && [ -f /sys/fs/cgroup/cpuacct/cpuacct.usage ]; then
    CGROUP=/sys/fs/cgroup/cpuacct/pdfprinter-bench-$$
elif [ -w /sys/fs/cgroup ] && [ -f /sys/fs/cgroup/cgroup.controllers ]; then
    CGROUP=/sys/fs/cgroup/pdfprinter-bench-$$
fi
if [ -n "$CGROUP" ] && ! mkdir "$CGROUP" 2>/dev/null; then CGROUP=""; fi

cpu_nanoseconds() {
    if [ -f "$CGROUP/cpuacct.usage" ]; then
        cat "$CGROUP/cpuacct.usage"
    else
        echo $(($(awk '$1 == "usage_usec" { print $2 }' "$CGROUP/cpu.stat") * 1000))
    fi
}

# leave_cgroup: moves what is left in the group back to the root and removes the group.
leave_cgroup() {
    [ -n "$CGROUP" ] && [ -d "$CGROUP" ] || return 0
    local root
    root=$(dirname "$CGROUP")
    while read -r pid; do echo "$pid" >"$root/cgroup.procs" 2>/dev/null || true; done <"$CGROUP/cgroup.procs"
    rmdir "$CGROUP" 2>/dev/null || true
}

# join_cgroup: puts the calling (sub)shell, and so what it starts, into the control
# group when there is one.
join_cgroup() {
    [ -z "$CGROUP" ] || echo "$BASHPID" >"$CGROUP/cgroup.procs"
}

# in_prefix PROGRAM ARGS...: runs a Windows program in the prefix (inside the control
# group), working directory on its drive C.
in_prefix() {
    (
        join_cgroup
        cd "$PREFIX/drive_c" && exec timeout 300 "$WINE64" "$@"
    )
}

now() { echo "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", b - a }'; }

# fresh_prefix: a new prefix from the template with its wineserver kept running and
# Wine's services started by one program run, so that the timed runs start warm.
fresh_prefix() {
    wine_stop "$PREFIX"
    wine_fresh_prefix "$PREFIX"
    export WINEPREFIX=$PREFIX
    (
        join_cgroup
        exec "$WINESERVER" -p
    )
    in_prefix "$WINTOOL" monitors >/dev/null
    # The copy's dirty pages are written out now rather than during a timed run.
    sync
}

# timed NAME PROGRAM ARGS...: runs the program in the prefix, appends its wall time in
# seconds to $BENCH/NAME.times; fails when the program does.
timed() {
    local name=$1 start end status=0
    shift
    start=$(now)
    in_prefix "$@" >"$BENCH/last.out" 2>&1 || status=$?
    end=$(now)
    if [ "$status" -ne 0 ]; then
        echo "bench: $name ended with status $status:" >&2
        cat "$BENCH/last.out" >&2
        return 1
    fi
    elapsed "$start" "$end" >>"$BENCH/$name.times"
}

# ---- the medium, its names, the payload and the MSI ----------------------------------
bash scripts/make-medium.sh "$BENCH/medium" >/dev/null
medium_value() { "$INSTALLLOG" decode "$BENCH/medium/Setup.inf" | tr -d '\r' | sed -n "s/^$1=//p"; }
product=$(medium_value ProductName)
printer=$(medium_value PrinterName)
port=$(medium_value PortName)
subfolder=$(medium_value DestinationSubfolder)
INSTALL_WIN="C:\\Program Files\\$subfolder"
DRIVER_FILES=(NIMBRAXW.PPD PSCRIPT5.DLL PS5UI.DLL PSCRIPT.HLP PSCRIPT.NTF)
MONITOR_DLL=nimbmon64.dll

# uninstall_command: the uninstall entry's quiet command, split into the program
# (UNINSTALL_PROGRAM) and its arguments (UNINSTALL_ARGUMENTS).
uninstall_command() {
    local command
    command=$(in_prefix "$WINTOOL" regkey 64 "$UNINSTALL_ROOT\\$product" | tr -d '\r' |
        awk -F'|' '$1 == "QuietUninstallString" { print $3 }')
    [ -n "$command" ] || { echo "bench: no uninstall entry after the installation" >&2; return 1; }
    UNINSTALL_PROGRAM=${command#\"}
    UNINSTALL_PROGRAM=${UNINSTALL_PROGRAM%%\"*}
    read -r -a UNINSTALL_ARGUMENTS <<<"${command#*\" }"
}

# The payload is what one installation by Setup leaves on the machine, by destination.
echo "bench: staging the payload from one installation" >&2
fresh_prefix
cp -r "$BENCH/medium" "$PREFIX/drive_c/medium"
in_prefix 'C:\medium\Setup.exe' /s >/dev/null 2>&1 || { echo "bench: the staging installation failed" >&2; exit 1; }
PAYLOAD=$BENCH/payload
mkdir -p "$PAYLOAD/driver" "$PAYLOAD/system"
cp -r "$PREFIX/drive_c/Program Files/$subfolder" "$PAYLOAD/install"
for file in "${DRIVER_FILES[@]}"; do
    cp "$PREFIX/drive_c/windows/system32/spool/drivers/x64/3/$file" "$PAYLOAD/driver/"
done
cp "$PREFIX/drive_c/windows/system32/$MONITOR_DLL" "$PAYLOAD/system/"
payload_files=$(find "$PAYLOAD" -type f | wc -l)
payload_kib=$(du -sk --apparent-size "$PAYLOAD" | cut -f1)

# wxs_folder FOLDER: a component for each file of the folder, then its folders;
# counts the components in COMPONENTS and the folders in FOLDERS.
wxs_folder() {
    local entry
    for entry in "$1"/*; do
        [ -f "$entry" ] || continue
        COMPONENTS=$((COMPONENTS + 1))
        echo "<Component Id=\"c$COMPONENTS\" Guid=\"*\" Win64=\"yes\"><File Id=\"f$COMPONENTS\"" \
             "Name=\"$(basename "$entry")\" Source=\"$entry\" KeyPath=\"yes\"/></Component>"
    done
    for entry in "$1"/*; do
        [ -d "$entry" ] || continue
        FOLDERS=$((FOLDERS + 1))
        echo "<Directory Id=\"d$FOLDERS\" Name=\"$(basename "$entry")\">"
        wxs_folder "$entry"
        echo "</Directory>"
    done
}

# write_wxs: the MSI's source, every payload file in the place where Setup puts it; run
# in $BENCH (wixl takes the files' paths relative to the source).
write_wxs() {
    COMPONENTS=0
    FOLDERS=0
    cat <<EOF
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
<Product Id="*" Name="$product" Language="1033" Version="1.0.0" Manufacturer="Benchmark"
         UpgradeCode="6f0c1a52-3d1e-4b8f-9a27-5c4e1d2b7a90">
<Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
<Media Id="1" Cabinet="payload.cab" EmbedCab="yes"/>
<Directory Id="TARGETDIR" Name="SourceDir">
<Directory Id="ProgramFiles64Folder">
<Directory Id="INSTALLFOLDER" Name="$subfolder">
EOF
    wxs_folder payload/install
    echo '</Directory></Directory><Directory Id="System64Folder">'
    wxs_folder payload/system
    echo '<Directory Id="spool" Name="spool"><Directory Id="drivers" Name="drivers">'
    echo '<Directory Id="x64" Name="x64"><Directory Id="version3" Name="3">'
    wxs_folder payload/driver
    echo '</Directory></Directory></Directory></Directory></Directory></Directory>'
    echo '<Feature Id="Everything" Level="1">'
    for component in $(seq "$COMPONENTS"); do echo "<ComponentRef Id=\"c$component\"/>"; done
    echo '</Feature></Product></Wix>'
}
(cd "$BENCH" && write_wxs >payload.wxs)
wixl -a x64 -o "$BENCH/payload.msi" "$BENCH/payload.wxs" >&2

# ---- the timed runs ------------------------------------------------------------------
# self_removal_wait: after the uninstaller has ended, the time until its batch has
# deleted it and itself, and the CPU seconds the prefix's processes used meanwhile;
# appended to self-removal.times and self-removal.cpu.
self_removal_wait() {
    local start end cpu_start cpu_end program_linux
    program_linux=$PREFIX/drive_c/${UNINSTALL_PROGRAM#C:\\}
    program_linux=${program_linux//\\//}
    start=$(now)
    [ -z "$CGROUP" ] || cpu_start=$(cpu_nanoseconds)
    for _ in $(seq 6000); do
        if [ ! -e "$program_linux" ] && ! compgen -G "$PREFIX/drive_c/users/*/Temp/DelUnist-*.bat" >/dev/null; then
            break
        fi
        sleep 0.02
    done
    end=$(now)
    [ -z "$CGROUP" ] || cpu_end=$(cpu_nanoseconds)
    if [ -e "$program_linux" ]; then echo "bench: the uninstaller was not removed" >&2; return 1; fi
    elapsed "$start" "$end" >>"$BENCH/self-removal.times"
    [ -z "$CGROUP" ] || awk -v a="$cpu_start" -v b="$cpu_end" 'BEGIN { printf "%.3f\n", (b - a) / 1e9 }' \
        >>"$BENCH/self-removal.cpu"
}

# Each yardstick is checked to have done its work, outside the timing.
# files_installed yes|no: the install folder holds the payload's files / is gone.
files_installed() {
    local folder="$PREFIX/drive_c/Program Files/$subfolder"
    if [ "$1" = no ]; then
        [ ! -e "$folder" ] || { echo "bench: $folder is still there" >&2; return 1; }
        return 0
    fi
    diff <(cd "$PAYLOAD/install" && find . -type f | sort) <(cd "$folder" && find . -type f | sort) >&2 ||
        { echo "bench: the install folder differs from the payload" >&2; return 1; }
}
# printer_listed yes|no: the spooler lists the printer / does not.
printer_listed() {
    local status=0
    in_prefix "$WINTOOL" printer "$printer" >/dev/null || status=$?
    if [ "$1" = yes ] && [ "$status" -ne 0 ]; then echo "bench: the printer is missing" >&2; return 1; fi
    if [ "$1" = no ] && [ "$status" -eq 0 ]; then echo "bench: the printer is still there" >&2; return 1; fi
    return 0
}

for run in $(seq "$RUNS"); do
    echo "bench: run $run of $RUNS" >&2
    fresh_prefix
    cp -r "$BENCH/medium" "$PREFIX/drive_c/medium"
    timed setup-install 'C:\medium\Setup.exe' /s
    files_installed yes
    printer_listed yes
    uninstall_command
    timed setup-uninstall "$UNINSTALL_PROGRAM" "${UNINSTALL_ARGUMENTS[@]}"
    self_removal_wait
    files_installed no
    printer_listed no

    fresh_prefix
    cp -r "$PAYLOAD" "$PREFIX/drive_c/payload"
    timed floor-install "$BIN/floor.exe" install 'C:\payload' "$INSTALL_WIN" "$port" "$printer"
    files_installed yes
    printer_listed yes
    timed floor-uninstall "$BIN/floor.exe" uninstall 'C:\payload' "$INSTALL_WIN" "$port" "$printer"
    files_installed no
    printer_listed no

    fresh_prefix
    cp "$BENCH/payload.msi" "$PREFIX/drive_c/payload.msi"
    timed msi-install msiexec /i 'C:\payload.msi' /qn
    files_installed yes
    timed msi-uninstall msiexec /x 'C:\payload.msi' /qn
    files_installed no
done
wine_stop "$PREFIX"
rm -rf "$PREFIX"

# ---- the report ----------------------------------------------------------------------
# stat NAME min|median: over the values of $BENCH/NAME.times (or .cpu).
stat() {
    sort -g "$BENCH/$1" | awk -v what="$2" '
        { v[NR] = $1 }
        END {
            if (what == "min") { printf "%.2f", v[1]; exit }
            if (NR % 2) printf "%.2f", v[(NR + 1) / 2]; else printf "%.2f", (v[NR / 2] + v[NR / 2 + 1]) / 2
        }'
}
ratio() { awk -v a="$(stat "$1.times" median)" -v b="$(stat "$2.times" median)" 'BEGIN { printf "%.1f", a / b }'; }
row() { echo "| $1 | $(stat "$2" min) | $(stat "$2" median) |"; }

report() {
    local cpu_model
    cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
    echo "# Benchmark: silent installation and uninstallation under Wine"
    echo
    echo "Written by \`scripts/bench.sh $RUNS\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
    echo
    echo "Machine: $cpu_model, $(nproc) cores, $(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) memory;"
    echo "$(uname -sr); $("$WINE64" --version 2>/dev/null || echo "wine64"); wixl $(wixl --version)."
    echo
    echo "Payload: $payload_files files, $payload_kib KiB (the sample medium's files in the install"
    echo "folder, the driver files and the port monitor). Each run in a fresh prefix whose"
    echo "wineserver and services were already up. Seconds of wall time over $RUNS runs."
    echo
    echo "| | minimum | median |"
    echo "|---|---:|---:|"
    row "Setup.exe /s" setup-install.times
    row "floor install" floor-install.times
    row "msiexec /i /qn" msi-install.times
    row "unInstpm64.exe /uninstall /s (until it ends)" setup-uninstall.times
    row "floor uninstall" floor-uninstall.times
    row "msiexec /x /qn" msi-uninstall.times
    row "self-removal after the uninstaller ended" self-removal.times
    echo
    echo "Ratios of the medians:"
    echo
    echo "- install / floor $(ratio setup-install floor-install), install / MSI $(ratio setup-install msi-install)"
    echo "- uninstall / floor $(ratio setup-uninstall floor-uninstall), uninstall / MSI $(ratio setup-uninstall msi-uninstall)"
    echo
    echo "Beyond the floor, Setup reads the install log and the settings file, probes the"
    echo "system, starts the 64-bit copy helper (a second Windows process) for the port"
    echo "monitor, writes its registry records and the uninstall entry, creates the"
    echo "Start-menu shortcuts through the shell's link object and sets the printer's device"
    echo "settings; the uninstaller reads the install log, removes the shortcuts, registry"
    echo "keys and files one by one and starts its self-removal batch. The MSI copies the"
    echo "same files and writes Windows Installer's own records, but makes no spooler calls."
    echo
    if [ -f "$BENCH/self-removal.cpu" ]; then
        echo "CPU seconds the prefix's processes used during the self-removal wait (cmd.exe,"
        echo "ping.exe and the wineserver serving them): minimum $(stat self-removal.cpu min),"
        echo "median $(stat self-removal.cpu median)."
    else
        echo "CPU seconds of the self-removal wait: not measured (no writable cgroup file system)."
    fi
}

report >"$BENCH/report.md"
cat "$BENCH/report.md"
if [ "$WRITE_DOC" -eq 1 ]; then
    cp "$BENCH/report.md" docs/benchmark.md
    echo "bench: written to docs/benchmark.md" >&2
fi
