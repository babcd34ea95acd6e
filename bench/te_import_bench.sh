#!/usr/bin/env bash
# TextExpander import and export of a 100,000-snippet settings file against python3's
# plistlib (see te_import_bench.py): builds tolvan-cli and bench_te_import optimised and
# prints the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench-te -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAN_TESTS=OFF -DTOLVAN_BENCH=ON >/dev/null
cmake --build build-bench-te --target tolvan-cli bench_te_import
/usr/bin/python3 bench/te_import_bench.py build-bench-te/bin/tolvan-cli "${1:-100000}" \
  build-bench-te/bin/bench_te_import
