#!/usr/bin/env bash
# Measures dorva with big pictures and compares every figure with a plain reference
# measured in the same run, so that a change can be judged by ratios that do not depend on
# how busy the machine was that day.
#
#   scripts/bench.sh [--runs N] [--rounds N] [--export-runs N] [--cases LIST] [--no-build]
#
#   --runs N         runs behind each median (default 7)
#   --rounds N       cases 1 and 5: dorva and its reference take turns, N rounds of --runs
#                    runs each; the figure is the median of the rounds' medians (default 3)
#   --export-runs N  runs of the PNG export, which is slow, dorva and Qt in turns (default 3)
#   --cases LIST     only these cases, e.g. 1,5,6 (default: all of them)
#   --no-build       measure what is already built in the bench build directory
#
# It builds a Release tree with the benchmark programs in build-bench (DORVA_BENCH_BUILD
# names another directory), makes the test pictures there (bench-data/), and prints one
# line a case: dorva's figure, the reference's, their ratio and the goal. The table is also
# kept in build-bench/bench-results.txt and every raw figure in build-bench/bench-raw.txt.
# The cases:
#   1  open a 6000x4000 JPEG in process, "DATA" to the drawn canvas / djpeg on the file
#   2  start and open that JPEG as a whole process until the window is shown titled
#      "name[6000x4000]" / a minimal Qt Widgets viewer (bench/reference) doing the same
#   3  peak resident memory (VmHWM) after that open / the viewer's
#   4  start to the empty window "dorva ver.0.00" / the viewer on a 16x16 picture; and
#      the same with --holidays de-by / without (the rule file read: the difference)
#   5  one full Draw of a 4000x3000 picture with its band / plain QPainter drawing the
#      picture, the band and the 377 strings into a QImage; and a Draw of a 100x100 update
#   6  paste of a 4000x3000 raw bitmap drop (a "MIME" message) into a 4000x3000 canvas /
#      copying the clipped rows with memcpy
#   7  PNG export of the 6000x4000 picture through the canvas's save / QImageWriter
#   8  hostile files opened through "DATA": a 32-byte bitmap stream header promising 1 GiB
#      rows (and the same dropped as raw bitmap data), a 256 KB PNG bomb of 268 Mpixel, a JPEG header claiming 144 Mpixel, a 120-byte
#      SVG declaring 268 Mpixel; the time of each open and the peak resident memory it adds
#      (absolute figures: refused within a second and a few MB; the SVG drawn at 16 Mpixel)
#   9  holiday sets, in process (absolute figures): what --holidays de-by adds to start-up
#      (checking the set and building the year from its rule file, read twice), and one
#      year computed from rules already read, for the slowest of every set of data/holidays
#   10 dorva-render writing the 6000x4000 picture as JPEG, TIFF and WebP: the peak resident
#      memory beyond that of writing it as PNG (whose writer holds two rows) / one copy of
#      the picture (needs /usr/bin/time)
#   11 --style readable: the share of dates readable (fill and halo, or ground in the plain
#      style, at 4.5:1 or more, and a quarter em clear of each neighbour) over the real
#      photographs of the package mate-backgrounds (dark, bright and busy ones), readable
#      against plain; and the 6000x4000 picture composed as dorva-render does it, readable
#      against plain, taking turns; and the whole dorva-render run on it (JPEG to JPEG)
#   12 the wall calendar: dorva-render --layout wall writing the 13-page A4 PDF from 13
#      photos of 4000x3000 / ImageMagick's convert merely resizing the same 13 photos to
#      the page (2480x3508 at 300 ppi), taking turns; its peak resident memory against two
#      photos' pixels plus 100 MB, and the PDF's size (needs convert and /usr/bin/time)
#   13 a calendar page's photo: the 4000x3000 JPEG decoded no larger than a 2300x1700 page
#      needs (DCT scaling by 5/8) / decoded whole; the page's part of it resampled from
#      that / from the whole; both together (absolute figures besides: the facts read
#      before decoding, and the resample beside the reduced decoding)
# Cases 2 to 4 need Xvfb (and build window_timer from Xlib); case 1's reference needs djpeg.
# A case that cannot run says so and why; the others still run.
set -uo pipefail
export LC_ALL=C

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DORVA_BENCH_BUILD:-$root/build-bench}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=7
rounds=3
export_runs=3
cases=1,2,3,4,5,6,7,8,9,10,11,12,13
do_build=1

usage() {
	sed -n '2,/^set -uo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'
	exit "${1:-0}"
}

while [[ $# -gt 0 ]]; do
	case $1 in
		--runs) runs=${2:?}; shift 2 ;;
		--rounds) rounds=${2:?}; shift 2 ;;
		--export-runs) export_runs=${2:?}; shift 2 ;;
		--cases) cases=${2:?}; shift 2 ;;
		--no-build) do_build=0; shift ;;
		-h | --help) usage 0 ;;
		*) echo "bench.sh: unknown argument $1" >&2; usage 2 ;;
	esac
done
for number in "$runs" "$rounds" "$export_runs"; do
	if ! [[ $number =~ ^[1-9][0-9]*$ ]]; then
		echo "bench.sh: a number of runs must be a whole number of at least 1" >&2
		exit 2
	fi
done
wanted() { [[ ,$cases, == *,$1,* ]]; }

# ---------------------------------------------------------------------------------------
# Build.
if [[ $do_build == 1 ]]; then
	launcher=()
	if command -v ccache >/dev/null 2>&1; then
		launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	fi
	mkdir -p "$build"
	echo "bench.sh: building a Release tree with the benchmarks in $build"
	if ! "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DDORVA_BUILD_BENCH=ON \
		-DDORVA_BUILD_TESTS=OFF "${launcher[@]}" >"$build/bench-build.log" 2>&1; then
		tail -n 30 "$build/bench-build.log"
		echo "bench.sh: the build failed (whole log: $build/bench-build.log)" >&2
		exit 1
	fi
fi
bin=$build/bench
for program in "$build/dorva" "$bin/program_bench" "$bin/make_photo" "$bin/holiday_bench" \
	"$bin/reference/reference_bench" "$bin/reference/reference_viewer"; do
	if [[ ! -x $program ]]; then
		echo "bench.sh: $program is missing; build without --no-build" >&2
		exit 1
	fi
done

# ---------------------------------------------------------------------------------------
# Scratch space, a private session bus, and cleaning up after ourselves.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-bench.XXXXXX")
mkdir -m 700 "$scratch/runtime" "$scratch/config" "$scratch/out"
xvfb_pid=
bus_pid=
cleanup() {
	[[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
	[[ -n $bus_pid ]] && kill "$bus_pid" 2>/dev/null
	rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Settings and runtime files stay out of the user's home; the programs talk to a bus of
# their own, as they would to the desktop's, and to no other running dorva.
export XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config
unset WAYLAND_DISPLAY
if command -v dbus-daemon >/dev/null 2>&1; then
	if bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 2>/dev/null); then
		DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
		export DBUS_SESSION_BUS_ADDRESS
		bus_pid=$(sed -n 2p <<<"$bus")
	fi
fi
if [[ -z $bus_pid ]]; then
	unset DBUS_SESSION_BUS_ADDRESS
	echo "bench.sh: no dbus-daemon: the programs run without a session bus"
fi

# ---------------------------------------------------------------------------------------
# Test pictures, made once per build of the generator: photo-like JPEGs (gradients, soft
# shapes, grain) at quality 92, as a phone writes them.
data=$build/bench-data
mkdir -p "$data"
make_jpeg() { # width height seed file
	local file=$data/$4
	if [[ -s $file && $file -nt $bin/make_photo ]]; then
		return 0
	fi
	if command -v cjpeg >/dev/null 2>&1; then
		"$bin/make_photo" "$1" "$2" "$3" | cjpeg -quality 92 -outfile "$file.part"
	elif command -v convert >/dev/null 2>&1; then
		"$bin/make_photo" "$1" "$2" "$3" | convert ppm:- -quality 92 "jpg:$file.part"
	else
		echo "bench.sh: neither cjpeg nor ImageMagick's convert is installed to make $4" >&2
		return 1
	fi && mv "$file.part" "$file"
}
big="photo-6000x4000.jpg"
mid="photo-4000x3000.jpg"
tiny="tiny-16x16.jpg"
if ! make_jpeg 6000 4000 2007 "$big" || ! make_jpeg 4000 3000 3 "$mid" \
	|| ! make_jpeg 16 16 5 "$tiny"; then
	echo "bench.sh: cannot make the test pictures" >&2
	exit 1
fi
# A wall calendar's thirteen camera photos of 12 Mpixel.
wall_photos=()
if wanted 12; then
	for ((i = 0; i < 13; i++)); do
		name=$(printf 'wall-%02d-4000x3000.jpg' "$i")
		make_jpeg 4000 3000 $((100 + i)) "$name" || exit 1
		wall_photos+=("$data/$name")
	done
fi

# ---------------------------------------------------------------------------------------
# Helpers.
raw=$build/bench-raw.txt
results=$build/bench-results.txt
: >"$raw"
: >"$results"
out() { printf '%s\n' "$*" | tee -a "$results"; }
note() { printf '%s %s\n' "$1" "$2" >>"$raw"; }

# The middle value of numbers given one a line (the lower middle for an even count).
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }
# Value of "key value" in a file of a program's output.
value() { awk -v k="$1" '$1 == k { print $2; exit }' "$2"; }
# The median over the rounds' files PREFIX.1, PREFIX.2, ... of a key's values.
over_rounds() { # key prefix [count]
	local r
	for ((r = 1; r <= ${3:-$rounds}; r++)); do
		value "$1" "$2.$r"
	done | median
}
# a / b to two places, or "-" when either is missing.
ratio() {
	awk -v a="${1:-}" -v b="${2:-}" 'BEGIN {
		if (a == "" || b == "" || b + 0 == 0) print "-"; else printf "%.2f", a / b }'
}
row() { # case, dorva's figure, the reference's, ratio, goal
	out "$(printf '%-46s %12s %12s %9s   %s' "$1" "$2" "$3" "$4" "$5")"
}
skip() { out "$(printf '%-46s skipped: %s' "$1" "$2")"; }
# Runs a program, keeping its output; on failure shows the end of it.
run_logged() { # log, command...
	local log=$1
	shift
	if ! "$@" >"$log" 2>"$log.err"; then
		echo "bench.sh: failed: $*" >&2
		tail -n 8 "$log.err" >&2
		return 1
	fi
}

# ---------------------------------------------------------------------------------------
echo
out "dorva bench, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores: medians of $runs runs" \
	"(cases 1 and 5: of $rounds rounds of $runs; case 4: of $((rounds * runs)); case 7: of $export_runs)"
out "load before: $(uptime | sed 's/.*load average/load average/')"
tree=$(git -C "$root" log -1 --format='tree: %h %s' 2>/dev/null || echo 'tree: not a git checkout')
if [[ -n $(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null) ]]; then
	tree="$tree (with changes not committed)"
fi
out "$tree"
out ""
row "case" "dorva" "reference" "ratio" "goal"

# Case 1: open in process, against djpeg on the same file. Both take turns, a round of
# runs each, so that a change in the machine's load meets both alike.
if wanted 1; then
	have_djpeg=0
	command -v djpeg >/dev/null 2>&1 && have_djpeg=1
	ok=1
	for ((r = 1; r <= rounds; r++)); do
		if ! QT_QPA_PLATFORM=offscreen run_logged "$scratch/open.$r" "$bin/program_bench" open \
			"$data/$big" "$runs"; then
			ok=0
			break
		fi
		if [[ $have_djpeg == 1 ]]; then
			for ((i = 0; i < runs; i++)); do
				start=$EPOCHREALTIME
				djpeg -outfile /dev/null "$data/$big"
				end=$EPOCHREALTIME
				awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
			done | median | sed 's/^/djpeg_ms /' >"$scratch/djpeg.$r"
		fi
	done
	if [[ $ok == 1 ]]; then
		open_ms=$(over_rounds open_ms "$scratch/open")
		note open_ms "$open_ms"
		if [[ $have_djpeg == 1 ]]; then
			djpeg_ms=$(over_rounds djpeg_ms "$scratch/djpeg")
			note djpeg_ms "$djpeg_ms"
			row "1 open 6000x4000 JPEG in process / djpeg" "$open_ms ms" "$djpeg_ms ms" \
				"$(ratio "$open_ms" "$djpeg_ms")x" "<= 1.5x"
		else
			row "1 open 6000x4000 JPEG in process / djpeg" "$open_ms ms" "-" "-" \
				"(no djpeg: install libjpeg-turbo-progs)"
		fi
	else
		skip "1 open 6000x4000 JPEG in process" "program_bench open failed"
	fi
fi

# Cases 2 to 4: whole processes on a virtual display.
if wanted 2 || wanted 3 || wanted 4; then
	why=
	if ! command -v Xvfb >/dev/null 2>&1; then
		why="Xvfb is not installed (package xvfb)"
	elif [[ ! -x $bin/window_timer ]]; then
		why="window_timer was not built (Xlib headers missing: package libx11-dev)"
	else
		# -noreset: the server would otherwise start afresh whenever its last client left,
		# between two runs, and refuse connections meanwhile.
		Xvfb -displayfd 9 -screen 0 1920x1080x24 -nolisten tcp -noreset 9>"$scratch/display" \
			>"$scratch/xvfb.log" 2>&1 &
		xvfb_pid=$!
		for ((i = 0; i < 100; i++)); do
			[[ -s $scratch/display ]] && break
			sleep 0.1
		done
		if [[ -s $scratch/display ]]; then
			display=:$(head -n 1 "$scratch/display")
		else
			why="Xvfb did not start ($(tail -n 1 "$scratch/xvfb.log"))"
		fi
	fi
	# Each run: one line "ms=... idle_ms=... hwm_kb=... rss_kb=... cpu_ms=..." in a file of
	# its own; dorva and the viewer take turns so that both meet the same load.
	timed() { # file-prefix title command...
		local prefix=$1 title=$2
		shift 2
		if DISPLAY=$display QT_QPA_PLATFORM=xcb "$bin/window_timer" --timeout 60 "$title" -- "$@" \
			>>"$prefix.txt" 2>>"$prefix.err"; then
			return 0
		fi
		echo "bench.sh: a run of $1 failed: $(tail -n 1 "$prefix.err")" >&2
		return 1
	}
	field() { sed -n "s/.*\\b$1=\\([0-9.-]*\\).*/\\1/p" "$2" | median; }
	if [[ -n $why ]]; then
		wanted 2 && skip "2 start and open to titled window" "$why"
		wanted 3 && skip "3 peak resident memory after the open" "$why"
		wanted 4 && skip "4 start-up to the empty window" "$why"
	else
		if wanted 2 || wanted 3; then
			for ((i = 0; i < runs; i++)); do
				timed "$scratch/open-dorva" "${big}[6000x4000]" "$build/dorva" "$data/$big"
				timed "$scratch/open-viewer" "${big}[6000x4000]" \
					"$bin/reference/reference_viewer" "$data/$big"
			done
			if [[ -s $scratch/open-dorva.txt && -s $scratch/open-viewer.txt ]]; then
				d_ms=$(field ms "$scratch/open-dorva.txt")
				v_ms=$(field ms "$scratch/open-viewer.txt")
				d_idle=$(field idle_ms "$scratch/open-dorva.txt")
				v_idle=$(field idle_ms "$scratch/open-viewer.txt")
				d_hwm=$(field hwm_kb "$scratch/open-dorva.txt")
				v_hwm=$(field hwm_kb "$scratch/open-viewer.txt")
				note process_open_ms "$d_ms"
				note viewer_open_ms "$v_ms"
				note process_open_idle_ms "$d_idle"
				note viewer_open_idle_ms "$v_idle"
				note process_hwm_kb "$d_hwm"
				note viewer_hwm_kb "$v_hwm"
				note process_open_runs "$(wc -l <"$scratch/open-dorva.txt")"
				note viewer_open_runs "$(wc -l <"$scratch/open-viewer.txt")"
				wanted 2 && row "2 start+open to titled window / Qt viewer" "$d_ms ms" "$v_ms ms" \
					"$(ratio "$d_ms" "$v_ms")x" "<= 0.8x"
				wanted 2 && row "2 the same until the process is quiet" "$d_idle ms" "$v_idle ms" \
					"$(ratio "$d_idle" "$v_idle")x" "(for information)"
				wanted 3 && row "3 peak resident after that open / viewer" \
					"$((d_hwm / 1024)) MiB" "$((v_hwm / 1024)) MiB" "$(ratio "$d_hwm" "$v_hwm")x" \
					"<= 1.0x"
			else
				wanted 2 && skip "2 start and open to titled window" "the runs failed (above)"
				wanted 3 && skip "3 peak resident memory after the open" "the runs failed (above)"
			fi
		fi
		if wanted 4; then
			# Start-up takes tens of milliseconds, where a busy machine's scheduling shows
			# most: three times the runs.
			for ((i = 0; i < rounds * runs; i++)); do
				timed "$scratch/empty-dorva" "dorva ver.0.00" "$build/dorva"
				timed "$scratch/empty-viewer" "${tiny}[16x16]" \
					"$bin/reference/reference_viewer" "$data/$tiny"
				timed "$scratch/empty-holidays" "dorva ver.0.00" "$build/dorva" --holidays de-by
			done
			if [[ -s $scratch/empty-dorva.txt && -s $scratch/empty-viewer.txt ]]; then
				d_ms=$(field ms "$scratch/empty-dorva.txt")
				v_ms=$(field ms "$scratch/empty-viewer.txt")
				note process_empty_ms "$d_ms"
				note viewer_tiny_ms "$v_ms"
				note process_empty_hwm_kb "$(field hwm_kb "$scratch/empty-dorva.txt")"
				note viewer_tiny_hwm_kb "$(field hwm_kb "$scratch/empty-viewer.txt")"
				row "4 start-up to empty window / viewer 16x16" "$d_ms ms" "$v_ms ms" \
					"$(ratio "$d_ms" "$v_ms")x" "<= 1.1x"
				if [[ -s $scratch/empty-holidays.txt ]]; then
					h_ms=$(field ms "$scratch/empty-holidays.txt")
					note process_empty_holidays_ms "$h_ms"
					row "4 the same with --holidays de-by / without" "$h_ms ms" "$d_ms ms" \
						"$(awk -v a="$h_ms" -v b="$d_ms" 'BEGIN { printf "%+.1f ms", a - b }')" \
						"< +2 ms (in process: case 9)"
				fi
			else
				skip "4 start-up to the empty window" "the runs failed (above)"
			fi
		fi
	fi
	if [[ -n $xvfb_pid ]]; then
		kill "$xvfb_pid" 2>/dev/null
		wait "$xvfb_pid" 2>/dev/null
		xvfb_pid=
	fi
fi

# Case 5: drawing, dorva and QPainter taking turns by rounds as in case 1.
if wanted 5; then
	ok=1
	for ((r = 1; r <= rounds; r++)); do
		if ! QT_QPA_PLATFORM=offscreen run_logged "$scratch/draw.$r" "$bin/program_bench" draw \
			"$data/$mid" "$runs" \
			|| ! QT_QPA_PLATFORM=offscreen run_logged "$scratch/qpainter.$r" \
				"$bin/reference/reference_bench" draw "$data/$mid" "$runs"; then
			ok=0
			break
		fi
	done
	if [[ $ok == 1 ]]; then
		note draw_buffer "$(value draw_buffer "$scratch/draw.1")"
		for key in draw_full_ms draw_band_ms draw_small_ms draw_small_band_ms; do
			note "$key" "$(over_rounds "$key" "$scratch/draw")"
		done
		full=$(over_rounds draw_full_ms "$scratch/draw")
		small=$(over_rounds draw_small_ms "$scratch/draw")
		plain=$(over_rounds draw_full_ms "$scratch/qpainter")
		note qpainter_full_ms "$plain"
		row "5 full Draw 4000x3000 / plain QPainter" "$full ms" "$plain ms" \
			"$(ratio "$full" "$plain")x" "<= 0.5x"
		row "5 Draw of a 100x100 update (absolute)" "$small ms" "-" "-" "<= 2 ms"
	else
		skip "5 Draw" "a drawing benchmark failed"
	fi
fi

# Case 6: paste.
if wanted 6; then
	log=$scratch/paste.txt
	if QT_QPA_PLATFORM=offscreen run_logged "$log" "$bin/program_bench" paste "$data/$mid" "$runs"; then
		for key in paste_ms paste_handler_ms paste_decode_ms paste_redraw_ms paste_composite_ms \
			paste_composite_cpu_ms rows_memcpy_ms rows_memcpy_cpu_ms paste_same_pixels; do
			note "$key" "$(value "$key" "$log")"
		done
		composite=$(value paste_composite_cpu_ms "$log")
		rows=$(value rows_memcpy_cpu_ms "$log")
		row "6 paste 4000x3000, composite / row memcpy" "$composite ms" "$rows ms" \
			"$(ratio "$rows" "$composite")x speed" ">= 0.5x speed (processor time)"
		composite=$(value paste_composite_ms "$log")
		rows=$(value rows_memcpy_ms "$log")
		row "6 the same in wall time" "$composite ms" "$rows ms" \
			"$(ratio "$rows" "$composite")x speed" "(for information)"
		whole=$(value paste_ms "$log")
		row "6 the whole \"MIME\" message / row memcpy" "$whole ms" "$rows ms" \
			"$(ratio "$rows" "$whole")x speed" "(for information)"
	else
		skip "6 paste" "program_bench paste failed or pasted other pixels (see above)"
	fi
fi

# Case 7: PNG export, one run of each in turn, --export-runs times.
if wanted 7; then
	ok=1
	for ((r = 1; r <= export_runs; r++)); do
		if ! QT_QPA_PLATFORM=offscreen run_logged "$scratch/export.$r" "$bin/program_bench" export \
			"$data/$big" "$scratch/out" 1 \
			|| ! QT_QPA_PLATFORM=offscreen run_logged "$scratch/qpng.$r" \
				"$bin/reference/reference_bench" png "$data/$big" "$scratch/out/reference.png" 1; then
			ok=0
			break
		fi
	done
	if [[ $ok == 1 ]]; then
		d_ms=$(over_rounds export_ms "$scratch/export" "$export_runs")
		q_ms=$(over_rounds png_ms "$scratch/qpng" "$export_runs")
		d_bytes=$(value export_bytes "$scratch/export.1")
		q_bytes=$(value png_bytes "$scratch/qpng.1")
		note export_ms "$d_ms"
		note qimagewriter_png_ms "$q_ms"
		note export_bytes "$d_bytes"
		note qimagewriter_png_bytes "$q_bytes"
		row "7 PNG export 24 MP / QImageWriter defaults" "$d_ms ms" "$q_ms ms" \
			"$(ratio "$d_ms" "$q_ms")x" "<= 0.5x"
		row "7 PNG file size / QImageWriter defaults" \
			"$(awk -v b="$d_bytes" 'BEGIN { printf "%.1f MB", b / 1e6 }')" \
			"$(awk -v b="$q_bytes" 'BEGIN { printf "%.1f MB", b / 1e6 }')" \
			"$(ratio "$d_bytes" "$q_bytes")x" "<= 1.2x"
	else
		skip "7 PNG export" "an export benchmark failed"
	fi
fi

# Case 8: refusals, each open once per run; absolute figures.
if wanted 8; then
	log=$scratch/refuse.txt
	mkdir -p "$scratch/hostile"
	if QT_QPA_PLATFORM=offscreen run_logged "$log" "$bin/program_bench" refuse "$scratch/hostile" \
		"$runs"; then
		for kind in bits drop png jpeg svg; do
			for key in bytes ms peak_added_kb outcome; do
				note "refuse_${kind}_$key" "$(value "refuse_${kind}_$key" "$log")"
			done
			bytes=$(value "refuse_${kind}_bytes" "$log")
			kb=$(value "refuse_${kind}_peak_added_kb" "$log")
			row "8 hostile $kind ($bytes bytes)" "$(value "refuse_${kind}_ms" "$log") ms" \
				"$((kb / 1024)) MiB" "-" "$(value "refuse_${kind}_outcome" "$log") (time, added peak)"
		done
	else
		skip "8 hostile files" "program_bench refuse failed"
	fi
fi

# Case 9: holiday sets; absolute figures.
if wanted 9; then
	log=$scratch/holidays.txt
	if run_logged "$log" "$bin/holiday_bench" "$root/data/holidays" de-by "$((runs * 10))"; then
		note holiday_startup_first_ms "$(value holiday_startup_first_ms "$log")"
		note holiday_startup_ms "$(value holiday_startup_ms "$log")"
		note holiday_year_ms "$(value holiday_year_ms "$log")"
		row "9 --holidays de-by at start-up (read, check, year)" \
			"$(value holiday_startup_ms "$log") ms" "-" "-" "< 2 ms"
		row "9 the same, the first time in the process" \
			"$(value holiday_startup_first_ms "$log") ms" "-" "-" "< 2 ms"
		row "9 a year of the slowest set ($(value holiday_year_slowest "$log"))" \
			"$(value holiday_year_ms "$log") ms" "-" "-" "< 1 ms"
	else
		skip "9 holiday sets" "holiday_bench failed"
	fi
fi

# Case 10: what writing a large picture holds beyond its bitmaps (the picture read and the
# one drawn), as the PNG write needs no more than those.
if wanted 10; then
	if [[ ! -x $build/dorva-render || ! -x /usr/bin/time ]]; then
		skip "10 memory of writing 24 MP" "needs $build/dorva-render and /usr/bin/time"
	else
		peak_kb() {
			/usr/bin/time -o "$scratch/peak.txt" -f %M "$build/dorva-render" "$data/$big" \
				-o "$scratch/out/peak.$1" 2>/dev/null && tail -n 1 "$scratch/peak.txt"
		}
		picture_mib=$((6000 * 4000 * 4 / 1048576))
		png_kb=$(peak_kb png)
		note render_png_peak_kb "$png_kb"
		for format in jpg tif webp; do
			kb=$(peak_kb "$format")
			note "render_${format}_peak_kb" "$kb"
			if [[ -n $png_kb && -n $kb ]]; then
				added=$(((kb - png_kb) / 1024))
				row "10 $format 24 MP, beyond PNG / one picture" "$added MiB" "$picture_mib MiB" \
					"$(ratio "$added" "$picture_mib")x" "<= 1x"
			else
				skip "10 $format 24 MP" "dorva-render failed"
			fi
		done
	fi
fi

# Case 11: the readable style.
if wanted 11; then
	photos=(/usr/share/backgrounds/mate/nature/*.jpg)
	if [[ ! -x $bin/readability_bench ]]; then
		skip "11 readable style" "readability_bench was not built"
	elif [[ ! -f ${photos[0]} ]]; then
		skip "11 readable style" "no photographs: install mate-backgrounds"
	else
		log=$scratch/share.txt
		if QT_QPA_PLATFORM=offscreen run_logged "$log" "$bin/readability_bench" share "${photos[@]}"; then
			grep '^photo ' "$log" >>"$raw"
			plain=$(value share_plain "$log")
			readable=$(value share_readable "$log")
			for key in share_plain share_readable share_plain_contrast share_plain_gap \
				share_readable_contrast share_readable_gap; do
				note "$key" "$(value "$key" "$log")"
			done
			row "11 dates readable, ${#photos[@]} photos: readable / plain" \
				"$(awk -v v="$readable" 'BEGIN { printf "%.1f%%", v * 100 }')" \
				"$(awk -v v="$plain" 'BEGIN { printf "%.1f%%", v * 100 }')" "-" "readable 100%"
		else
			skip "11 dates readable" "readability_bench share failed"
		fi
		# Each style in a process of its own, the two taking turns by rounds as in case 1.
		ok=1
		for ((r = 1; r <= rounds; r++)); do
			for style in plain readable; do
				if ! QT_QPA_PLATFORM=offscreen run_logged "$scratch/render-$style.$r" \
					"$bin/readability_bench" time "$data/$big" "$runs" "$style"; then
					ok=0
				fi
			done
		done
		if [[ $ok == 1 ]]; then
			plain=$(over_rounds render_plain_ms "$scratch/render-plain")
			readable=$(over_rounds render_readable_ms "$scratch/render-readable")
			note render_plain_ms "$plain"
			note render_readable_ms "$readable"
			note render_plain_first_ms "$(over_rounds render_plain_first_ms "$scratch/render-plain")"
			note render_readable_first_ms \
				"$(over_rounds render_readable_first_ms "$scratch/render-readable")"
			row "11 compose 24 MP, readable / plain" "$readable ms" "$plain ms" \
				"$(ratio "$readable" "$plain")x" "(for information)"
			plain=$(over_rounds render_plain_cpu_ms "$scratch/render-plain")
			readable=$(over_rounds render_readable_cpu_ms "$scratch/render-readable")
			note render_plain_cpu_ms "$plain"
			note render_readable_cpu_ms "$readable"
			row "11 the same in processor time" "$readable ms" "$plain ms" \
				"$(ratio "$readable" "$plain")x" "<= 1.10x"
		else
			skip "11 compose 24 MP" "readability_bench time failed"
		fi
		# The whole of dorva-render on that picture, JPEG in and out, as a user runs it.
		for ((r = 1; r <= rounds; r++)); do
			for style in plain readable; do
				start=$EPOCHREALTIME
				QT_QPA_PLATFORM=offscreen "$build/dorva-render" --style "$style" "$data/$big" \
					-o "$scratch/out/render-$style.jpg" >/dev/null 2>&1
				end=$EPOCHREALTIME
				awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }' \
					>>"$scratch/whole-$style"
			done
		done
		plain=$(median <"$scratch/whole-plain")
		readable=$(median <"$scratch/whole-readable")
		note render_tool_plain_ms "$plain"
		note render_tool_readable_ms "$readable"
		row "11 dorva-render 24 MP JPEG, readable / plain" "$readable ms" "$plain ms" \
			"$(ratio "$readable" "$plain")x" "<= 1.10x"
	fi
fi

if wanted 12; then
	if ! command -v convert >/dev/null 2>&1; then
		skip "12 wall calendar" "ImageMagick's convert is not installed"
	elif [[ ! -x /usr/bin/time ]]; then
		skip "12 wall calendar" "/usr/bin/time is not installed"
	else
		mkdir -p "$scratch/wall"
		ok=1
		for ((r = 1; r <= rounds; r++)); do
			if ! QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%e %M' -o "$scratch/wall-time.$r" \
				"$build/dorva-render" --layout wall --year 2027 --page a4 --lang de --week-numbers \
				--holidays de "${wall_photos[@]}" -o "$scratch/wall/calendar.pdf" \
				>/dev/null 2>"$scratch/wall-log.$r"; then
				ok=0
				tail -n 5 "$scratch/wall-log.$r" >&2
				break
			fi
			start=$EPOCHREALTIME
			for photo in "${wall_photos[@]}"; do
				convert "$photo" -resize 2480x3508 "$scratch/wall/resized.jpg"
			done
			end=$EPOCHREALTIME
			awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }' \
				>>"$scratch/convert-ms"
		done
		if [[ $ok == 1 ]]; then
			wall=$(for ((r = 1; r <= rounds; r++)); do
				awk '{ printf "%.1f\n", $1 * 1000 }' "$scratch/wall-time.$r"
			done | median)
			peak=$(for ((r = 1; r <= rounds; r++)); do
				awk '{ printf "%.1f\n", $2 / 1024 }' "$scratch/wall-time.$r"
			done | median)
			convert_ms=$(median <"$scratch/convert-ms")
			# Two photos' pixels: 4000 x 3000 at 4 bytes each, twice, plus 100 MB.
			budget=$(awk 'BEGIN { printf "%.1f", 2 * 4000 * 3000 * 4 / 1048576 + 100 }')
			size=$(stat -c %s "$scratch/wall/calendar.pdf")
			note wall_ms "$wall"
			note wall_convert_ms "$convert_ms"
			note wall_peak_mb "$peak"
			note wall_pdf_bytes "$size"
			row "12 wall calendar 13 x 12 MP / convert resize" "$wall ms" "$convert_ms ms" \
				"$(ratio "$wall" "$convert_ms")x" "<= 0.50x"
			row "12 its peak memory / 2 photos + 100 MB" "$peak MB" "$budget MB" \
				"$(ratio "$peak" "$budget")x" "< 1.00x"
			row "12 the PDF's size" "$(awk -v b="$size" 'BEGIN { printf "%.1f MB", b / 1048576 }')" \
				"-" "-" "near 20 MB"
		else
			skip "12 wall calendar" "dorva-render --layout wall failed"
		fi
	fi
fi

# Case 13: a calendar page's photo.
if wanted 13; then
	log=$scratch/scaling.txt
	if [[ ! -x $bin/picture_scaling_bench ]]; then
		skip "13 page photo" "picture_scaling_bench was not built"
	elif QT_QPA_PLATFORM=offscreen run_logged "$log" "$bin/picture_scaling_bench" "$data/$mid" \
		"$runs" 2300 1700; then
		for key in facts_ms decode_whole_ms decode_least_ms resample_whole_ms resample_least_ms \
			page_whole_ms page_least_ms; do
			note "$key" "$(value "$key" "$log")"
		done
		least=$(value decode_least_ms "$log")
		whole=$(value decode_whole_ms "$log")
		row "13 decode 4000x3000 at 5/8 / whole" "$least ms" "$whole ms" \
			"$(ratio "$least" "$whole")x" "(for information)"
		least=$(value resample_least_ms "$log")
		whole=$(value resample_whole_ms "$log")
		row "13 resample to 2300x1700, from 5/8 / whole" "$least ms" "$whole ms" \
			"$(ratio "$least" "$whole")x" "(for information)"
		least=$(value page_least_ms "$log")
		whole=$(value page_whole_ms "$log")
		row "13 decode and resample, 5/8 / whole" "$least ms" "$whole ms" \
			"$(ratio "$least" "$whole")x" "(for information: 2/5 of the pixels held)"
		row "13 facts without decoding (absolute)" "$(value facts_ms "$log") ms" "-" "-" \
			"<= 5 ms"
	else
		skip "13 page photo" "picture_scaling_bench failed"
	fi
fi

out ""
out "load after: $(uptime | sed 's/.*load average/load average/')"
out "every figure: $raw"
echo "this table: $results"
