#!/usr/bin/env bash
# Makes docs/readable-style.png: the calendar band in the plain and the readable style side
# by side, over a dark, a bright and a busy photograph.
#
#   scripts/make-style-comparison.sh [build-dir]
#
# The photographs are free of copyright restrictions and come from Debian's python3-skimage
# package, whose sample data names their sources: the Hubble Deep Field (NASA, public
# domain), "camera" (CC0, by the photographer Lav Varshney) and "grass" (CC0). The package
# is only downloaded and unpacked in a scratch folder (apt-get download), not installed.
# Needs dorva-render built in build-dir (default build) and ImageMagick.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
render=$build/dorva-render
[[ -x $render ]] || { echo "make-style-comparison.sh: build dorva-render first" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-styles.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && apt-get download python3-skimage >/dev/null \
	&& dpkg -x python3-skimage_*.deb unpacked)
samples=$scratch/unpacked/usr/lib/python3/dist-packages/skimage/data

# Each photograph is enlarged to 1800 pixels across, so that the dates are of a size one
# reads on a wall; the left half of the band (January to March and July to September) is
# cut out of each result, and the two styles are put side by side.
rows=()
# Each photograph with the edge its band lies along: the one --band auto chooses for it.
for photo in hubble_deep_field.jpg:bottom camera.png:top grass.png:bottom; do
	edge=${photo#*:}
	photo=${photo%:*}
	name=${photo%.*}
	convert "$samples/$photo" -resize 1800x -colorspace sRGB -type TrueColor "$scratch/$name.png"
	height=$(identify -format '%h' "$scratch/$name.png")
	# The band is a third of the width high, 600 pixels.
	top=$((height - 600))
	[[ $edge == top ]] && top=0
	for style in plain readable; do
		QT_QPA_PLATFORM=offscreen "$render" --style "$style" --band "$edge" "$scratch/$name.png" \
			-o "$scratch/$name-$style.png" >/dev/null 2>&1
		convert "$scratch/$name-$style.png" -crop "900x600+0+$top" +repage -resize 50% \
			"$scratch/$name-$style-cut.png"
	done
	convert "$scratch/$name-plain-cut.png" "$scratch/$name-readable-cut.png" -bordercolor white \
		-border 4 +append "$scratch/$name-row.png"
	rows+=("$scratch/$name-row.png")
done
convert "${rows[@]}" -append -strip -colors 256 "$root/docs/readable-style.png"
echo "make-style-comparison.sh: wrote docs/readable-style.png"
