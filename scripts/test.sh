#!/bin/bash
# Builds the presets and runs every test: the host unit tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer (host-sanitize, with clang), a short run
# of every fuzzer (FUZZ_SECONDS each, 30 unless set), the Windows-side and end-to-end
# tests under Wine (win64; those that show windows start an X server of their own, so no
# display is needed), and the checks that the two deliverables load on the oldest Windows
# they support: the 32-bit Setup.exe on Windows 2000 and 98/Me, the
# 64-bit unInstpm64.exe on 64-bit Windows XP / Server 2003 (function-level import lists,
# tests/e2e/imports-allowlist.txt), each with its manifest. Exits non-zero when a build
# or any test fails.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
started=$SECONDS

bash scripts/ensure-tools.sh

for preset in host host-sanitize win32 win64; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build "build/$preset" -j2
done

# One booted template for all the Wine prefixes the tests copy. Booted without a
# display so that nothing in it can open a window.
echo "== wine template"
. scripts/wine-common.sh
(unset DISPLAY WAYLAND_DISPLAY; wine_boot_template)

passes=0
failures=0
failed=()
# step NAME COMMAND...: runs one group of checks, keeps going when it fails.
step() {
    local name=$1
    shift
    echo "== $name"
    if "$@"; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        failed+=("$name")
    fi
}

step "host unit tests" ctest --test-dir build/host --output-on-failure
# Sanitizer reports end the test with a stack. Each test is a process of its own, and
# starting a sanitized one costs more: two at a time.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
step "host unit tests under AddressSanitizer and UndefinedBehaviorSanitizer" \
    ctest --test-dir build/host-sanitize --output-on-failure -j2
# fuzz_briefly TARGET: a short run of one fuzzer; its output is kept beside its corpus and
# shown only when it found something.
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
fuzz_briefly() {
    local log=build/host-sanitize/fuzz/$1.log
    mkdir -p "$(dirname "$log")"
    if bash scripts/fuzz.sh "$1" "$FUZZ_SECONDS" >"$log" 2>&1; then
        grep -E '^(Done|stat::new_units_added)' "$log"
    else
        tail -n 60 "$log"
        return 1
    fi
}
for target in $(bash scripts/fuzz.sh --list); do
    step "fuzz $target for $FUZZ_SECONDS s" fuzz_briefly "$target"
done
step "win64 Windows-side and end-to-end tests (Wine)" ctest --test-dir build/win64 --output-on-failure
step "Setup.exe loads on Windows 2000 and 98/Me" \
    bash tests/e2e/check_imports.sh build/win32/bin/Setup.exe --arch x86 --floor 5.0 --win9x --manifest
step "unInstpm64.exe loads on 64-bit Windows XP / Server 2003" \
    bash tests/e2e/check_imports.sh build/win64/bin/unInstpm64.exe --arch x64 --floor 5.2 --manifest
step "the import check fails where it must" \
    bash tests/e2e/check_imports_selftest.sh build/win32/bin/Setup.exe build/win64/bin/unInstpm64.exe

echo
for name in "${failed[@]}"; do echo "FAILED: $name"; done
echo "test.sh took $((SECONDS - started)) s"
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
