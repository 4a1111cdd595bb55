#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build, then one with AddressSanitizer and
# UndefinedBehaviorSanitizer in which any sanitizer report fails the run. Then every fuzz target runs for
# 30 s, and the Windows build of the core runs its tests under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh    # every list: what the window needs and all the test tools

jobs=$(nproc)

echo "== Normal build =="
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== Sanitizer build =="
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:exitcode=99:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=99"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== Fuzzing (30 s per target) =="
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
bash scripts/fuzz.sh 30

echo "== Windows build of the core, run under wine =="
cmake -S . -B build/mingw -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DQUARN_CORE_ONLY=ON >/dev/null
cmake --build build/mingw -j "$jobs"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
ctest --test-dir build/mingw --output-on-failure
