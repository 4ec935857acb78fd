#!/usr/bin/env bash
# Installs the build into a scratch prefix with `cmake --install` and checks that the
# programs, the desktop entry, metainfo, icons and manual pages land where the desktop
# looks for them, and that the installed tree passes AppStream's tree check.
#   install_tree.sh BUILD-DIR
set -euo pipefail

build=${1:?usage: $0 BUILD-DIR}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
prefix=/usr

DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || {
	cat "$scratch/install.log"
	exit 1
}

id=x_vnd.Vesk.dorva
expected=(
	"bin/dorva"
	"bin/dorva-render"
	"share/applications/$id.desktop"
	"share/metainfo/x_vnd.vesk.dorva.metainfo.xml"
	"share/icons/hicolor/scalable/apps/$id.svg"
	"share/man/man1/dorva.1.gz"
	"share/man/man1/dorva-render.1.gz"
	"share/dorva/holidays/jp.rules"
	"share/dorva/holidays/de.rules"
)
for size in 16 32 48 64 128 256; do
	expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done

failed=0
for path in "${expected[@]}"; do
	if [[ -f $root$prefix/$path ]]; then
		echo "ok: $prefix/$path"
	else
		echo "FAIL: $prefix/$path was not installed"
		failed=1
	fi
done
for program in dorva dorva-render; do
	if [[ ! -x $root$prefix/bin/$program ]]; then
		echo "FAIL: $prefix/bin/$program is not executable"
		failed=1
	fi
done

# Every PNG is the size its folder says.
for size in 16 32 48 64 128 256; do
	png=$root$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
	[[ -f $png ]] || continue
	# Width and height are the big-endian words at bytes 16 and 20 of a PNG.
	dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%d %d", ($1*16777216)+($2*65536)+($3*256)+$4, ($5*16777216)+($6*65536)+($7*256)+$8 }')
	if [[ $dims != "$size $size" ]]; then
		echo "FAIL: the ${size}x${size} icon is $dims"
		failed=1
	fi
done

# The manual pages open and have their sections.
check_sections() {
	local page=$root$prefix/share/man/man1/$1.1.gz section
	shift
	[[ -f $page ]] || return 0
	for section in "$@"; do
		if ! gzip -dc "$page" | grep -q "^\.SH \"\?$section\"\?$"; then
			echo "FAIL: the manual page $(basename "$page") has no section $section"
			failed=1
		fi
	done
}
check_sections dorva NAME SYNOPSIS DESCRIPTION OPTIONS ARGUMENTS FILES "EXIT STATUS"
check_sections dorva-render NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS"

if command -v appstreamcli >/dev/null 2>&1; then
	if output=$(appstreamcli validate-tree --no-net "$root$prefix" 2>&1); then
		echo "ok: appstreamcli validate-tree"
	else
		echo "FAIL: appstreamcli validate-tree:"
		echo "$output"
		failed=1
	fi
else
	echo "SKIP: appstreamcli is not installed; the tree check is left out"
	[[ $failed -eq 0 ]] && exit 77
fi
exit "$failed"
