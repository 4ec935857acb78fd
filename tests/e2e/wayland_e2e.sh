#!/usr/bin/env bash
# End-to-end on Wayland: runs dorva under a headless Weston compositor with Qt's own Wayland
# platform (no X display, no XWayland), opens a picture through dorva-send, takes a
# screenshot with Weston's screenshooter and finds the picture with its calendar band on it.
# The program is given no platform: the kit finds the compositor by itself.
# The kit's window geometry tests run there too: frames stay as the program set them.
#
#   tests/e2e/wayland_e2e.sh
#
# Environment:
#   DORVA, DORVA_SEND, DORVA_SAMPLE   the program, the command tool, the picture
#   DORVA_KIT_TESTS                   the kit's test program (its geometry tests run on Weston)
#   DORVA_E2E_KEEP=DIR                keep the screenshots and logs in DIR
#
# Exit status: 0 passed, 1 failed, 77 (skipped) when Weston, its screenshooter or Qt's
# Wayland platform is not installed.
#
# Weston's headless back end has no input devices, so its compositor offers no seat; Qt 6.4
# (Debian 12) then crashes as soon as a text field takes keyboard input or shows its cursor
# empty (QWaylandInputContext asks the missing seat for its text input). Nothing here types
# or opens a file panel: the picture comes through dorva-send.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
program=${DORVA:-$root/build/dorva}
send=${DORVA_SEND:-$(dirname "$program")/dorva-send}
sample=${DORVA_SAMPLE:-$root/data/sample.png}
kit_tests=${DORVA_KIT_TESTS:-}

# ---------------------------------------------------------------------------------------
# Outside: check the tools, then run again on a private session bus of its own.
if [[ -z ${DORVA_WAYLAND_E2E_BUS:-} ]]; then
	missing=()
	for tool in weston weston-screenshooter dbus-run-session convert python3 timeout; do
		command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
	done
	if ! compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null; then
		missing+=("qt6-wayland")
	fi
	if [[ ${#missing[@]} -gt 0 ]]; then
		echo "SKIP: the Wayland end-to-end suite needs ${missing[*]} (scripts/install-deps.sh installs them)"
		exit 77
	fi
	for file in "$program" "$send"; do
		[[ -x $file ]] || {
			echo "FAIL: $file is not built"
			exit 1
		}
	done
	exec timeout --kill-after=10 "${DORVA_E2E_TIMEOUT:-300}" \
		dbus-run-session -- env DORVA_WAYLAND_E2E_BUS=1 bash "$0" </dev/null
fi

# ---------------------------------------------------------------------------------------
# On the bus.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-wayland.XXXXXX")
mkdir -m 700 "$scratch/runtime" "$scratch/shots"
weston_pid=
dorva_pid=
failures=0

finish() {
	for pid in $dorva_pid $weston_pid; do
		if kill -0 "$pid" 2>/dev/null; then
			kill -TERM "$pid" 2>/dev/null
			wait "$pid" 2>/dev/null
		fi
	done
	if [[ -n ${DORVA_E2E_KEEP:-} ]]; then
		mkdir -p "$DORVA_E2E_KEEP"
		cp "$scratch"/*.png "$scratch"/*.log "$DORVA_E2E_KEEP"/ 2>/dev/null
	fi
	rm -rf "$scratch"
}
trap finish EXIT

say() { echo "  $*"; }
fail() {
	echo "  FAIL: $*"
	failures=$((failures + 1))
	return 1
}

# Waits until the command succeeds, for at most the given number of seconds.
wait_until() {
	local seconds=$1
	shift
	local end=$((SECONDS + seconds))
	until "$@"; do
		((SECONDS < end)) || return 1
		sleep 0.2
	done
}

# The program and everything it starts see Weston and nothing else: no X display, and no
# platform chosen for Qt, so that the kit finds the compositor by itself.
unset DISPLAY QT_QPA_PLATFORM WAYLAND_SOCKET
export XDG_RUNTIME_DIR=$scratch/runtime WAYLAND_DISPLAY=dorva-e2e

# The pixman renderer draws into memory, so that screenshots hold pixels; --debug lets
# weston-screenshooter use the screenshooter protocol, which Weston otherwise keeps to the
# clients it starts itself.
echo "== Weston"
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
	--socket="$WAYLAND_DISPLAY" --idle-time=0 --debug --no-config \
	--log="$scratch/weston.log" &
weston_pid=$!
if ! wait_until 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"; then
	fail "Weston did not start"
	sed 's/^/    /' "$scratch/weston.log"
	exit 1
fi
say "$(weston --version 2>&1 | head -n 1)"

# A screenshot of the whole output: weston-screenshooter writes it to the folder it runs in.
shot() {
	local out=$1 taken
	rm -f "$scratch"/shots/*.png
	(cd "$scratch/shots" && timeout 20 weston-screenshooter >/dev/null 2>&1) || return 1
	taken=$(find "$scratch/shots" -name '*.png' -print -quit)
	[[ -n $taken ]] && mv "$taken" "$out"
}

# The screen shows the picture with its band (and where its canvas begins).
shows_calendar() {
	shot "$scratch/screen.png" &&
		python3 "$here/pixels.py" screen "$scratch/screen.png" "$1" >"$scratch/pixels.log"
}

expect_calendar() {
	if wait_until 30 shows_calendar "$1"; then
		sed 's/^/  /' "$scratch/pixels.log"
		cp "$scratch/screen.png" "$scratch/$2"
	else
		sed 's/^/  /' "$scratch/pixels.log"
		fail "the screen does not show $(basename "$1") with its band"
	fi
}

# The compositor places a window where it likes when it first shows it, and keeps its
# corner there as it grows: started with the sample, the window is placed at its full size,
# so that a smaller picture opened later is seen whole.
echo "== the picture on Wayland"
"$program" "$sample" >"$scratch/dorva.log" 2>&1 &
dorva_pid=$!
if ! wait_until 30 "$send" --list-formats >/dev/null 2>&1; then
	fail "dorva did not come up on the bus"
	sed 's/^/    /' "$scratch/dorva.log"
	exit 1
fi
say "dorva $dorva_pid runs"
expect_calendar "$sample" picture.png

echo "== another picture through dorva-send"
second=$scratch/second.png
convert "$sample" -flop -resize '640x480!' "$second"
"$send" DATA refs=ref:"$second" || fail "dorva-send DATA failed"
expect_calendar "$second" second-picture.png

# The configuration window opens beside it; the screenshot is kept to look at.
"$send" conf || fail "dorva-send conf failed"
sleep 2
shot "$scratch/config.png" || fail "no screenshot with the configuration window"
kill -0 "$dorva_pid" 2>/dev/null || fail "dorva ended after conf"

echo "== quitting"
"$send" _QRQ || fail "dorva-send _QRQ failed"
if wait_until 20 bash -c "! kill -0 $dorva_pid 2>/dev/null"; then
	status=0
	wait "$dorva_pid" || status=$?
	dorva_pid=
	if [[ $status -eq 0 ]]; then
		say "dorva quit with status 0"
	else
		fail "dorva ended with status $status"
	fi
else
	fail "dorva still runs 20 s after _QRQ"
fi
if grep -Eqi 'segmentation|abort|could not|failed to' "$scratch/dorva.log"; then
	fail "dorva said: $(cat "$scratch/dorva.log")"
fi

# Frames, moves and screen points where the compositor places the windows.
echo "== window geometry on Wayland"
if [[ -n $kit_tests && -x $kit_tests ]]; then
	QT_QPA_PLATFORM=wayland timeout 120 "$kit_tests" --gtest_brief=1 \
		--gtest_filter='Scrolling.*' >"$scratch/kit_tests.log" 2>&1 ||
		fail "the kit's scrolling and geometry tests fail on Wayland: $(cat "$scratch/kit_tests.log")"
	grep -E '^\[  PASSED' "$scratch/kit_tests.log" | sed 's/^/  /'
else
	say "SKIP: no kit test program given (DORVA_KIT_TESTS)"
fi

echo "== $failures failed"
[[ $failures -eq 0 ]]
