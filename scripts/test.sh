#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: first the
# normal build (core, command line, window, benchmarks built but not run),
# then its Debian package, then the Windows programs under Wine
# (scripts/test-windows.sh), then every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the search-thread and window tests under
# ThreadSanitizer, and last every fuzz target for a short while
# (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
# Tests never touch a user's settings; each test names its own store, and
# anything that does not falls back to this one.
export VORLIX_SETTINGS="${TMPDIR:-/tmp}/vorlix-test-settings-$$.ini"
trap 'rm -f "$VORLIX_SETTINGS"' EXIT

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLIX_BUILD_UI=ON \
      -DVORLIX_BUILD_BENCH=ON
ninja -C build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The Debian package of that build: made and checked, installed, run as a
# user would, removed.
scripts/package.sh build
scripts/package-smoke.sh build

# The Windows programs under Wine, when Qt for Windows is in its cache
# (scripts/build-windows.sh builds it once, in about an hour); without it
# this says that it skipped.
scripts/test-windows.sh

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORLIX_SANITIZE=ON \
      -DVORLIX_BUILD_UI=ON -DVORLIX_BUILD_BENCH=OFF
ninja -C build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The search thread and the window under ThreadSanitizer: starting, stopping
# and restarting a search, closing and refreshing during one. What Qt does
# inside its own classes is suppressed by name (scripts/tsan-suppressions.txt).
tsanTests='^(searchpic_test|unit1_test|unit3_test|commands_test)$'
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLIX_SANITIZE_THREAD=ON \
      -DVORLIX_BUILD_UI=ON -DVORLIX_BUILD_BENCH=OFF
ninja -C build-tsan -j "$jobs" searchpic_test unit1_test unit3_test commands_test
TSAN_OPTIONS="suppressions=$PWD/scripts/tsan-suppressions.txt second_deadlock_stack=1" \
    ctest --test-dir build-tsan -R "$tsanTests" --output-on-failure -j "$jobs"

# Every fuzz target for about 20 seconds.
scripts/fuzz.sh 20
