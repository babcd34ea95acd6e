#!/usr/bin/env bash
# Tolvan side by side with AutoKey on a fresh Xvfb (see x11_peer_bench.py): installs what
# the comparison needs, builds Tolvan with optimisation and prints the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! dpkg-query -W -f='${Status}' autokey-gtk 2>/dev/null | grep -q "install ok installed"; then
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends autokey-gtk
fi
cmake -S . -B build-peer -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAN_TESTS=ON -DTOLVAN_BENCH=ON >/dev/null
cmake --build build-peer --target tolvan-cli text_field_app
scripts/with-x.sh python3 bench/x11_peer_bench.py build-peer/bin/tolvan-cli build-peer/bin/text_field_app
