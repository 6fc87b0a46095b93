#!/usr/bin/env bash
# Renders dist/icons/vorlix.svg into the PNG sizes beside it (the desktop's
# icon theme and the window's icon use them). Run it after changing the SVG
# and commit the PNGs with it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" librsvg2-bin
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$root/dist/icons/vorlix.svg" \
        -o "$root/dist/icons/vorlix-$size.png"
done
