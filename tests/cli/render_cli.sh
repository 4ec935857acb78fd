#!/usr/bin/env bash
# dorva-render as a user meets it: batches, a broken picture among good ones, outputs that
# would overwrite a picture, holiday files that cannot be read, bad command lines, and what
# it tells on standard error. It runs with no display at all.
#   tests/cli/render_cli.sh DORVA_RENDER SAMPLE_PICTURE
set -uo pipefail

render=$1
sample=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
	echo "FAIL: $*"
	failures=$((failures + 1))
}

# No display and no platform chosen: dorva-render must need neither.
run() {
	env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$scratch" LC_ALL=C \
		"$render" "$@" >"$scratch/out" 2>"$scratch/err"
}

# The first bytes of a file, in hexadecimal.
magic() {
	head -c "$2" "$1" | od -An -tx1 | tr -d ' \n'
}

expect_status() {
	local expected=$1 got=$2 what=$3
	[[ $got == "$expected" ]] || fail "$what: status $got, not $expected ($(cat "$scratch/err"))"
}

mkdir -p "$scratch/in" "$scratch/out-dir"
cp "$sample" "$scratch/in/one.png"
cp "$sample" "$scratch/in/three.png"
printf 'this is no picture' >"$scratch/in/two.jpg"

# A batch with a broken picture in the middle: the others are written, the broken one is
# told and skipped, and the status says that some failed.
run "$scratch/in/one.png" "$scratch/in/two.jpg" "$scratch/in/three.png" -o "$scratch/out-dir"
expect_status 1 $? "batch with a broken picture"
[[ -s $scratch/out-dir/one.png && -s $scratch/out-dir/three.png ]] || fail "the good pictures of the batch were not written"
[[ ! -e $scratch/out-dir/two.jpg && ! -e $scratch/out-dir/two.png ]] || fail "a result was written for the broken picture"
grep -q "two.jpg: holds no picture that dorva can read" "$scratch/err" || fail "the broken picture is not told"
[[ $(grep -c ' -> ' "$scratch/err") == 2 ]] || fail "not one line per written picture: $(cat "$scratch/err")"
# Nothing else: the image plug-ins' answers while they are asked about a file are not news.
[[ $(grep -vc -e ' -> ' -e 'two.jpg' "$scratch/err") == 0 ]] || fail "more than the pictures on standard error: $(cat "$scratch/err")"
[[ -z $(find "$scratch/out-dir" -name '.*') ]] || fail "temporary files were left behind"
[[ $(magic "$scratch/out-dir/one.png" 4) == 89504e47 ]] || fail "one.png is not a PNG"

# A name holding %n, in several formats, all good: status 0.
run --year 2027 --week-start monday "$scratch/in/one.png" "$scratch/in/three.png" -o "$scratch/cal-%n.jpg"
expect_status 0 $? "a %n batch"
[[ $(magic "$scratch/cal-one.jpg" 2) == ffd8 && -s $scratch/cal-three.jpg ]] || fail "%n outputs"
run "$scratch/in/one.png" -o "$scratch/one.pdf"
expect_status 0 $? "a PDF"
[[ $(magic "$scratch/one.pdf" 4) == 25504446 ]] || fail "one.pdf is not a PDF"

# Without --page a PDF takes the paper of the locale: letter in the United States, where
# the locales can be made here.
if command -v pdfinfo >/dev/null 2>&1 && mkdir -p "$scratch/locales" \
	&& localedef -i en_US -f UTF-8 "$scratch/locales/en_US.UTF-8" >/dev/null 2>&1; then
	env -u DISPLAY -u QT_QPA_PLATFORM -u LC_ALL XDG_RUNTIME_DIR="$scratch" LOCPATH="$scratch/locales" \
		LANG=C LC_PAPER=en_US.UTF-8 "$render" "$scratch/in/one.png" -o "$scratch/letter.pdf" 2>"$scratch/err"
	expect_status 0 $? "a PDF on the locale's paper"
	pdfinfo "$scratch/letter.pdf" | grep -q '^Page size: *792 x 612 pts (letter)' \
		|| fail "the locale's letter paper was not used: $(pdfinfo "$scratch/letter.pdf" | grep 'Page size')"
else
	echo "SKIP: no United States locale can be made here; the locale's paper is not checked"
fi

# An output that is one of the pictures, by its own name or by another (a link), is
# refused, and the picture stays as it was.
before=$(md5sum <"$scratch/in/one.png")
ln -s "$scratch/in/one.png" "$scratch/link.png"
ln "$scratch/in/three.png" "$scratch/hard.png"
run "$scratch/in/one.png" -o "$scratch/in/one.png"
expect_status 1 $? "an output that is the picture"
grep -q "is one of the pictures" "$scratch/err" || fail "the refusal is not told"
run "$scratch/in/one.png" -o "$scratch/link.png"
expect_status 1 $? "an output that links to the picture"
run "$scratch/in/one.png" "$scratch/in/three.png" -o "$scratch/in/%n.png"
expect_status 1 $? "a %n output onto the pictures' own names"
[[ $(grep -c "is one of the pictures" "$scratch/err") == 2 ]] || fail "not both refusals told"
run "$scratch/in/three.png" -o "$scratch/hard.png"
expect_status 1 $? "an output that is a hard link of the picture"
[[ $(md5sum <"$scratch/in/one.png") == "$before" ]] || fail "a picture was written over"

# A result that fails leaves the file it would have replaced untouched.
printf 'keep me' >"$scratch/kept.png"
run "$scratch/in/two.jpg" -o "$scratch/kept.png"
expect_status 1 $? "a broken picture onto an existing file"
[[ $(cat "$scratch/kept.png") == "keep me" ]] || fail "a failed result replaced an existing file"

# A line of a holiday file that cannot be read is told and left out; the rest is used.
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270315\r\nnot a property\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$scratch/bad.ics"
run --holidays "$scratch/bad.ics" "$scratch/in/one.png" -o "$scratch/partly.png"
expect_status 0 $? "a holiday file with a broken line"
grep -q "^dorva-render: $scratch/bad.ics:5: " "$scratch/err" || fail "the broken holiday file's line is not told: $(cat "$scratch/err")"
# Holiday files that are no calendar, or cannot be read, stop it with status 2, naming the
# file and the line.
printf 'BEGIN:VCALENDAR\r\nnot a property\r\nEND:VCALENDAR\r\ntrailing text\r\n' >"$scratch/bad.ics"
run --holidays "$scratch/bad.ics" "$scratch/in/one.png" -o "$scratch/bad.png"
expect_status 2 $? "a broken holiday file"
grep -q "^dorva-render: $scratch/bad.ics:4: text outside a calendar" "$scratch/err" || fail "the broken holiday file's line is not told: $(cat "$scratch/err")"
[[ ! -e $scratch/bad.png ]] || fail "a result was written despite the broken holiday file"
run --holidays "$scratch/missing.ics" "$scratch/in/one.png" -o "$scratch/bad.png"
expect_status 2 $? "a missing holiday file"

# Bad command lines: one line and the usage, status 2, nothing written.
for arguments in "--year 2100 x.png -o y.png" "--band left x.png -o y.png" "x.png" \
	"-o y.png" "--sunday-color zz x.png -o y.png" "x.png y.png -o single.png" \
	"x.png -o y.gif" "--page b5 x.png -o y.pdf" "--month-font No-Such-Font(Bold) x.png -o y.png" \
	"x.png -o $scratch/no-such-dir/"; do
	# shellcheck disable=SC2086
	run $arguments
	expect_status 2 $? "dorva-render $arguments"
	[[ $(head -n 1 "$scratch/err") == "dorva-render: "* ]] || fail "dorva-render $arguments: first line"
	grep -q '^Usage: dorva-render' "$scratch/err" || fail "dorva-render $arguments: no usage"
done
run --help
expect_status 0 $? "--help"
grep -q -- '--holiday-color' "$scratch/out" || fail "--help does not list the colours"

# On a terminal, a progress bar instead of the lines.
if command -v script >/dev/null 2>&1; then
	env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$scratch" \
		script -qec "'$render' '$scratch/in/one.png' '$scratch/in/three.png' -o '$scratch/out-dir'" /dev/null \
		>"$scratch/terminal" 2>&1
	grep -q '\[##############################\] 2/2' "$scratch/terminal" || fail "no progress bar on a terminal"
	grep -q ' -> ' "$scratch/terminal" && fail "lines per picture on a terminal"
fi

if [[ $failures -gt 0 ]]; then
	echo "$failures failure(s)"
	exit 1
fi
echo "dorva-render's command line: all checks passed"
