#!/usr/bin/env bash
# Makes docs/screenshot.png for the README: builds the editor, writes the
# demo FullFlash, and renders the window offscreen with the picture at PIT
# 670010 replaced and the patch generated. No display is needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLIX_BUILD_DIR:-$root/build-run}"
out="${1:-$root/docs/screenshot.png}"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVORLIX_BUILD_UI=ON -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" vorlix-cli vorlix-screenshot

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The demo's settings and the editor's go to a throw-away file.
export VORLIX_SETTINGS="$work/vorlix.ini"
"$build/cli/vorlix-cli" sample "$work/vorlix-demo.fls"

mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen "$build/ui/vorlix-screenshot" "$work/vorlix-demo.fls" "$out"
echo "Screenshot written to $out"
