#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build, then one with AddressSanitizer and
# UndefinedBehaviorSanitizer in which any sanitizer report fails the run. Then every fuzz target runs for
# 30 s. Last the Windows build (scripts/windows.sh) runs its tests under wine, and its window and installer are
# tried from outside.
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

echo "== Windows build: libraries (cached), program and packages =="
started=$SECONDS
bash scripts/windows.sh
echo "Windows build: $((SECONDS - started)) s"

echo "== Windows suites under wine =="
started=$SECONDS
cmake --build build/windows/cmake -j "$jobs"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
# The suites under wine, each bounded by its CTest time-out; those wine cannot run are listed as
# "Not Run (Disabled)" at the end (README.md says why).
ctest --test-dir build/windows/cmake --output-on-failure -j "$jobs"
# The real window with Windows' platform plugin, and the installer, each in a wine prefix of its own.
timeout 300 bash tests/windows/window_smoke.sh build/windows/cmake/app/quarn.exe build/windows/window.png
timeout 600 bash tests/windows/installer_check.sh build/windows/quarn-*-setup.exe build/windows/installed.png
echo "Windows suites, window and installer: $((SECONDS - started)) s"
