#!/usr/bin/env bash
# Builds the benchmarks with optimisation and runs them all (or those named).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAN_TESTS=OFF -DTOLVAN_BENCH=ON >/dev/null
cmake --build build-bench
for b in build-bench/bin/bench_*; do
  [[ $# -eq 0 || " $* " == *" $(basename "$b" | sed 's/^bench_//') "* ]] || continue
  "$b"
done
