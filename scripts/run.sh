#!/usr/bin/env bash
# Sets everything up, builds Tolvan and runs it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVAN_TESTS=OFF >/dev/null
cmake --build build
exec build/bin/tolvan "$@"
