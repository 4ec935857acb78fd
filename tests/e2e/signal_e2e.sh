#!/usr/bin/env bash
# The program asked to end by a signal, as a session that ends (SIGTERM), Control-C in its
# terminal (SIGINT) or a terminal that closes (SIGHUP) asks it: it quits as "Quit" does,
# with status 0. A signal that comes while a big export is being written lets the export
# finish first: the file is there, complete, and nothing else is left beside it.
#   signal_e2e.sh DORVA DORVA_SEND SAMPLE_PNG
# It runs on a private session bus of its own (dbus-run-session) and draws off screen.
set -euo pipefail

name=signal_e2e
# shellcheck source=tests/e2e/private_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/private_session.sh"

# Starts dorva with the signals at their defaults (a script's background job would
# otherwise start with SIGINT ignored, which dorva respects) and waits until it answers.
start_dorva() {
	env --default-signal=INT,HUP,TERM "$dorva" "$@" &
	dorva_pid=$!
	local deadline=$((SECONDS + 30))
	until "$send" --list-formats >"$work/formats" 2>/dev/null; do
		kill -0 "$dorva_pid" 2>/dev/null || fail "dorva ended while starting"
		((SECONDS < deadline)) || fail "dorva did not appear on the bus"
		sleep 0.1
	done
}

# Waits for dorva to end by itself (at most a minute); its exit status goes to $status.
wait_for_end() {
	local deadline=$((SECONDS + 60))
	while kill -0 "$dorva_pid" 2>/dev/null; do
		((SECONDS < deadline)) || fail "dorva did not end after the signal"
		sleep 0.1
	done
	status=0
	wait "$dorva_pid" || status=$?
	dorva_pid=""
}

for signal in TERM INT HUP; do
	start_dorva "$sample"
	kill -s "$signal" "$dorva_pid"
	wait_for_end
	[[ $status == 0 ]] || fail "SIG$signal: dorva ended with status $status"
	echo "signal_e2e: SIG$signal: dorva quit with status 0"
done

# A picture of noise, which takes a while to compress: 24 megapixels as a binary PPM.
big=$work/noise.ppm
python3 - "$big" <<'PY'
import os, sys
width, height = 6000, 4000
with open(sys.argv[1], "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (width, height))
    f.write(os.urandom(width * height * 3))
PY

start_dorva
png_index=$(awk -F'\t' '$3 == "image/png" { print $1; exit }' "$work/formats")
[[ -n $png_index ]] || fail "no PNG format in: $(cat "$work/formats")"
"$send" DATA refs=ref:"$big"
"$send" fiwr format_no=int16:"$png_index"
"$send" SAVE directory=ref:"$work/out" name=string:noise.png
# The canvas answers in order: once it has answered this, it has started the export.
"$send" --list-formats >/dev/null || fail "no answer after SAVE"
if [[ -e $work/out/noise.png ]]; then
	echo "signal_e2e: note: the export was done before the signal; the wait was not seen"
fi
kill -s TERM "$dorva_pid"
wait_for_end
[[ $status == 0 ]] || fail "SIGTERM during an export: dorva ended with status $status"

# The file is there, whole: every chunk's CRC holds, the data inflates to every row, and
# the picture is the PPM's.
[[ $(ls "$work/out") == noise.png ]] || fail "the folder holds: $(ls -a "$work/out")"
python3 - "$work/out/noise.png" "$big" <<'PY' || fail "the exported file is not the whole picture"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
pos, idat, ended = 8, [], False
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
    assert zlib.crc32(kind + body) == crc, "bad CRC in " + kind.decode()
    if kind == b"IHDR":
        width, height, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat.append(body)
    elif kind == b"IEND":
        ended = True
    pos += 12 + length
assert ended, "no IEND chunk"
assert (width, height, depth, colour) == (6000, 4000, 8, 2), (width, height, depth, colour)
rows = zlib.decompress(b"".join(idat))
stride = 1 + width * 3
assert len(rows) == height * stride, "the data holds %d bytes" % len(rows)
# The first row, unfiltered, is the PPM's first row.
ppm = open(sys.argv[2], "rb").read()
pixels = ppm[ppm.index(b"255\n") + 4:]
filter_type, first = rows[0], bytearray(rows[1:stride])
if filter_type == 1:
    for i in range(3, len(first)):
        first[i] = (first[i] + first[i - 3]) & 255
assert filter_type in (0, 1, 2), "unexpected filter %d on the first row" % filter_type
assert bytes(first) == pixels[:width * 3], "the first row differs from the picture"
PY
echo "signal_e2e: SIGTERM during an export: status 0, the PNG is complete"
