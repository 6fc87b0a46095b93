#!/usr/bin/env bash
# Times `vorlix-cli list` of a 16 MiB FullFlash with 3000 pictures (by tables,
# the model's settings already stored) against `md5sum` of the same file, and
# prints its peak memory; then the same for an S55 dump whose image spans
# 20 MiB. The targets: the listing takes at most twice as long as md5sum,
# and at most 48 MiB for the 16 MiB image (twice that for a larger one).
#
# Usage: scripts/bench_cli_list.sh [BUILD_DIR]   (default: build-bench)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-bench}"
if [[ ! -x "$build/cli/vorlix-cli" || ! -x "$build/bench/make_list_flash" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLIX_BUILD_UI=OFF \
        -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_BENCH=ON >/dev/null
    ninja -C "$build" -j2 vorlix-cli make_list_flash >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export VORLIX_SETTINGS="$work/settings.ini"
export QT_QPA_PLATFORM=offscreen
runs=10

# Mean wall time of a command over the runs, in milliseconds.
mean_ms() {
    local start end
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    echo $(((end - start) / runs / 1000000))
}
# Peak resident memory of one run in KiB, where GNU time is at hand.
peak_kib() {
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
    else
        echo "?"
    fi
}

# The 16 MiB image (a dump at FullFlash 0), then the S55's 20 MiB image.
for kind in c55 s55; do
    flash="$work/list-$kind.fls"
    if [[ $kind == s55 ]]; then
        "$build/bench/make_list_flash" --s55 "$flash"
    else
        "$build/bench/make_list_flash" "$flash"
    fi
    # The first open meets the model for the first time and stores its settings.
    "$build/cli/vorlix-cli" list "$flash" >/dev/null 2>&1
    rows=$("$build/cli/vorlix-cli" list "$flash" | wc -l)
    md5sum "$flash" >/dev/null  # the file in the page cache for both
    md5=$(mean_ms md5sum "$flash")
    list=$(mean_ms "$build/cli/vorlix-cli" list "$flash")
    peak=$(peak_kib "$build/cli/vorlix-cli" list "$flash")
    echo "$kind: rows listed:    $rows"
    echo "$kind: md5sum:         ${md5} ms"
    echo "$kind: vorlix-cli list: ${list} ms, peak ${peak} KiB"
    awk -v l="$list" -v m="$md5" -v k="$kind" \
        'BEGIN { printf "%s: ratio:          %.1f (target <= 2)\n", k, (m > 0 ? l / m : 0) }'
done
