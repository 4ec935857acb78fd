#!/usr/bin/env bash
# Renders the program's icon, desktop/icons/x_vnd.Vesk.dorva.svg, to the PNG sizes that are
# installed beside it (desktop/icons/NxN/x_vnd.Vesk.dorva.png). The PNGs are committed; run
# this again after changing the SVG. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
icons=$root/desktop/icons
name=x_vnd.Vesk.dorva

if ! command -v rsvg-convert >/dev/null 2>&1; then
	echo "render-icons.sh: rsvg-convert is missing (apt-get install librsvg2-bin)" >&2
	exit 1
fi

for size in 16 32 48 64 128 256; do
	mkdir -p "$icons/${size}x${size}"
	rsvg-convert --width "$size" --height "$size" --format png \
		--output "$icons/${size}x${size}/$name.png" "$icons/$name.svg"
	echo "render-icons.sh: wrote desktop/icons/${size}x${size}/$name.png"
done
