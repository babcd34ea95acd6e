#!/usr/bin/env bash
# TextExpander import and export of a 100,000-snippet settings file against python3's
# plistlib (see te_import_bench.py): builds tolvan-cli optimised and prints the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench-te -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench-te --target tolvan-cli
/usr/bin/python3 bench/te_import_bench.py build-bench-te/bin/tolvan-cli "${1:-100000}"
