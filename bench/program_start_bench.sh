#!/usr/bin/env bash
# How fast `tolvan --systray` gets its hooks installed and its tray icon registered, and its
# memory after the start, with 1,000 and 100,000 abbreviations; AutoKey beside it when
# Debian's autokey-gtk can be installed (see program_start_bench.py).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! dpkg-query -W -f='${Status}' autokey-gtk 2>/dev/null | grep -q "install ok installed"; then
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends autokey-gtk || true
fi
cmake -S . -B build-peer -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAN_TESTS=ON -DTOLVAN_BENCH=ON >/dev/null
cmake --build build-peer --target tolvan
scripts/with-x.sh /usr/bin/python3 bench/program_start_bench.py build-peer/bin/tolvan
