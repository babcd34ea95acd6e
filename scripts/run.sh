#!/usr/bin/env bash
# Sets everything up, builds Tolvan as users get it (scripts/configure-ship.sh) and runs the
# program `tolvan` on the X display named by DISPLAY: the expander with its tray icon, until
# its tray menu's Exit (or Ctrl+C). Extra arguments go to it (--systray, --import FILE,
# --config-dir DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/configure-ship.sh build -DTOLVAN_TESTS=OFF >/dev/null
cmake --build build
exec build/bin/tolvan "$@"
