#!/usr/bin/env bash
# Renders dist/icons/vorlix.svg into the PNG sizes beside it (the desktop's
# icon theme and the window's icon use them) and packs them into vorlix.ico
# (the Windows program's icon). Run it after changing the SVG and commit the
# PNGs and the .ico with it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" librsvg2-bin
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$root/dist/icons/vorlix.svg" \
        -o "$root/dist/icons/vorlix-$size.png"
done
# The Windows icon (built into vorlix.exe): the same PNGs in one .ico file.
python3 - "$root/dist/icons" <<'PY'
import struct, sys
folder = sys.argv[1]
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [open(f"{folder}/vorlix-{s}.png", "rb").read() for s in sizes]
offset = 6 + 16 * len(sizes)
head = struct.pack("<HHH", 0, 1, len(sizes))
for size, data in zip(sizes, images):
    head += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open(f"{folder}/vorlix.ico", "wb").write(head + b"".join(images))
PY
