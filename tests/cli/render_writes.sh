#!/usr/bin/env bash
# dorva-render when writing goes wrong, as a user meets it: a full disk in every format, a
# signal in the middle of a PDF, a link in a folder it may not write, names that would
# steer the terminal; and where results of unusual names go.
#   tests/cli/render_writes.sh DORVA_RENDER SAMPLE_PICTURE
set -uo pipefail

render=$1
sample=$2
scratch=$(mktemp -d)
chmod 755 "$scratch"
disk=""
cleanup() {
	[[ -n $disk ]] && umount -l "$disk"
	rm -rf "$scratch"
}
trap cleanup EXIT
failures=0

fail() {
	echo "FAIL: $*"
	failures=$((failures + 1))
}

run() {
	env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$scratch/runtime" LC_ALL=C \
		"$render" "$@" >"$scratch/out" 2>"$scratch/err"
}

expect_status() {
	local expected=$1 got=$2 what=$3
	[[ $got == "$expected" ]] || fail "$what: status $got, not $expected ($(cat "$scratch/err"))"
}

mkdir -p "$scratch/in" "$scratch/out-dir" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cp "$sample" "$scratch/in/one.png"
chmod -R a+rX "$scratch/in"

# A full disk: each format fails with status 1 and the system's reason, and leaves the
# file it would have replaced byte for byte, with no temporary file beside it.
mkdir "$scratch/disk"
if mount -t tmpfs -o size=1m dorva-test "$scratch/disk" 2>/dev/null; then
	disk=$scratch/disk
	formats=(pdf png jpg tif webp bmp)
	for format in "${formats[@]}"; do
		printf 'the old calendar, %s' "$format" >"$disk/cal.$format"
	done
	head -c 2m /dev/zero >"$disk/filler" 2>/dev/null
	for format in "${formats[@]}"; do
		run "$scratch/in/one.png" -o "$disk/cal.$format"
		expect_status 1 $? "a full disk ($format)"
		grep -q "cannot write $disk/cal.$format: No space left on device" "$scratch/err" \
			|| fail "a full disk ($format) is not told as such: $(cat "$scratch/err")"
		[[ $(cat "$disk/cal.$format") == "the old calendar, $format" ]] \
			|| fail "a full disk ($format) damaged the old file"
	done
	[[ $(find "$disk" -mindepth 1 | wc -l) == $((${#formats[@]} + 1)) ]] \
		|| fail "a full disk left temporary files: $(ls -A "$disk")"
else
	echo "SKIP: cannot mount a small tmpfs here; the full disk is not tried"
fi

# SIGTERM while a large PDF is being written: the process ends by the signal, the old file
# stays and the temporary file goes.
python3 - "$scratch/in/large.png" <<'PY'
import os, struct, sys, zlib
width, height = 3000, 2000
rows = b"".join(b"\0" + os.urandom(width * 3) for _ in range(height))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))
PY
mkdir "$scratch/signal"
printf 'the old calendar' >"$scratch/signal/cal.pdf"
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$scratch/runtime" "$render" "$scratch/in/large.png" \
	-o "$scratch/signal/cal.pdf" 2>/dev/null &
writer=$!
# Writing has begun once the process holds a file open in the folder.
writing() {
	ls -l "/proc/$writer/fd" 2>/dev/null | grep -q "$scratch/signal/"
}
for _ in $(seq 1 2000); do
	writing && break
	sleep 0.01
done
writing || fail "the PDF was never seen being written"
kill -TERM $writer
wait $writer
status=$?
[[ $status == 143 ]] || fail "SIGTERM during a PDF: status $status, not 143"
[[ $(ls -A "$scratch/signal") == cal.pdf ]] || fail "SIGTERM left a temporary file: $(ls -A "$scratch/signal")"
[[ $(cat "$scratch/signal/cal.pdf") == "the old calendar" ]] || fail "SIGTERM damaged the old file"

# A folder the user may not write, holding a.png and b.png, a link to a.png: a.png is
# written in place, b.png is refused, never written through the link over a.png.
mkdir "$scratch/locked"
printf 'result a' >"$scratch/locked/a.png"
ln -s a.png "$scratch/locked/b.png"
as_user=()
if [[ $(id -u) == 0 ]]; then
	as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
	chown -h nobody "$scratch/locked" "$scratch/locked/a.png"
fi
chmod 555 "$scratch/locked"
if "${as_user[@]}" true 2>/dev/null; then
	run_locked() {
		env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$scratch/runtime" LC_ALL=C \
			"${as_user[@]}" "$render" "$scratch/in/one.png" -o "$1" 2>"$scratch/err"
	}
	run_locked "$scratch/locked/b.png"
	expect_status 1 $? "a link in a folder that may not be written"
	[[ $(cat "$scratch/locked/a.png") == "result a" ]] || fail "b.png was written through its link over a.png"
	run_locked "$scratch/locked/a.png"
	expect_status 0 $? "a file in a folder that may not be written"
	[[ $(head -c 4 "$scratch/locked/a.png" | od -An -tx1 | tr -d ' \n') == 89504e47 ]] \
		|| fail "a.png was not written in place"
	[[ -L $scratch/locked/b.png ]] || fail "the link b.png was changed"
else
	echo "SKIP: cannot run as another user; the read-only folder is not tried"
fi
chmod 755 "$scratch/locked"

# Names are printed with their control characters escaped: nothing in a name steers the
# terminal or makes a line of its own.
strange=$'one\e[31mred\nline.png'
cp "$sample" "$scratch/in/$strange"
run "$scratch/in/$strange" -o "$scratch/out-dir"
expect_status 0 $? "a picture with control characters in its name"
grep -q $'\e' "$scratch/err" && fail "an escape character was printed raw"
[[ $(wc -l <"$scratch/err") == 1 ]] || fail "a newline in a name was printed raw: $(cat "$scratch/err")"
grep -qF 'one\x1b[31mred\nline.png -> ' "$scratch/err" || fail "the name is not escaped: $(cat "$scratch/err")"

# Output names: a picture named x.pdf into a folder becomes x.png (a PDF is no picture
# name to keep); '-o out/.png' is only an extension and is refused.
cp "$sample" "$scratch/in/x.pdf"
run "$scratch/in/x.pdf" -o "$scratch/out-dir"
expect_status 0 $? "a picture named x.pdf into a folder"
[[ $(head -c 4 "$scratch/out-dir/x.png" | od -An -tx1 | tr -d ' \n') == 89504e47 ]] \
	|| fail "x.pdf did not become the PNG x.png"
[[ ! -e $scratch/out-dir/x.pdf ]] || fail "x.pdf was written under its own name"
run "$scratch/in/one.png" -o "$scratch/out-dir/.png"
expect_status 2 $? "-o out/.png"
grep -q "is only an extension" "$scratch/err" || fail "-o out/.png: $(head -n 1 "$scratch/err")"
[[ ! -e $scratch/out-dir/.png ]] || fail "-o out/.png wrote a file"

if [[ $failures -gt 0 ]]; then
	echo "$failures failure(s)"
	exit 1
fi
echo "dorva-render's writes: all checks passed"
