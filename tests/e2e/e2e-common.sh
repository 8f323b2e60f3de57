# Shared part of the end-to-end tests: sourced by each tests/e2e/*_test.sh with the
# test's own arguments:
#   SOURCE_DIR SETUP_EXE UNINSTALLER_EXE WINTOOL_EXE INSTALLLOG_TOOL SCRATCH_DIR
# Every test gets its own Wine prefix under SCRATCH_DIR, copied from the booted
# template, and a sample medium inside that prefix at C:\medium. A passing test deletes
# SCRATCH_DIR (a prefix is about 700 MB); a failing one keeps it and says where.
set -u

if [ $# -ne 6 ]; then
    echo "usage: $(basename "$0") SOURCE_DIR SETUP_EXE UNINSTALLER_EXE WINTOOL_EXE INSTALLLOG_TOOL SCRATCH_DIR" >&2
    exit 2
fi
# Absolute paths: the Windows programs run with their working directory in the prefix.
ROOT=$(realpath -m -- "$1")
SETUP_EXE=$(realpath -m -- "$2")
UNINSTALLER_EXE=$(realpath -m -- "$3")
WINTOOL_EXE=$(realpath -m -- "$4")
INSTALLLOG_TOOL=$(realpath -m -- "$5")
SCRATCH=$(realpath -m -- "$6")
. "$ROOT/scripts/wine-common.sh"

# No display: a window cannot be created and a message box returns at once, so a box
# that should not be there cannot stall the test.
unset DISPLAY WAYLAND_DISPLAY

PREFIX=$SCRATCH/prefix
MEDIUM=$PREFIX/drive_c/medium
MEDIUM_WIN='C:\medium'
PRODUCT_KEY='SOFTWARE\NIMBRAX Writer'
UNINSTALL_ROOT='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
TRANSIENT_VALUES=("Port Name" "Printer Name" "Destination Folder" "Programmatic Access" "Command" "Arguments")
# How long one Windows program may take before the test gives up on it.
WINE_TIMEOUT=${WINE_TIMEOUT:-120}

. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# check WHAT COMMAND...: PASS when the command succeeds, FAIL otherwise.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# e2e_start: a fresh scratch folder and prefix; the prefix's wineserver is stopped
# whenever the script ends.
e2e_start() {
    for program in "$SETUP_EXE" "$UNINSTALLER_EXE" "$WINTOOL_EXE" "$INSTALLLOG_TOOL"; do
        if [ ! -f "$program" ]; then
            echo "FAIL: $program is missing (build the host and win64 presets first)"
            exit 1
        fi
    done
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH"
    trap 'wine_stop "$PREFIX"' EXIT
    wine_fresh_prefix "$PREFIX" || e2e_abort "no Wine prefix"
    export WINEPREFIX=$PREFIX
    mkdir -p "$PREFIX/drive_c/work"
}

# e2e_abort WHY: ends the test as failed before its checks, keeping its scratch folder.
e2e_abort() {
    echo "FAIL: $1"
    echo "kept for inspection: $SCRATCH"
    exit 1
}

# e2e_finish: the summary line; the script's exit status says whether all passed. A pass
# removes the scratch folder with its prefix (after its wineserver has ended, so that
# nothing writes into it any more); a failure keeps it to look into.
e2e_finish() {
    echo "$passes passed, $failures failed"
    if [ "$failures" -ne 0 ]; then
        echo "kept for inspection: $SCRATCH (Wine prefix $PREFIX)"
        return 1
    fi
    wine_stop "$PREFIX"
    trap - EXIT
    rm -rf "$SCRATCH"
    rmdir "$(dirname "$SCRATCH")" 2>/dev/null || true  # the e2e folder, once all have passed
}

# make_medium: the sample medium at C:\medium, with the programs under test.
make_medium() {
    bash "$ROOT/scripts/make-medium.sh" "$MEDIUM" --setup "$SETUP_EXE" \
        --uninstaller "$UNINSTALLER_EXE" --installlog "$INSTALLLOG_TOOL" \
        --monitor "$(dirname "$UNINSTALLER_EXE")/nimbmon64.dll" >/dev/null
}

# install_log_value NAME: a value of the medium's Setup.inf, read back with the tool.
install_log_value() {
    "$INSTALLLOG_TOOL" decode "$MEDIUM/Setup.inf" | tr -d '\r' | sed -n "s/^$1=//p"
}

# medium_names: the medium's names and where a silent installation puts its files and
# shortcuts: product, printer, port, subfolder, group; DESTINATION_WIN and DESTINATION
# (its Linux path), PROGRAMS_WIN (the common Programs folder), GROUP_WIN and GROUP.
medium_names() {
    product=$(install_log_value ProductName)
    printer=$(install_log_value PrinterName)
    port=$(install_log_value PortName)
    subfolder=$(install_log_value DestinationSubfolder)
    group=$(install_log_value ProgramGroup)
    DESTINATION_WIN="C:\\Program Files\\$subfolder"
    DESTINATION="$PREFIX/drive_c/Program Files/$subfolder"
    PROGRAMS_WIN='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
    GROUP_WIN="$PROGRAMS_WIN\\$group"
    GROUP="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/${group//\\//}"
}

# in_wine PROGRAM ARGS...: runs a Windows program in the prefix, with the working
# directory inside its drive C (a path such as "\x.bat" then stays in the prefix).
in_wine() {
    (cd "$PREFIX/drive_c/work" && timeout "$WINE_TIMEOUT" "$WINE64" "$@")
}

# run_windows PROGRAM ARGS...: starts a Windows program through wintool and sets
# EXIT_CODE to its full exit status ("none" when it could not be started).
run_windows() {
    in_wine "$WINTOOL_EXE" run "$@" >"$SCRATCH/run.out"
    EXIT_CODE=$(tr -d '\r' <"$SCRATCH/run.out" | sed -n 's/^exit=//p')
    [ -n "$EXIT_CODE" ] || EXIT_CODE=none
}

# run_setup ARGS...: runs the medium's Setup.exe; sets EXIT_CODE.
run_setup() {
    run_windows "$MEDIUM_WIN\\Setup.exe" "$@"
}

# read_key VIEW PATH: sets KEY_STATUS (0 the key exists, 1 it does not, other: the
# reader failed) and KEY_VALUES (one line per value: name|type|data|bytes).
read_key() {
    in_wine "$WINTOOL_EXE" regkey "$1" "$2" >"$SCRATCH/regkey.out"
    KEY_STATUS=$?
    KEY_VALUES=$(tr -d '\r' <"$SCRATCH/regkey.out")
}

# key_exists VIEW PATH, key_missing VIEW PATH: answer from wintool; an answer
# that is neither "exists" nor "missing" is shown.
key_exists() {
    read_key "$1" "$2"
    [ "$KEY_STATUS" -eq 0 ] || explain_key_status
    [ "$KEY_STATUS" -eq 0 ]
}
key_missing() {
    read_key "$1" "$2"
    [ "$KEY_STATUS" -eq 1 ] || explain_key_status
    [ "$KEY_STATUS" -eq 1 ]
}
explain_key_status() {
    case "$KEY_STATUS" in
        0) echo "  the key exists; its values: ${KEY_VALUES:-none}" ;;
        1) echo "  the key does not exist" ;;
        *) echo "  wintool failed with status $KEY_STATUS" ;;
    esac
}

# has_value NAME: the last key read holds a value of that name.
has_value() {
    printf '%s\n' "$KEY_VALUES" | cut -d'|' -f1 | grep -q -x -F -- "$1"
}

# no_transient_values VIEW: the product key exists in VIEW and holds none of the values
# that only live while the spooler steps run. Names the ones left behind.
no_transient_values() {
    read_key "$1" "$PRODUCT_KEY"
    if [ "$KEY_STATUS" -ne 0 ]; then
        echo "  product key missing in the $1-bit view (status $KEY_STATUS)"
        return 1
    fi
    local left=()
    for name in "${TRANSIENT_VALUES[@]}"; do
        if has_value "$name"; then left+=("$name"); fi
    done
    if [ ${#left[@]} -ne 0 ]; then
        echo "  values left in the product key: ${left[*]}"
        return 1
    fi
    return 0
}

# read_printer NAME: sets PRINTER_STATUS (0 the spooler lists it) and PRINTER_INFO (lines
# port=, driver=, processor=, datatype=, attributes=0x..., form=).
read_printer() {
    in_wine "$WINTOOL_EXE" printer "$1" >"$SCRATCH/printer.out"
    PRINTER_STATUS=$?
    PRINTER_INFO=$(tr -d '\r' <"$SCRATCH/printer.out")
}

# printer_field NAME: one line of the last printer read, without its "NAME=".
printer_field() {
    printf '%s\n' "$PRINTER_INFO" | sed -n "s/^$1=//p"
}

# spooler_lists monitors|ports NAME: the spooler's list holds NAME.
spooler_lists() {
    in_wine "$WINTOOL_EXE" "$1" | tr -d '\r' | grep -q -x -F -- "$2"
}

# medium_with_log KEY=VALUE...: rewrites the medium's Setup.inf from the sample's values
# with the given ones replaced.
medium_with_log() {
    local ini=$SCRATCH/Setup.inf.ini
    cp "$ROOT/scripts/sample-medium/Setup.inf.ini" "$ini"
    for setting in "$@"; do
        sed -i "s|^${setting%%=*}=.*|$setting|" "$ini"
    done
    "$INSTALLLOG_TOOL" encode "$ini" "$MEDIUM/Setup.inf" >/dev/null
}

# value_is NAME TYPE DATA: the last key read holds NAME with that type and text ("" is
# the key's default value, listed as "(default)"). Shows what is there otherwise.
value_is() {
    local name=${1:-(default)} line
    line=$(printf '%s\n' "$KEY_VALUES" | awk -F'|' -v n="$name" '$1 == n { print $2 "|" $3 }' | head -n1)
    if [ "$line" != "$2|$3" ]; then
        echo "  $name: expected $2|$3, found ${line:-no such value}"
        return 1
    fi
}

# texts_stored_with_nul: every string value of the last key read is stored with its
# terminating NUL, length + 1 bytes (wintool prints the byte count the registry gives
# back, and the text up to its first NUL). Names the values stored otherwise.
texts_stored_with_nul() {
    local wrong
    wrong=$(printf '%s\n' "$KEY_VALUES" | LC_ALL=C awk -F'|' '
        $2 == "REG_SZ" {
            text = $3
            for (i = 4; i < NF; i++) text = text "|" $i
            if ($NF != length(text) + 1) print "  " $1 ": " $NF " bytes stored for " length(text) " characters"
        }')
    [ -z "$wrong" ] || { echo "$wrong"; return 1; }
}

# check_completed_silent_install [HOW]: after run_setup /s (or Setup run as HOW says), the
# run ended with 0 and left the product key in the 64-bit view only, without its
# transient values.
check_completed_silent_install() {
    check "${1:-Setup.exe /s} exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
    check "the product key exists in the 64-bit view without transient values" \
        no_transient_values 64
    check "no product key in the 32-bit view" key_missing 32 "$PRODUCT_KEY"
}

# snapshot NAME: everything the product can touch on the machine now (wintool snapshot:
# registry keys and values, spooler objects, files and folders, restart operations), one
# fact a line, written to $SCRATCH/NAME.snapshot. Fails when wintool could not read it all.
snapshot() {
    in_wine "$WINTOOL_EXE" snapshot >"$SCRATCH/$1.snapshot.raw"
    local status=$?
    tr -d '\r' <"$SCRATCH/$1.snapshot.raw" >"$SCRATCH/$1.snapshot"
    rm -f "$SCRATCH/$1.snapshot.raw"
    [ "$status" -eq 0 ] || echo "  wintool snapshot $1 failed with status $status"
    [ "$status" -eq 0 ]
}

# snapshot_diff A B: the lines that changed from snapshot A to snapshot B, each marked
# "-" (gone) or "+" (new); nothing when the two are equal.
snapshot_diff() {
    diff -U0 "$SCRATCH/$1.snapshot" "$SCRATCH/$2.snapshot" | grep -v -e '^---' -e '^+++' -e '^@@'
}
