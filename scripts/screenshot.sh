#!/usr/bin/env bash
# Starts dorva on a virtual display, waits for its window, takes a screenshot and closes it.
#   scripts/screenshot.sh OUT.png [arguments for dorva...]
# Environment:
#   DORVA                      the executable (default: build/dorva in the repository root)
#   DORVA_SCREENSHOT_WINDOW=1  capture only the program's window instead of the whole screen
#   DORVA_SCREENSHOT_WAIT      seconds to wait for the window (default 30)
#   DORVA_SCREENSHOT_SETTLE    seconds to wait for the window to stop changing (default 10)
set -euo pipefail

if [[ $# -lt 1 || $1 == -h || $1 == --help ]]; then
	echo "usage: $0 OUT.png [arguments for dorva...]" >&2
	exit 2
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$1
shift
program=${DORVA:-$root/build/dorva}
if [[ ! -x $program ]]; then
	echo "screenshot.sh: $program is not built (run scripts/build.sh)" >&2
	exit 1
fi
for tool in xvfb-run xdotool import timeout; do
	if ! command -v "$tool" >/dev/null 2>&1; then
		echo "screenshot.sh: $tool is missing (run scripts/install-deps.sh)" >&2
		exit 1
	fi
done

wait_seconds=${DORVA_SCREENSHOT_WAIT:-30}
settle_seconds=${DORVA_SCREENSHOT_SETTLE:-10}
# Everything below is bounded by its own deadline; this outer limit only guards against
# the display server itself hanging.
total_seconds=$((wait_seconds + settle_seconds + 40))

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-shot.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"

# Runs on the virtual display: $1 output, $2 program, $3 scratch dir, then the program's arguments.
# shellcheck disable=SC2016 # expanded by the inner shell
inner='
set -uo pipefail
out=$1 program=$2 scratch=$3
shift 3
log=$scratch/program.log

now() { date +%s.%N; }
before() { awk -v a="$(now)" -v b="$1" "BEGIN { exit !(a < b) }"; }
deadline() { awk -v a="$(now)" -v s="$1" "BEGIN { printf \"%.3f\", a + s }"; }

"$program" "$@" >"$log" 2>&1 &
pid=$!

stop_program() {
	if kill -0 "$pid" 2>/dev/null; then
		kill -TERM "$pid" 2>/dev/null
		local limit
		limit=$(deadline 5)
		while kill -0 "$pid" 2>/dev/null && before "$limit"; do sleep 0.1; done
		kill -KILL "$pid" 2>/dev/null
	fi
	wait "$pid" 2>/dev/null
}
trap stop_program EXIT

# Wait for a visible window of the program: by its process id, else by its window class.
window=
limit=$(deadline "$DORVA_SCREENSHOT_WAIT")
while before "$limit"; do
	if ! kill -0 "$pid" 2>/dev/null; then
		echo "screenshot.sh: the program ended before showing a window; its output:" >&2
		cat "$log" >&2
		exit 1
	fi
	window=$(timeout 5 xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -n 1 || true)
	if [[ -z $window ]]; then
		window=$(timeout 5 xdotool search --onlyvisible --class dorva 2>/dev/null | tail -n 1 || true)
	fi
	[[ -n $window ]] && break
	sleep 0.2
done
if [[ -z $window ]]; then
	echo "screenshot.sh: no window appeared within ${DORVA_SCREENSHOT_WAIT}s; the program said:" >&2
	cat "$log" >&2
	exit 1
fi

target=root
if [[ ${DORVA_SCREENSHOT_WINDOW:-0} == 1 ]]; then
	target=$window
fi

# Take screenshots until two in a row are the same, so that the window has finished drawing.
shot() { timeout 20 import -window "$target" -define png:exclude-chunk=date,time "$1"; }
shot "$scratch/a.png" || { echo "screenshot.sh: import failed" >&2; exit 1; }
limit=$(deadline "$DORVA_SCREENSHOT_SETTLE")
while before "$limit"; do
	sleep 0.3
	shot "$scratch/b.png" || { echo "screenshot.sh: import failed" >&2; exit 1; }
	if cmp -s "$scratch/a.png" "$scratch/b.png"; then
		break
	fi
	mv "$scratch/b.png" "$scratch/a.png"
done
cp "$scratch/a.png" "$out"
'

export DORVA_SCREENSHOT_WAIT="$wait_seconds" DORVA_SCREENSHOT_SETTLE="$settle_seconds"
export XDG_RUNTIME_DIR="$scratch/runtime"
unset QT_QPA_PLATFORM

timeout --kill-after=5 "$total_seconds" \
	xvfb-run -a -s "-screen 0 1280x1024x24" \
	bash -c "$inner" screenshot "$out" "$program" "$scratch" "$@" </dev/null
echo "screenshot.sh: wrote $out"
