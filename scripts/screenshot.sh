#!/usr/bin/env bash
# Makes the README's pictures in docs/: builds the editor, writes the demo
# FullFlash, and renders offscreen, with the picture at PIT 670010 replaced
# and the patch generated, the window as maximised on a 1600 x 1000 screen
# with the panes zoomed to fit (screenshot.png), the gallery (gallery.png)
# and the pixel viewer (viewer.png). No display is needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLIX_BUILD_DIR:-$root/build-run}"
docs="${1:-$root/docs}"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVORLIX_BUILD_UI=ON -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" vorlix-cli vorlix-screenshot

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The demo's settings and the editor's go to a throw-away file.
export VORLIX_SETTINGS="$work/vorlix.ini"
"$build/cli/vorlix-cli" sample "$work/vorlix-demo.fls"

mkdir -p "$docs"
QT_QPA_PLATFORM=offscreen "$build/ui/vorlix-screenshot" "$work/vorlix-demo.fls" \
    "$docs/screenshot.png" --size 1600x1000 --zoom 0 \
    --gallery "$docs/gallery.png" --viewer "$docs/viewer.png"
echo "Screenshots written to $docs"
