#!/bin/bash
# Makes sure the tools that build and test the project are installed (Debian/Ubuntu).
# Each package is checked by a file it provides, so a machine that has everything is
# done at once; only what is missing is installed, with one apt-get update first.
# Installing needs root (CI runs as root) or sudo.
#
# Usage: ensure-tools.sh ["package|file" ...]: the arguments are further requirements
# of the same form (scripts/bench.sh adds the MSI builder).
set -euo pipefail

# package|file that shows it is installed
REQUIREMENTS=(
    "cmake|/usr/bin/cmake"
    "g++|/usr/bin/g++"
    "make|/usr/bin/make"
    "libgtest-dev|/usr/include/gtest/gtest.h"
    "googletest|/usr/src/googletest/CMakeLists.txt"
    # The win32 thread model: its runtime imports only what old Windows versions have.
    "g++-mingw-w64-x86-64-win32|/usr/bin/x86_64-w64-mingw32-g++-win32"
    "g++-mingw-w64-i686-win32|/usr/bin/i686-w64-mingw32-g++-win32"
    "binutils-mingw-w64-x86-64|/usr/bin/x86_64-w64-mingw32-objdump"
    "binutils-mingw-w64-i686|/usr/bin/i686-w64-mingw32-objdump"
    # Only 64-bit Windows programs run on these machines; wine32 would make the wine
    # wrapper pick the 32-bit loader, so it is never asked for.
    "wine64|/usr/lib/wine/wine64"
    "xvfb|/usr/bin/xvfb-run"
    "xauth|/usr/bin/xauth"
    # The tests that show windows: Wine's own fonts for them, and the photographs of the
    # interactive installation.
    "fonts-wine|/usr/share/wine/fonts/marlett.ttf"
    "imagemagick|/usr/bin/import"
    # The host-sanitize build: clang with AddressSanitizer, UndefinedBehaviorSanitizer and
    # libFuzzer (their runtimes and FuzzedDataProvider.h come with libclang-rt-14-dev).
    "clang|/usr/bin/clang++"
    "libclang-rt-14-dev|/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a"
    "$@"
)

missing=()
for requirement in "${REQUIREMENTS[@]}"; do
    package=${requirement%%|*}
    file=${requirement#*|}
    [ -e "$file" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "ensure-tools: all tools present"
    exit 0
fi

echo "ensure-tools: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "ensure-tools: missing ${missing[*]}; run as root to install them" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"

# What was installed must now be there.
for requirement in "${REQUIREMENTS[@]}"; do
    file=${requirement#*|}
    if [ ! -e "$file" ]; then
        echo "ensure-tools: ${requirement%%|*} is still missing ($file)" >&2
        exit 1
    fi
done
echo "ensure-tools: done"
