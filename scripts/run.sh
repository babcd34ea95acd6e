#!/usr/bin/env bash
# Sets everything up, builds Tolvan and runs its expansion engine on the X display named by
# DISPLAY (tolvan-cli run) until Ctrl+C. Extra arguments go to it (--library FILE).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVAN_TESTS=OFF >/dev/null
cmake --build build
exec build/bin/tolvan-cli run "$@"
