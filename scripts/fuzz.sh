#!/bin/bash
# Runs one libFuzzer target of the host-sanitize build for a given time:
#
#   scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTION...]
#   scripts/fuzz.sh --list
#
# TARGET is a name of tests/fuzz/TARGET_fuzz.cpp (install_log, settings_reader, ...).
# The target is built first when needed. It starts from the seed corpus in
# tests/fuzz/corpus/TARGET (read only) and from what earlier runs found, kept in
# build/host-sanitize/fuzz/TARGET/corpus; a crash or a broken property is saved there as
# crash-* and ends the run with a non-zero status. Such an input belongs in the seed
# corpus, beside a unit test that repeats it, once the fault is fixed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD=build/host-sanitize

targets() {
    for source in tests/fuzz/*_fuzz.cpp; do
        name=$(basename "$source" _fuzz.cpp)
        echo "$name"
    done
}

if [ "${1:-}" = "--list" ]; then
    targets
    exit 0
fi
known=$(targets)
if [ $# -lt 2 ] || ! grep -qx -- "$1" <<<"$known" || ! [[ $2 =~ ^[0-9]+$ ]]; then
    echo "usage: $(basename "$0") TARGET SECONDS [LIBFUZZER OPTION...]   (targets: $(tr '\n' ' ' <<<"$known"))" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2

if [ ! -f "$BUILD/CMakeCache.txt" ]; then cmake --preset host-sanitize >/dev/null; fi
cmake --build "$BUILD" -j2 --target "fuzz_$target" >/dev/null

work=$BUILD/fuzz/$target
mkdir -p "$work/corpus"
# One input may take at most 10 s (a hang is a finding too); ASan and UBSan stop at the
# first report, and the final statistics say how many inputs ran.
exec "$BUILD/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/" "$@" "$work/corpus" "tests/fuzz/corpus/$target"
