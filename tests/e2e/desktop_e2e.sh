#!/usr/bin/env bash
# End-to-end: runs dorva on a virtual X display and uses it as a person would, with real
# input events (xdotool), screenshots (ImageMagick's import) and the window manager's own
# messages, then checks what is on screen.
#
#   tests/e2e/desktop_e2e.sh
#
# Environment:
#   DORVA                  the program (default: build/dorva in the repository root)
#   DORVA_E2E_INSTALLED=1  use the installed program (dorva on PATH, normally /usr/bin/dorva)
#   DORVA_SAMPLE           the picture to open (default: data/sample.png)
#   DORVA_SEND             the command tool (default: dorva-send beside the program, or on PATH)
#   DORVA_E2E_KEEP=DIR     keep the screenshots in DIR
#
# Exit status: 0 when every step passed or was skipped, 1 when a step failed, 77 (skipped)
# when the display tools are not installed. Steps that need a feature the build does not
# have yet, or a window manager, print SKIP and do not count as failures.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

if [[ ${DORVA_E2E_INSTALLED:-0} == 1 ]]; then
	program=$(command -v dorva || true)
else
	program=${DORVA:-$root/build/dorva}
fi
sample=${DORVA_SAMPLE:-$root/data/sample.png}

# ---------------------------------------------------------------------------------------
# Outside the display: check the tools, then run this script again on a virtual display.
if [[ -z ${DORVA_E2E_DISPLAY_UP:-} ]]; then
	missing=()
	for tool in xvfb-run xauth xdotool xprop import convert python3 timeout; do
		command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
	done
	if [[ ${#missing[@]} -gt 0 ]]; then
		echo "SKIP: the end-to-end suite needs ${missing[*]} (scripts/install-deps.sh installs them)"
		exit 77
	fi
	if [[ -z $program || ! -x $program ]]; then
		echo "FAIL: the program ${program:-dorva} is not there (build it, or install it for DORVA_E2E_INSTALLED=1)"
		exit 1
	fi
	scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-e2e.XXXXXX")
	trap 'rm -rf "$scratch"' EXIT
	mkdir -m 700 "$scratch/runtime" "$scratch/config"
	# The program draws on the X display, never off screen, and keeps its runtime files and
	# any settings of the platform out of the user's home.
	unset QT_QPA_PLATFORM WAYLAND_DISPLAY
	export XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config
	export DORVA_E2E_DISPLAY_UP=1 DORVA_E2E_SCRATCH=$scratch DORVA_E2E_PROGRAM=$program
	# Each step has its own deadlines; this outer limit only guards against the display
	# server itself hanging.
	timeout --kill-after=10 "${DORVA_E2E_TIMEOUT:-420}" \
		xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" </dev/null
	status=$?
	if [[ -n ${DORVA_E2E_KEEP:-} ]]; then
		mkdir -p "$DORVA_E2E_KEEP"
		cp "$scratch"/*.png "$DORVA_E2E_KEEP"/ 2>/dev/null || true
	fi
	exit "$status"
fi

# ---------------------------------------------------------------------------------------
# On the display.
scratch=$DORVA_E2E_SCRATCH
program=$DORVA_E2E_PROGRAM
failures=0
skips=0
pid=
window=
wm_pid=

now() { date +%s.%N; }
deadline() { awk -v a="$(now)" -v s="$1" 'BEGIN { printf "%.3f", a + s }'; }
before() { awk -v a="$(now)" -v b="$1" 'BEGIN { exit !(a < b) }'; }

say() { echo "  $*"; }
fail() {
	echo "  FAIL: $*"
	return 1
}

# Waits until the command succeeds, trying again every tenth of a second, for at most the
# given number of seconds.
wait_until() {
	local seconds=$1
	shift
	local limit
	limit=$(deadline "$seconds")
	while before "$limit"; do
		"$@" && return 0
		sleep 0.1
	done
	"$@"
}

# Starts the program with the given arguments and waits for its window: sets pid and window.
start_program() {
	local log=$scratch/program.$((++starts)).log
	"$program" "$@" >"$log" 2>&1 &
	pid=$!
	window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
	if [[ -z $window ]]; then
		echo "  the program's output:"
		sed 's/^/    /' "$log"
		fail "no window of the program within 30 s"
		return 1
	fi
	say "window $window of process $pid"
}
starts=0

title_is() { [[ $(xdotool getwindowname "$1" 2>/dev/null) == "$2" ]]; }

wait_title() {
	if wait_until 20 title_is "$window" "$1"; then
		say "title \"$1\""
	else
		fail "the title is \"$(xdotool getwindowname "$window" 2>/dev/null)\", not \"$1\""
	fi
}

# The window's size in pixels, "WIDTHxHEIGHT".
window_size() {
	xdotool getwindowgeometry --shell "$1" 2>/dev/null |
		awk -F= '$1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 } END { if (w == "") exit 1; print w "x" h }'
}
size_is() { [[ $(window_size "$1") == "$2" ]]; }

wait_size() {
	if wait_until "${3:-20}" size_is "$1" "$2"; then
		say "window size $2"
	else
		fail "the window is $(window_size "$1"), not $2"
	fi
}

# Screenshot of a window once it has stopped changing (two in a row the same).
shot() { timeout 20 import -window "$1" -define png:exclude-chunk=date,time "$2" 2>/dev/null; }
settled_shot() {
	local target=$1 out=$2 limit
	shot "$target" "$out.a.png" || return 1
	limit=$(deadline 10)
	while before "$limit"; do
		sleep 0.2
		shot "$target" "$out.b.png" || return 1
		if cmp -s "$out.a.png" "$out.b.png"; then
			break
		fi
		mv "$out.b.png" "$out.a.png"
	done
	mv "$out.a.png" "$out"
	rm -f "$out.b.png"
}

# A screenshot that differs from the given one, once it has settled.
changed_shot() {
	local target=$1 old=$2 out=$3 limit
	limit=$(deadline 10)
	while before "$limit"; do
		shot "$target" "$out" || return 1
		cmp -s "$old" "$out" || break
		sleep 0.1
	done
	settled_shot "$target" "$out"
}

pixels() { python3 "$here/pixels.py" "$@" | sed 's/^/  /'; return "${PIPESTATUS[0]}"; }

program_running() { kill -0 "$pid" 2>/dev/null; }
program_ended() { ! kill -0 "$pid" 2>/dev/null; }

# Closes the main window as its close button does (WM_DELETE_WINDOW) and checks that the
# program ends with status 0.
close_program() {
	if ! python3 "$here/xclient.py" close "$window"; then
		fail "could not send WM_DELETE_WINDOW"
		return 1
	fi
	if ! wait_until 20 program_ended; then
		fail "the program still runs 20 s after its window was closed"
		return 1
	fi
	local status=0
	wait "$pid" || status=$?
	pid=
	if [[ $status -ne 0 ]]; then
		fail "the program ended with status $status"
		return 1
	fi
	say "closed; the program ended with status 0"
}

# Ends whatever a failed step left running.
stop_program() {
	if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
		kill -TERM "$pid" 2>/dev/null
		wait_until 5 program_ended || kill -KILL "$pid" 2>/dev/null
		wait "$pid" 2>/dev/null
	fi
	pid=
}

# Another window of the program than its main window (a menu, a dialog): sets other.
other=
find_other_window() {
	other=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" | head -n 1)
	[[ -n $other ]]
}

# Drags with the left button from (x, y) by (dx, dy) in the window's coordinates, in
# small moves as a hand would.
drag() {
	local target=$1 x=$2 y=$3 dx=$4 dy=$5 i
	xdotool mousemove --window "$target" "$x" "$y" mousedown 1
	for i in 1 2 3 4 5 6 7 8 9 10; do
		xdotool mousemove --window "$target" $((x + dx * i / 10)) $((y + dy * i / 10))
	done
	xdotool mouseup 1
}

# ---------------------------------------------------------------------------------------
# Steps. Each returns 0 (passed), 1 (failed) or 77 (skipped).

# The picture on the command line: title, size, and the calendar band over it.
step_picture() {
	start_program "$sample" || return 1
	wait_title "sample.png[800x600]" || return 1
	wait_size "$window" 814x634 || return 1
	settled_shot "$window" "$scratch/picture.png" || return 1
	pixels calendar "$scratch/picture.png" "$sample" || return 1
}

# The resize grip makes the window smaller; the scroll bars then move the picture, which is
# drawn again, band and all, at the new place.
step_grip_and_scroll() {
	program_running || { fail "the program of the previous step is not running"; return 1; }
	drag "$window" 807 627 -300 -250
	wait_size "$window" 514x384 || return 1
	settled_shot "$window" "$scratch/small.png" || return 1
	local offset
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/small.png") ||
		{ fail "$offset"; return 1; }
	[[ $offset == "0 0" ]] || { fail "the smaller window shows the picture from $offset, not 0 0"; return 1; }
	say "the smaller window shows the picture's top left corner"

	# A click in the vertical bar's trough, above its lower arrow: one page down.
	xdotool mousemove --window "$window" 506 340 click 1
	changed_shot "$window" "$scratch/small.png" "$scratch/down.png" || return 1
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/down.png") ||
		{ fail "$offset"; return 1; }
	read -r dx dy <<<"$offset"
	[[ $dx -eq 0 && $dy -gt 0 ]] || { fail "after scrolling down the canvas shows $offset"; return 1; }
	say "scrolled down: the canvas shows the picture from (0, $dy)"

	# The same in the horizontal bar, left of its right arrow: one page right.
	xdotool mousemove --window "$window" 470 376 click 1
	changed_shot "$window" "$scratch/down.png" "$scratch/right.png" || return 1
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/right.png") ||
		{ fail "$offset"; return 1; }
	read -r dx dy2 <<<"$offset"
	[[ $dx -gt 0 && $dy2 -eq $dy ]] || { fail "after scrolling right the canvas shows $offset"; return 1; }
	say "scrolled right: the canvas shows the picture from ($dx, $dy)"

	# The grip cannot make the window larger than the picture.
	drag "$window" 507 377 400 400
	wait_size "$window" 814x634 || return 1
}

# The mouse wheel over the picture scrolls it, by the bars' small steps (10 pixels a notch):
# buttons 4 and 5 are the vertical wheel, 6 and 7 the horizontal one, and Shift turns the
# vertical wheel sideways.
step_wheel() {
	program_running || { fail "the program of the previous step is not running"; return 1; }
	drag "$window" 807 627 -300 -250
	wait_size "$window" 514x384 || return 1
	settled_shot "$window" "$scratch/wheel-start.png" || return 1
	local offset
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/wheel-start.png") ||
		{ fail "$offset"; return 1; }
	[[ $offset == "0 0" ]] || { fail "the smaller window shows the picture from $offset, not 0 0"; return 1; }

	# Three notches down, over the middle of the picture.
	xdotool mousemove --window "$window" 250 200 click --repeat 3 --delay 50 5
	changed_shot "$window" "$scratch/wheel-start.png" "$scratch/wheel-down.png" || return 1
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/wheel-down.png") ||
		{ fail "$offset"; return 1; }
	[[ $offset == "0 30" ]] || { fail "three notches down show the picture from $offset, not 0 30"; return 1; }
	say "three notches down: the canvas shows the picture from (0, 30)"

	# Two notches right with the horizontal wheel, one more with Shift and the vertical one.
	xdotool click --repeat 2 --delay 50 7
	xdotool keydown shift click 5 keyup shift
	changed_shot "$window" "$scratch/wheel-down.png" "$scratch/wheel-right.png" || return 1
	settled_shot "$window" "$scratch/wheel-right.png" || return 1
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/wheel-right.png") ||
		{ fail "$offset"; return 1; }
	[[ $offset == "30 30" ]] || { fail "three notches right show the picture from $offset, not 30 30"; return 1; }
	say "three notches right: the canvas shows the picture from (30, 30)"

	# Back up past the top: the picture stops at its edge.
	xdotool click --repeat 5 --delay 50 4
	changed_shot "$window" "$scratch/wheel-right.png" "$scratch/wheel-up.png" || return 1
	settled_shot "$window" "$scratch/wheel-up.png" || return 1
	offset=$(python3 "$here/pixels.py" offset "$scratch/picture.png" "$scratch/wheel-up.png") ||
		{ fail "$offset"; return 1; }
	[[ $offset == "30 0" ]] || { fail "five notches up show the picture from $offset, not 30 0"; return 1; }
	say "five notches up: the canvas shows the picture from (30, 0)"

	drag "$window" 507 377 400 400
	wait_size "$window" 814x634
}

step_close() {
	program_running || { fail "the program of the previous step is not running"; return 1; }
	close_program
}

# A file that holds no picture leaves the canvas empty; a picture after it is opened.
step_not_a_picture() {
	local text=$scratch/notes.txt
	printf 'not a picture\n' >"$text"
	start_program "$text" || return 1
	# The title is the empty canvas's from the start: wait for the window to settle, then
	# see that the file changed nothing.
	settled_shot "$window" "$scratch/empty.png" || return 1
	wait_title "dorva ver.0.00" || return 1
	wait_size "$window" 201x151 || return 1
	pixels empty "$scratch/empty.png" || return 1
	close_program || return 1

	start_program "$text" "$sample" || return 1
	wait_title "sample.png[800x600]" || return 1
	close_program
}

# A visible window whose name matches the pattern: sets found.
found=
title_is_found() {
	found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
	[[ -n $found ]]
}

# The main window's band, in a new screenshot, is the colour AARRGGBB over the picture.
band_is() {
	shot "$window" "$1" && python3 "$here/pixels.py" band "$1" "$sample" "$2" >/dev/null
}

# Config > color through the menus, a colour typed into the first field, "set".
step_configure() {
	if [[ ! -f $root/config/configwindow.cpp ]]; then
		echo "  SKIP: this build has no configuration window yet"
		return 77
	fi
	start_program "$sample" || return 1
	wait_title "sample.png[800x600]" || return 1
	settled_shot "$window" "$scratch/before-config.png" || return 1

	# The menu bar runs along the window's top, above y = 20; its second title is "Config".
	local items config_x
	items=$(python3 "$here/menubar.py" "$scratch/before-config.png") || { fail "$items"; return 1; }
	config_x=$(awk '{ print $2 }' <<<"$items")
	[[ -n $config_x ]] || { fail "the menu bar shows fewer than two titles ($items)"; return 1; }
	say "menu titles at x = $items"
	xdotool mousemove --window "$window" "$config_x" 10 click 1

	# Its menu is a window of its own; "color" is its only item.
	wait_until 10 find_other_window || { fail "the Config menu did not open"; return 1; }
	xdotool mousemove --window "$other" 20 10 click 1

	local config
	if ! wait_until 20 title_is_found '^config$'; then
		fail "no window \"config\" appeared"
		return 1
	fi
	config=$found
	say "the configuration window $config is open"
	settled_shot "$config" "$scratch/config.png" || return 1

	# The first field is the band's colour (its top byte is the alpha): a translucent blue.
	xdotool mousemove --window "$config" 160 35 click 1
	xdotool key --clearmodifiers ctrl+a
	xdotool type --delay 20 c00000ff
	xdotool key Return
	# "set", at the window's bottom right.
	xdotool mousemove --window "$config" 220 235 click 1

	if ! wait_until 20 band_is "$scratch/after-config.png" c00000ff; then
		pixels band "$scratch/after-config.png" "$sample" c00000ff
		fail "the band did not turn blue"
		return 1
	fi
	pixels band "$scratch/after-config.png" "$sample" c00000ff
	close_program
}

# The file exists, is not empty and has kept its size since the last look.
written_size=
file_settled() {
	local size
	size=$(stat -c %s "$1" 2>/dev/null) || return 1
	if [[ $size -gt 0 && $size == "$written_size" ]]; then
		return 0
	fi
	written_size=$size
	return 1
}

# Export through the command tool: the canvas's picture, without the band, in a file.
step_export() {
	local send=${DORVA_SEND:-}
	if [[ -z $send ]]; then
		if [[ -x $(dirname "$program")/dorva-send ]]; then
			send=$(dirname "$program")/dorva-send
		else
			send=$(command -v dorva-send || true)
		fi
	fi
	if [[ -z $send ]]; then
		echo "  SKIP: there is no dorva-send yet"
		return 77
	fi
	start_program "$sample" || return 1
	wait_title "sample.png[800x600]" || return 1
	# Export as PNG: the program shows its save panel titled with the format's name, and a
	# script answers it with SAVE as the panel itself would.
	local index
	index=$("$send" --list-formats | awk -F '\t' '$3 == "image/png" { print $1; exit }')
	[[ -n $index ]] || { fail "no PNG format in the export catalogue"; return 1; }
	"$send" fiwr "format_no=int16:$index" || { fail "$send fiwr failed"; return 1; }
	wait_until 20 find_other_window || { fail "no save panel appeared"; return 1; }
	say "save panel \"$(xdotool getwindowname "$other")\""
	local out=$scratch/exported.png
	"$send" SAVE "directory=ref:$scratch" "name=string:exported.png" \
		|| { fail "$send SAVE failed"; return 1; }
	written_size=
	wait_until 20 file_settled "$out" || { fail "$out was not written"; return 1; }
	local mime format=png
	mime=$(python3 -c 'import os, sys; print(os.getxattr(sys.argv[1], "user.mime_type").decode().rstrip("\0"))' "$out" 2>/dev/null)
	if [[ $mime == image/png ]]; then
		say "written as $mime"
	else
		say "no file type on $out (the file system may keep no user attributes)"
	fi
	pixels same "$format:$out" "$sample" || return 1
	close_program
}

window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Starts a window manager for the steps that need one.
start_window_manager() {
	if ! command -v openbox >/dev/null 2>&1; then
		return 1
	fi
	openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
	wm_pid=$!
	wait_until 20 window_manager_running
}

stop_window_manager() {
	if [[ -n $wm_pid ]]; then
		kill -TERM "$wm_pid" 2>/dev/null
		wait "$wm_pid" 2>/dev/null
		wm_pid=
	fi
}

# Zooming (maximizing) through the window manager gives the window its zoom limits: the
# whole picture, not the whole screen.
step_zoom() {
	if [[ -z $wm_pid ]]; then
		echo "  SKIP: no window manager (openbox) to maximize with"
		return 77
	fi
	start_program "$sample" || return 1
	wait_title "sample.png[800x600]" || return 1
	xdotool windowsize "$window" 400 300
	wait_size "$window" 400x300 || return 1
	python3 "$here/xclient.py" maximize "$window" || { fail "could not ask to maximize"; return 1; }
	wait_size "$window" 814x634 || return 1
	settled_shot "$window" "$scratch/zoomed.png" || return 1
	pixels calendar "$scratch/zoomed.png" "$sample" || return 1
	close_program
}

# The grip again, this time with the window manager doing the resizing.
step_grip_with_window_manager() {
	if [[ -z $wm_pid ]]; then
		echo "  SKIP: no window manager (openbox)"
		return 77
	fi
	start_program "$sample" || return 1
	wait_title "sample.png[800x600]" || return 1
	wait_size "$window" 814x634 || return 1
	drag "$window" 807 627 -300 -250
	wait_size "$window" 514x384 || return 1
	close_program
}

step_drop() {
	echo "  SKIP: dropping a file from another X client needs an XDND drag source;" \
		"Debian 12 has no command-line one (the program's tests deliver drops through the kit)"
	return 77
}

run_step() {
	local name=$1
	echo "== $name"
	"$name"
	local status=$?
	case $status in
	0) echo "   ok" ;;
	77) skips=$((skips + 1)) ;;
	*)
		failures=$((failures + 1))
		stop_program
		;;
	esac
}

trap 'stop_program; stop_window_manager' EXIT

echo "program: $program"
run_step step_picture
run_step step_grip_and_scroll
run_step step_wheel
run_step step_close
run_step step_not_a_picture
run_step step_configure
run_step step_export
start_window_manager || true
run_step step_zoom
run_step step_grip_with_window_manager
stop_window_manager
run_step step_drop

echo "== $failures failed, $skips skipped"
[[ $failures -eq 0 ]]
