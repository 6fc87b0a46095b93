#!/usr/bin/env bash
# Builds the fuzz targets (clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), one
# after the other. Prints each target's runs and coverage. Exits non-zero
# when a target finds an input that crashes it, breaks one of its checks,
# leaks or hangs; that input is left in fuzz-findings/<target>/.
#
#   scripts/fuzz.sh [SECONDS]
#
# Each target starts from the inputs found by earlier runs in this build
# folder, the inputs that fuzz_seeds makes with the test image builder, and
# the files in fuzz/seeds/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

# One target a line: its name and the largest input it is given.
targets=(
    "fuzz_flash 65536"
    "fuzz_picture 32768"
    "fuzz_picture_file 65536"
    "fuzz_settings 8192"
    "fuzz_patch 65536"
)

scripts/install-deps.sh clang libclang-rt-14-dev

build="${VORLIX_FUZZ_BUILD:-build-fuzz}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVORLIX_FUZZ=ON -DVORLIX_BUILD_UI=OFF -DVORLIX_BUILD_TESTS=OFF \
      -DVORLIX_BUILD_BENCH=OFF >/dev/null
names=()
for t in "${targets[@]}"; do names+=("${t%% *}"); done
ninja -C "$build" -j "$(nproc 2>/dev/null || echo 2)" fuzz_seeds "${names[@]}"

rm -rf "$build/seeds"
"$build/fuzz/fuzz_seeds" "$build/seeds"
mkdir -p "$build/logs"

# The files a target hands to the program lie in memory where there is
# some: the settings store flushes every value to disk.
work=$(mktemp -d /dev/shm/vorlix-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt is built without frame pointers: past its first frame the fast unwinder
# reads arbitrary words, so every allocation it makes would add a new stack
# to the sanitizer's store and a long run would grow by gigabytes. Two frames
# of each allocation are kept; run a finding's input by hand for more.
export ASAN_OPTIONS="malloc_context_size=2${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
failed=0
for t in "${targets[@]}"; do
    name="${t%% *}"
    maxLen="${t##* }"
    corpus="$build/corpus/$name"
    findings="fuzz-findings/$name"
    log="$build/logs/$name.log"
    mkdir -p "$corpus" "$findings"
    seeds=()
    [ -d "$build/seeds/$name" ] && seeds+=("$build/seeds/$name")
    [ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
    status=0
    "$build/fuzz/$name" -max_total_time="$seconds" -max_len="$maxLen" -timeout=30 \
        -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
    echo "$name: ${runs:-0} runs, coverage ${cov:-?} edges (${ft:-?} features), corpus ${corp:-?} inputs"
    # libFuzzer names what it found crash-, leak-, timeout- or oom-; a
    # slow-unit- file is only a note.
    found=$(find "$findings" -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
                -o -name 'oom-*' | head -n 1)
    if [ "$status" -ne 0 ] || [ -n "$found" ]; then
        failed=1
        echo "$name: FINDING (exit status $status); input in $findings/, log in $log" >&2
        grep -E -A40 '^==[0-9]+==ERROR|FUZZ CHECK FAILED|runtime error|ERROR: libFuzzer' "$log" \
            | head -n 60 >&2 || tail -n 40 "$log" >&2
    else
        rm -f "$findings"/slow-unit-*
        rmdir "$findings" 2>/dev/null || true
    fi
done
rmdir fuzz-findings 2>/dev/null || true
exit "$failed"
