#!/usr/bin/env bash
# Drives a running dorva over the session bus with dorva-send, the way another program or
# a script would: list the export formats, open a picture, export it as PNG, close it, send
# some garbage, quit. It also holds dorva-send to its conventions: one line on standard
# error, "dorva-send: " and what went wrong; status 1 when nothing was delivered, 2 for a
# bad command line; and no display needed.
#   bus_e2e.sh DORVA DORVA_SEND SAMPLE_PNG
# It runs on a private session bus of its own (dbus-run-session) and draws off screen.
# Scripts answer the save panel by sending "SAVE" (directory, name) right after "fiwr":
# the canvas takes it as the panel's answer, exactly as if a person had confirmed it.
set -euo pipefail

name=bus_e2e
# shellcheck source=tests/e2e/private_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/private_session.sh"

# Polls a command until it succeeds, for at most 30 seconds; fails if dorva dies first.
wait_until() {
	local what=$1
	shift
	local deadline=$((SECONDS + 30))
	until "$@"; do
		if [[ -n $dorva_pid ]] && ! kill -0 "$dorva_pid" 2>/dev/null; then
			# It may have ended just after the check; what it left behind decides.
			"$@" && return 0
			fail "dorva ended while waiting for: $what"
		fi
		((SECONDS < deadline)) || fail "timed out waiting for: $what"
		sleep 0.1
	done
}

# Expects dorva-send to fail with the status and one line on standard error, in the tool's
# form, containing the text.
expect_failure() {
	local want=$1 text=$2
	shift 2
	local status=0
	"$send" "$@" >/dev/null 2>"$work/err" || status=$?
	((status == want)) || fail "dorva-send $* ended with $status, not $want: $(cat "$work/err")"
	[[ $(wc -l <"$work/err") -eq 1 ]] || fail "dorva-send $* said: $(cat "$work/err")"
	grep -q '^dorva-send: ' "$work/err" || fail "dorva-send $* said: $(cat "$work/err")"
	grep -qF -- "$text" "$work/err" || fail "dorva-send $* said: $(cat "$work/err")"
}

png_size() {
	python3 - "$1" <<'PY'
import struct, sys
with open(sys.argv[1], "rb") as f:
    head = f.read(24)
if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
    sys.exit("not a PNG: " + sys.argv[1])
print("%dx%d" % struct.unpack(">II", head[16:24]))
PY
}

# Before dorva runs, dorva-send says so.
expect_failure 1 "dorva is not running" ficl
expect_failure 1 "dorva is not running" --list-formats

"$dorva" &
dorva_pid=$!
wait_until "dorva on the bus" "$send" --list-formats >"$work/formats" 2>/dev/null
"$send" --list-formats >"$work/formats"
png_index=$(awk -F'\t' '$3 == "image/png" { print $1; exit }' "$work/formats")
[[ -n $png_index ]] || fail "no PNG format in: $(cat "$work/formats")"
echo "bus_e2e: $(wc -l <"$work/formats") export formats; PNG is number $png_index"
# The list is the catalogue in index order: 0, 1, 2, ... with a name and a MIME type each.
awk -F'\t' 'NF != 3 || $1 != NR - 1 || $2 == "" || $3 !~ /\// { exit 1 }' "$work/formats" ||
	fail "the list of formats is not index<TAB>name<TAB>mime in order: $(cat "$work/formats")"
# dorva-send needs no display: with Qt pointed at an X display that is not there, a tool
# that made a GUI application would abort.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$send" --list-formats >"$work/again" ||
	fail "dorva-send needs a display"
cmp -s "$work/formats" "$work/again" || fail "the list changed without a display"

# Open the sample, export it as PNG and answer the panel as a script does.
"$send" DATA refs=ref:"$sample"
"$send" fiwr format_no=int16:"$png_index"
"$send" SAVE directory=ref:"$work/out" name=string:exported.png
wait_until "the exported file" test -s "$work/out/exported.png"
want=$(png_size "$sample")
got=$(png_size "$work/out/exported.png")
[[ $got == "$want" ]] || fail "exported picture is $got, the sample is $want"
file "$work/out/exported.png" | grep -q "PNG image data" || fail "file does not see a PNG"
echo "bus_e2e: exported a $got PNG"

# Closing the picture leaves a program that still answers.
"$send" ficl
"$send" --list-formats >/dev/null || fail "no answer after ficl"

# Garbage is refused with a reason, and dorva goes on.
expect_failure 2 "unknown type 'int12'" fiwr format_no=int12:1
expect_failure 2 "four characters" abc
expect_failure 2 "out of range" fiwr format_no=int16:70000
expect_failure 2 "NAME=TYPE:VALUE" fiwr format_no
expect_failure 2 "both string and int8" SAVE name=string:a name=int8:1
expect_failure 2 "unknown option" --frobnicate
expect_failure 2 "takes no further arguments" --list-formats extra
many=()
for i in $(seq 0 256); do many+=("refs=ref:/tmp/$i.png"); done
expect_failure 1 "more than 256 field values" DATA "${many[@]}"
"$send" --list-formats >/dev/null || fail "no answer after the garbage"
kill -0 "$dorva_pid" || fail "dorva ended after the garbage"

# A request to quit goes to the application, which ends with status 0.
"$send" _QRQ
wait_until "dorva to quit" bash -c "! kill -0 $dorva_pid 2>/dev/null"
status=0
wait "$dorva_pid" || status=$?
dorva_pid=""
((status == 0)) || fail "dorva ended with status $status"
echo "bus_e2e: dorva quit with status 0"
