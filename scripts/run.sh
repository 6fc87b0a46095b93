#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it on the demo
# FullFlash (made by `vorlix-cli sample` the first time). Arguments are
# passed on: `scripts/run.sh my.fls` opens that file instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLIX_BUILD_DIR:-$root/build-run}"
demo="$build/demo/vorlix-demo.fls"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVORLIX_BUILD_UI=ON -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" vorlix vorlix-cli

if [ ! -f "$demo" ]; then
    mkdir -p "$(dirname "$demo")"
    "$build/cli/vorlix-cli" sample "$demo"
    echo "Demo FullFlash written to $demo"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${OS:-}" != "Windows_NT" ]; then
    echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the editor's window" >&2
    echo "cannot be shown here. It is built at $build/ui/vorlix; run it on a machine" >&2
    echo "with a desktop session:  $build/ui/vorlix ${*:-$demo}" >&2
    exit 1
fi

if [ $# -gt 0 ]; then
    exec "$build/ui/vorlix" "$@"
fi
exec "$build/ui/vorlix" "$demo"
