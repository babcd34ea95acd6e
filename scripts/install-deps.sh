#!/usr/bin/env bash
# install-deps.sh [--matrix | --matrix-full]: installs the Debian packages Tolvan needs to
# build, run and test; with --matrix also the applications scripts/app-matrix.sh types into,
# with --matrix-full those of its --full run as well.
# Quick when everything is already there; otherwise apt-get update, then install.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev llvm
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libexpat1-dev libglib2.0-dev libgtkmm-3.0-dev libcurl4-openssl-dev
  libx11-dev libxi-dev libxtst-dev libxkbcommon-dev libxkbcommon-x11-dev
  libatspi2.0-dev libcanberra-dev at-spi2-core
  python3 python3-gi python3-pyatspi dbus
  # The caret tests watch the accessibility bus (dbus-monitor) and ask for its address (gdbus).
  dbus-bin libglib2.0-bin
  xvfb openbox xdotool xterm xclip dbus-x11 x11-utils x11-xkb-utils trayer imagemagick
  locales
  # The launcher scenarios: the MIME types of files (a document's default application) and ps
  # (zombies).
  shared-mime-info procps
)

matrix=(chromium featherpad rxvt-unicode)
matrix_full=(firefox-esr libreoffice-writer libreoffice-gtk3 python3-uno)
case ${1:-} in
  "") ;;
  --matrix) packages+=("${matrix[@]}") ;;
  --matrix-full) packages+=("${matrix[@]}" "${matrix_full[@]}") ;;
  *) echo "usage: install-deps.sh [--matrix | --matrix-full]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
