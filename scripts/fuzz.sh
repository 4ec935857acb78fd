#!/usr/bin/env bash
# Builds the fuzz harnesses (tests/fuzz) with clang, libFuzzer, ASan and UBSan in a build
# directory of their own, then fuzzes each one in turn for SECONDS seconds, on one core.
#   scripts/fuzz.sh [--build-dir DIR] [--no-build] [--work DIR] [SECONDS] [HARNESS...]
# SECONDS defaults to 60; the harnesses default to all of them (tests/fuzz/options.sh).
# Each harness starts from its seed corpus (tests/fuzz/corpus/NAME) and from what earlier
# runs found (WORK/NAME/corpus, default build-fuzz/fuzz-work), which keeps the new inputs
# out of git. libFuzzer runs in fork mode: an input that passes the memory or time limits
# (a decompression bomb, say) is kept in WORK/NAME/artifacts as oom-* or timeout-* and the
# run goes on; a crash or a leak ends it, and its input is copied to
# tests/fuzz/crashes/NAME/ to be fixed and committed as a regression test. The summary
# gives per harness the executions, the executions per second, the coverage counters and
# what was found. Exits non-zero when a harness crashed.
#
# Extra libFuzzer options go in DORVA_FUZZ_OPTIONS.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=tests/fuzz/options.sh
source tests/fuzz/options.sh

build_dir="build-fuzz"
build=1
work=
while [[ $# -gt 0 ]]; do
	case $1 in
		--build-dir) build_dir=$2; shift 2 ;;
		--no-build) build=0; shift ;;
		--work) work=$2; shift 2 ;;
		-h | --help) sed -n '2,15p' "$0"; exit 0 ;;
		*) break ;;
	esac
done
seconds=60
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then
	seconds=$1
	shift
fi
harnesses=("$@")
if [[ ${#harnesses[@]} -eq 0 ]]; then
	harnesses=("${fuzz_harnesses[@]}")
fi
work=${work:-$build_dir/fuzz-work}
case $work in /*) ;; *) work=$root/$work ;; esac

if [[ $build == 1 ]]; then
	launcher=()
	if command -v ccache >/dev/null 2>&1; then
		launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	fi
	scripts/build.sh "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DDORVA_FUZZ=ON \
		-DDORVA_BUILD_TESTS=OFF "${launcher[@]}"
fi

# The sanitizers stop at the first fault. Allocation stacks are kept short: recording
# them is most of the cost of the harnesses that run the program's windows.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:malloc_context_size=10:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime
# libFuzzer's fork mode keeps its jobs' files in TMPDIR.
export TMPDIR=$scratch

summary=()
crashed=0
for name in "${harnesses[@]}"; do
	binary=$build_dir/tests/fuzz/${name}_fuzz
	options=$(fuzz_options "$name" "$root/tests/fuzz") || {
		echo "fuzz.sh: no harness $name (known: ${fuzz_harnesses[*]})" >&2
		exit 2
	}
	if [[ ! -x $binary ]]; then
		echo "fuzz.sh: $binary is not built" >&2
		exit 2
	fi
	mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
	log=$work/$name/fuzz.log
	# shellcheck disable=SC2206 # the options are words
	run=("$binary" -fork=1 -ignore_ooms=1 -ignore_timeouts=1 -ignore_crashes=0
		-max_total_time="$seconds" "${fuzz_limits[@]}" $options ${DORVA_FUZZ_OPTIONS:-}
		-artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" "tests/fuzz/corpus/$name")
	if fuzz_needs_bus "$name"; then
		run=(dbus-run-session -- "${run[@]}")
	fi
	echo "== $name: ${seconds}s (log: $log)"
	touch "$work/$name/started"
	status=0
	"${run[@]}" >"$log" 2>&1 || status=$?

	# The fork mode's last progress line holds the totals of all its jobs.
	last=$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 || true)
	executions=$(sed -nE 's/^#([0-9]+): .*/\1/p' <<<"$last")
	elapsed=$(sed -nE 's/.* time: ([0-9]+)s .*/\1/p' <<<"$last")
	rate=
	if [[ -n $executions && ${elapsed:-0} -gt 0 ]]; then
		rate=$((executions / elapsed))
	fi
	coverage=$(sed -nE 's/.* cov: ([0-9]+) ft: ([0-9]+) corp: ([0-9]+).*/cov \1, ft \2, corpus \3/p' <<<"$last")
	ooms=$(find "$work/$name/artifacts" -name 'oom-*' | wc -l)
	timeouts=$(find "$work/$name/artifacts" -name 'timeout-*' | wc -l)
	found=()
	while IFS= read -r -d '' artifact; do
		mkdir -p "tests/fuzz/crashes/$name"
		cp "$artifact" "tests/fuzz/crashes/$name/"
		found+=("tests/fuzz/crashes/$name/$(basename "$artifact")")
	done < <(find "$work/$name/artifacts" \( -name 'crash-*' -o -name 'leak-*' \) -newer "$work/$name/started" -print0)
	line=$(printf '%-14s %10s runs in %5ss, %6s/s  %-34s oom %s, timeout %s' "$name" \
		"${executions:-?}" "${elapsed:-?}" "${rate:-?}" "${coverage:-no progress line}" "$ooms" \
		"$timeouts")
	if [[ $status -ne 0 || ${#found[@]} -gt 0 ]]; then
		crashed=1
		line+="  FAILED (status $status) ${found[*]}"
		grep -E 'ERROR: |SUMMARY: |runtime error|broken promise' "$log" | head -n 5 || true
	fi
	summary+=("$line")
done

echo "== summary (work: $work)"
printf '%s\n' "${summary[@]}"
exit "$crashed"
