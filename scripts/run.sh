#!/usr/bin/env bash
# Builds the program and starts its window. Installs only what that needs; scripts/test.sh installs the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release
if [ -x build/release/app/quarn ]; then
    exec build/release/app/quarn "$@"
fi
exec build/release/cli/quarn-cli --help
