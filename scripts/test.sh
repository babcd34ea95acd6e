#!/usr/bin/env bash
# Sets everything up, builds Tolvan with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang), runs every test through CTest (the end-to-end ones on a fresh Xvfb), then each
# fuzz target for a short, fixed time, then builds Tolvan as users get it (GCC, optimised)
# and runs the tests that need no display on that too, types expansions into real
# applications with that build (scripts/app-matrix.sh), then the engine's tests once more
# under ThreadSanitizer. Every build treats warnings as errors. Exits non-zero on any
# failure.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-20}
build=build-test

bash scripts/install-deps.sh --matrix

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTOLVAN_SANITIZE=ON -DTOLVAN_FUZZ=ON -DTOLVAN_BENCH=ON -DTOLVAN_WERROR=ON >/dev/null
cmake --build "$build"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
(cd "$build" && ctest --output-on-failure --timeout 300 -j "$(nproc)" -LE '^(e2e|ui)$')
# The windows' tests and the end-to-end tests run on a display of their own; the end-to-end
# ones race real applications, so a scenario that fails is run again, up to twice.
scripts/with-x.sh sh -c "cd '$build' && ctest --output-on-failure --timeout 300 -L '^(e2e|ui)$' --repeat until-pass:3"

status=0
shopt -s nullglob
for fuzzer in "$build"/fuzz/fuzz_*; do
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  seeds=tests/fuzz/seeds/${name#fuzz_}
  echo "fuzzing ${name#fuzz_} for ${FUZZ_SECONDS}s"
  if ! "$fuzzer" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$corpus/" -print_final_stats=0 "$corpus" \
        $( [[ -d $seeds ]] && echo "$seeds" ) >"$corpus/log" 2>&1; then
    echo "FAILED: $name"; tail -n 40 "$corpus/log"; status=1
  fi
  rm -rf "$corpus"
done

# The build users get. Its compiler and optimiser differ from the sanitizer build's, and so
# does what a mistake does there: a read of a destroyed temporary that one build never
# notices can crash the other. GCC's own warnings also see through optimised code.
ship=build-ship
bash scripts/configure-ship.sh "$ship" -DTOLVAN_WERROR=ON >/dev/null
cmake --build "$ship"
if ! (cd "$ship" && ctest --output-on-failure --timeout 300 -j "$(nproc)" -LE '^(e2e|ui)$'); then
  echo "FAILED: the tests of the build users get"; status=1
fi
# Chromium, FeatherPad, xterm and rxvt-unicode get the same expansions, typed and pasted.
if ! bash scripts/app-matrix.sh "$ship/bin/tolvan-cli"; then
  echo "FAILED: expansions into real applications"; status=1
fi

# The engine's threads under ThreadSanitizer.
tsan=build-tsan
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOLVAN_TSAN=ON -DTOLVAN_WERROR=ON >/dev/null
cmake --build "$tsan" --target tests_engine tests_simulation
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
if ! (cd "$tsan" && ctest --output-on-failure --timeout 600 -j "$(nproc)" -L '^(engine|simulation)$'); then
  echo "FAILED: the engine's tests under ThreadSanitizer"; status=1
fi
exit $status
