#!/usr/bin/env bash
# Validates the desktop entry, the AppStream metainfo and the manual pages with the tools
# that the desktops themselves follow:
#   validate.sh DESKTOP-FILE METAINFO-FILE MANUAL-PAGE...
# Exits 77 (skipped) when a validator is not installed, after running the ones that are.
set -uo pipefail

if [[ $# -lt 3 ]]; then
	echo "usage: $0 DESKTOP-FILE METAINFO-FILE MANUAL-PAGE..." >&2
	exit 2
fi
desktop=$1 metainfo=$2
shift 2
manuals=("$@")
failed=0
missing=()

if command -v desktop-file-validate >/dev/null 2>&1; then
	# It prints nothing for a valid file; hints and warnings count as failures here too.
	output=$(desktop-file-validate "$desktop" 2>&1)
	status=$?
	if [[ $status -ne 0 || -n $output ]]; then
		echo "FAIL: desktop-file-validate $desktop (status $status):"
		echo "$output"
		failed=1
	else
		echo "ok: desktop-file-validate $(basename "$desktop")"
	fi
else
	missing+=(desktop-file-validate)
fi

if command -v appstreamcli >/dev/null 2>&1; then
	# Errors and warnings fail; the info that the id's first part is no known domain is
	# expected (it comes from the application's signature, not from a domain).
	if output=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
		echo "ok: appstreamcli validate --no-net $(basename "$metainfo")"
	else
		echo "FAIL: appstreamcli validate --no-net $metainfo:"
		echo "$output"
		failed=1
	fi
	if grep -q '^W:' <<<"$output"; then
		echo "FAIL: appstreamcli warns about $metainfo:"
		echo "$output"
		failed=1
	fi
else
	missing+=(appstreamcli)
fi

if command -v groff >/dev/null 2>&1; then
	# groff reports every problem of a page's markup on its error output.
	for manual in "${manuals[@]}"; do
		output=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$manual" 2>&1)
		if [[ -n $output ]]; then
			echo "FAIL: groff warns about $manual:"
			echo "$output"
			failed=1
		else
			echo "ok: groff -man -ww $(basename "$manual")"
		fi
	done
else
	missing+=(groff)
fi

if [[ $failed -ne 0 ]]; then
	exit 1
fi
if [[ ${#missing[@]} -gt 0 ]]; then
	echo "SKIP: not installed: ${missing[*]} (scripts/install-deps.sh installs them)"
	exit 77
fi
exit 0
