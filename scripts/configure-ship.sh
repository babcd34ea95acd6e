#!/usr/bin/env bash
# Configures the build users get in the folder DIR: GCC, optimised with debug information,
# with the standard library's own checks (container and view bounds, iterator misuse) on.
# scripts/run.sh builds it and scripts/test.sh tests it. Usage: configure-ship.sh DIR
# [CMAKE_OPTION...]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=$1
shift
# From a fresh cache: a folder configured before with another compiler would otherwise have
# its cache reset by CMake halfway, dropping the options below without a word.
cmake --fresh -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS "$@"
