#!/usr/bin/env bash
# Without a display the program says so in one line, naming what it tried, and ends with
# status 1: no abort, no core dump, no advice about Qt's plug-ins.
#   tests/e2e/no_display.sh DORVA
set -uo pipefail

if [[ $# -ne 1 ]]; then
	echo "usage: $0 DORVA" >&2
	exit 2
fi
program=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-nodisplay.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# An empty runtime folder: no Wayland compositor's socket is found there by default.
mkdir -m 700 "$scratch/runtime"
failures=0

fail() {
	echo "FAIL: $*"
	failures=$((failures + 1))
}

# Runs the program with a picture to open, no display in the environment and the given
# variables on top; checks the status and the one line, which must match the pattern.
expect_no_display() {
	local pattern=$1
	shift
	local status=0
	env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM \
		XDG_RUNTIME_DIR="$scratch/runtime" "$@" \
		timeout 60 "$program" "$scratch/picture.png" >"$scratch/out" 2>"$scratch/err" || status=$?
	echo "with ${*:-nothing set}: status $status: $(cat "$scratch/err")"
	[[ $status -eq 1 ]] || fail "the status is $status, not 1"
	[[ $(wc -l <"$scratch/err") -eq 1 ]] || fail "standard error holds $(wc -l <"$scratch/err") lines, not one"
	grep -Eq "^$(basename "$program"): no display can be opened: $pattern" "$scratch/err" ||
		fail "the line does not name what was tried ($pattern)"
	if grep -Eqi 'plugin|reinstall' "$scratch/err"; then
		fail "the line speaks of Qt's plug-ins"
	fi
	[[ ! -s $scratch/out ]] || fail "standard output is not empty"
}

# A display number that no X server of this machine has.
free_display=99
while [[ -e /tmp/.X11-unix/X$free_display || -e /tmp/.X$free_display-lock ]]; do
	free_display=$((free_display + 1))
done

expect_no_display 'DISPLAY is not set; WAYLAND_DISPLAY is not set and wayland-0 has no compositor at .*/runtime/wayland-0$'
expect_no_display "DISPLAY=:$free_display cannot be opened; WAYLAND_DISPLAY=wayland-7 has no compositor" \
	DISPLAY=":$free_display" WAYLAND_DISPLAY=wayland-7
expect_no_display 'QT_QPA_PLATFORM=xcb: DISPLAY is not set$' QT_QPA_PLATFORM=xcb

[[ $failures -eq 0 ]] && echo "ok"
[[ $failures -eq 0 ]]
