#!/usr/bin/env bash
# Measures what hostile calendar files cost dorva-render: for each, the time and the peak
# resident memory of a whole run that marks their holidays on a small picture, beside a
# run without a calendar file. The files (bench/make_hostile_ics.py) are made in a
# temporary folder: 8 MiB of lines of 21,000 parameters, events of a million properties,
# four files of rules that never occur, short series of 2010 read for 2099, and 8 MiB of
# birthdays. Each must be read, or refused with a message, within 1 s and 200 MB.
#   scripts/bench-ics.sh [DORVA_RENDER]     (default build/dorva-render)
set -uo pipefail
export LC_ALL=C QT_QPA_PLATFORM=offscreen

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
render=${1:-$root/build/dorva-render}
folder=$(mktemp -d "${TMPDIR:-/tmp}/dorva-bench-ics.XXXXXX")
trap 'rm -rf "$folder"' EXIT
mkdir -m 700 "$folder/runtime"
export XDG_RUNTIME_DIR=$folder/runtime
python3 "$root/bench/make_hostile_ics.py" "$folder"

# measure NAME YEAR FILE...: one line of seconds (and of them, on the processor), megabytes,
# the number of messages and the first.
measure() {
	local name=$1 year=$2
	shift 2
	local holidays=()
	for file in "$@"; do
		holidays+=(--holidays "$folder/$file")
	done
	/usr/bin/time -v -o "$folder/time.txt" "$render" --year "$year" "${holidays[@]}" \
		"$root/data/sample.png" -o "$folder/out.png" >/dev/null 2>"$folder/stderr.txt"
	local seconds processor kilobytes
	seconds=$(sed -nE 's/.*Elapsed \(wall clock\) time .*: ([0-9]+):([0-9.]+)$/\1 \2/p' "$folder/time.txt" |
		awk '{ printf "%.2f", $1 * 60 + $2 }')
	processor=$(awk -F': ' '/User time|System time/ { sum += $2 } END { printf "%.2f", sum }' "$folder/time.txt")
	kilobytes=$(sed -nE 's/.*Maximum resident set size \(kbytes\): ([0-9]+)/\1/p' "$folder/time.txt")
	printf '%-32s %6ss %6ss %5s MB %4s  %s\n' "$name" "$seconds" "$processor" "$((kilobytes / 1024))" \
		"$(grep -c . "$folder/stderr.txt")" "$(head -n 1 "$folder/stderr.txt" | sed "s|$folder/||" | cut -c1-80)"
}

printf '%-32s %7s %7s %8s %4s  %s\n' case time cpu peak msgs "first message"
measure "no calendar file" 2027
measure "129 lines of 21,000 parameters" 2027 parameters.ics
measure "1.2 million properties" 2027 properties.ics
measure "400,000 EXDATEs" 2027 exdates.ics
measure "four slow files" 2027 slow-1.ics slow-2.ics slow-3.ics slow-4.ics
measure "short series of 2010, in 2099" 2099 old-series.ics
measure "8 MiB of birthdays" 2027 birthdays.ics
