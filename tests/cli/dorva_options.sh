#!/usr/bin/env bash
# dorva's command line as a user meets it: a bad value of one of its options ends the program
# at once, before anything of the display is touched, with one line and the usage on standard
# error and status 2; --help and --version answer on standard output; anything else is a
# file, and one that looks like an option but names nothing is mentioned while the program
# runs on; a holiday file that cannot be read is named, and the program goes on without it.
#   tests/cli/dorva_options.sh DORVA
set -uo pipefail

dorva=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
	echo "FAIL: $*"
	failures=$((failures + 1))
}

# No display at all, and no platform chosen: reaching the platform would abort the program.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

expect_usage_error() {
	local expected_text=$1
	shift
	"${no_display[@]}" "$dorva" "$@" >"$scratch/out" 2>"$scratch/err"
	local status=$?
	[[ $status == 2 ]] || fail "dorva $* ended with $status, not 2"
	[[ ! -s $scratch/out ]] || fail "dorva $* wrote to standard output"
	local first
	first=$(head -n 1 "$scratch/err")
	[[ $first == "dorva: "*"$expected_text"* ]] || fail "dorva $*: first line '$first'"
	grep -q '^Usage: dorva \[OPTION\]... \[FILE\]...$' "$scratch/err" || fail "dorva $*: no usage"
}

expect_usage_error "'2100' is not a year from 1900 to 2099" --year 2100
expect_usage_error "needs a value" photo.jpg --week-start
expect_usage_error "'friday' is not sunday, monday or saturday" --week-start=friday
expect_usage_error "'middle' is not top, bottom or auto" --band middle

"${no_display[@]}" "$dorva" --help >"$scratch/out" 2>"$scratch/err" || fail "--help did not end with 0"
grep -q -- '--week-start DAY' "$scratch/out" || fail "--help does not list --week-start"
[[ ! -s $scratch/err ]] || fail "--help wrote to standard error"
[[ $("${no_display[@]}" "$dorva" --version) == "dorva ver.0.00" ]] || fail "--version"

# Not an option of dorva's: a file that is not there, mentioned, and the program runs on.
XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=offscreen timeout 4 "$dorva" --colour >"$scratch/out" 2>"$scratch/err"
status=$?
[[ $status == 124 ]] || fail "with --colour dorva ended with $status"
[[ $(cat "$scratch/err") == "dorva: --colour: no such file or option" ]] || fail "--colour: '$(cat "$scratch/err")'"

# A holiday set that no rule file gives: refused in one line that names the nearest sets.
"${no_display[@]}" "$dorva" --holidays JQ photo.jpg >"$scratch/out" 2>"$scratch/err"
status=$?
[[ $status == 2 ]] || fail "with an unknown holiday set dorva ended with $status"
[[ $(wc -l <"$scratch/err") == 1 ]] || fail "an unknown holiday set is told in more than one line"
grep -q "^dorva: --holidays: JQ: no such holiday set (nearest: jp" "$scratch/err" ||
	fail "an unknown holiday set: $(cat "$scratch/err")"

# The sets of the rule files beside the program, with the years they cover.
"${no_display[@]}" "$dorva" --holidays list >"$scratch/out" 2>"$scratch/err" || fail "--holidays list did not end with 0"
grep -q '^jp  *Japan (日本), 1948-2099$' "$scratch/out" || fail "--holidays list: $(head -n 3 "$scratch/out")"
grep -q '^de-by  *Bavaria (Bayern), Germany, ' "$scratch/out" || fail "--holidays list names no region"

# A holiday file with a broken line: named with its line, and the window program runs on
# (here until the time limit ends it, status 124).
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270315\r\nnot a property\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$scratch/family.ics"
XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=offscreen timeout 4 "$dorva" --year 2027 \
	--holidays "$scratch/family.ics" --holidays "$scratch/missing.ics" >"$scratch/out" 2>"$scratch/err"
status=$?
[[ $status == 124 ]] || fail "with a broken holiday file dorva ended with $status"
grep -q "^dorva: $scratch/family.ics:5: " "$scratch/err" || fail "the broken file and its line are not named: $(cat "$scratch/err")"
grep -q "^dorva: $scratch/missing.ics: " "$scratch/err" || fail "the missing file is not named"

if [[ $failures -gt 0 ]]; then
	echo "$failures failure(s)"
	exit 1
fi
echo "dorva's command line: all checks passed"
