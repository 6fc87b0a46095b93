#!/usr/bin/env bash
# Times `vorlix-cli list` of a 16 MiB FullFlash with 3000 pictures (by tables,
# the model's settings already stored) against `md5sum` of the same file.
# The target: the whole listing process takes at most three times as long.
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
flash="$work/list16.fls"
export VORLIX_SETTINGS="$work/settings.ini"
export QT_QPA_PLATFORM=offscreen

"$build/bench/make_list_flash" "$flash"
# The first open meets the model for the first time and stores its settings.
"$build/cli/vorlix-cli" list "$flash" >/dev/null 2>&1
rows=$("$build/cli/vorlix-cli" list "$flash" | wc -l)
echo "rows listed: $rows"

runs=10
if command -v hyperfine >/dev/null; then
    hyperfine --warmup 2 --runs "$runs" "md5sum '$flash'" "'$build/cli/vorlix-cli' list '$flash'"
    exit 0
fi

# Mean wall time of a command over the runs, in milliseconds.
mean_ms() {
    local start end
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    echo $(((end - start) / runs / 1000000))
}
md5sum "$flash" >/dev/null  # the file in the page cache for both
md5=$(mean_ms md5sum "$flash")
list=$(mean_ms "$build/cli/vorlix-cli" list "$flash")
echo "md5sum:          ${md5} ms"
echo "vorlix-cli list: ${list} ms"
awk -v l="$list" -v m="$md5" 'BEGIN { printf "ratio:           %.1f (target <= 3)\n", (m > 0 ? l / m : 0) }'
