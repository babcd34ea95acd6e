#!/usr/bin/env bash
# app-matrix.sh [--full] [--only NAME]... [TOLVAN_CLI]: types the same expansions into real
# applications (Chromium, FeatherPad, xterm, rxvt-unicode; with --full also Firefox ESR and
# LibreOffice Writer in its GTK 3 and X11 looks) with both output methods, on a fresh X
# display, and prints a table of what arrived intact. Installs the applications first.
# TOLVAN_CLI defaults to the build users get, build-ship/bin/tolvan-cli. Exits non-zero when
# any cell fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

group=--matrix
args=()
cli=$root/build-ship/bin/tolvan-cli
while (($#)); do
  case $1 in
    --full) group=--matrix-full; args+=("$1") ;;
    --only | --out) args+=("$1" "$2"); shift ;;
    -*) echo "usage: app-matrix.sh [--full] [--only NAME]... [--out DIR] [TOLVAN_CLI]" >&2; exit 2 ;;
    *) cli=$1 ;;
  esac
  shift
done
[[ -x $cli ]] || { echo "app-matrix.sh: no tolvan-cli at $cli" >&2; exit 2; }

bash "$root/scripts/install-deps.sh" "$group"

# Terminals decode what they are sent by the locale: a UTF-8 one, as users have.
case ${LC_ALL:-${LC_CTYPE:-${LANG:-}}} in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
export PYTHONIOENCODING=utf-8
exec "$root/scripts/with-x.sh" /usr/bin/python3 "$root/scripts/app-matrix/matrix.py" \
  "${args[@]}" "$cli"
