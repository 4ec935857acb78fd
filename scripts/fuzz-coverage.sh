#!/usr/bin/env bash
# How much of the project's own code the fuzz harnesses reach: builds the harnesses for
# clang's source-based coverage (-fprofile-instr-generate -fcoverage-mapping, no
# sanitizers) in a build directory of their own, replays each harness's inputs once (its
# seed corpus, what scripts/fuzz.sh found, the crashes kept in the tree) and reports, with
# llvm-cov, the lines, functions and regions covered in the project's own files (app/,
# canvas/, config/, imageio/, kit/ without its test hooks, tools/) that each harness links,
# in the files it is written for (tests/fuzz/options.sh, fuzz_focus), and in all the files
# any harness links, by all of them together.
#   scripts/fuzz-coverage.sh [--build-dir DIR] [--no-build] [--work DIR] [HARNESS...]
# The build directory defaults to build-fuzz-coverage, the inputs found by fuzzing to
# build-fuzz/fuzz-work (scripts/fuzz.sh's default). Reports land in BUILD/coverage/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=tests/fuzz/options.sh
source tests/fuzz/options.sh

build_dir="build-fuzz-coverage"
build=1
work="build-fuzz/fuzz-work"
while [[ $# -gt 0 ]]; do
	case $1 in
		--build-dir) build_dir=$2; shift 2 ;;
		--no-build) build=0; shift ;;
		--work) work=$2; shift 2 ;;
		-h | --help) sed -n '2,12p' "$0"; exit 0 ;;
		*) break ;;
	esac
done
harnesses=("$@")
if [[ ${#harnesses[@]} -eq 0 ]]; then
	harnesses=("${fuzz_harnesses[@]}")
fi

tool() {
	local name=$1
	for candidate in "$name" "$name-14"; do
		if command -v "$candidate" >/dev/null 2>&1; then
			echo "$candidate"
			return
		fi
	done
	echo "fuzz-coverage.sh: $name is not installed (scripts/install-deps.sh installs llvm)" >&2
	exit 1
}
profdata=$(tool llvm-profdata)
cov=$(tool llvm-cov)

if [[ $build == 1 ]]; then
	launcher=()
	if command -v ccache >/dev/null 2>&1; then
		launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	fi
	scripts/build.sh "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DDORVA_FUZZ=ON \
		-DDORVA_FUZZ_COVERAGE=ON -DDORVA_BUILD_TESTS=OFF "${launcher[@]}"
fi

out=$build_dir/coverage
rm -rf "$out"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-fuzz-coverage.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime

# Only the project's own sources count: app/, canvas/, config/, imageio/, kit/ (without the
# test hooks in kit/testing/) and tools/; not the tests, Qt's generated code or headers.
ignore='/tests/|/kit/testing/|_autogen/|moc_|^/usr/'

# totals REGEX < llvm-cov export -summary-only: "lines L% (covered/all), functions F%,
# regions R%" over the project's files whose path below the root matches REGEX.
totals() {
	python3 -c '
import json, os, re, sys
root, pattern = sys.argv[1], re.compile(sys.argv[2])
project = re.compile(r"(app|canvas|config|imageio|kit|tools)/")
sums = {"lines": [0, 0], "functions": [0, 0], "regions": [0, 0]}
for data in json.load(sys.stdin)["data"]:
    for entry in data["files"]:
        path = os.path.relpath(os.path.normpath(entry["filename"]), root)
        if not project.match(path) or path.startswith("kit/testing/") or not pattern.search(path):
            continue
        for kind, pair in sums.items():
            pair[0] += entry["summary"][kind]["covered"]
            pair[1] += entry["summary"][kind]["count"]
def percent(kind):
    covered, count = sums[kind]
    return 100.0 * covered / count if count else 0.0
print("lines %.1f%% (%d/%d), functions %.1f%%, regions %.1f%%" % (percent("lines"),
      sums["lines"][0], sums["lines"][1], percent("functions"), percent("regions")))
' "$root" "$1"
}

objects=()
summary=()
for name in "${harnesses[@]}"; do
	binary=$build_dir/tests/fuzz/${name}_fuzz
	inputs=()
	for folder in "tests/fuzz/corpus/$name" "$work/$name/corpus" "tests/fuzz/crashes/$name"; do
		if [[ -d $folder ]]; then
			inputs+=("$folder")
		fi
	done
	# An input that fails leaves its copy with the report, not in the working tree.
	run=("$binary" -runs=0 "${fuzz_limits[@]}" -artifact_prefix="$out/" "${inputs[@]}")
	if fuzz_needs_bus "$name"; then
		run=(dbus-run-session -- "${run[@]}")
	fi
	count=$(find "${inputs[@]}" -type f | wc -l)
	echo "== $name: replaying $count inputs"
	LLVM_PROFILE_FILE="$out/$name-%p.profraw" "${run[@]}" >"$out/$name.log" 2>&1 || {
		echo "fuzz-coverage.sh: $name failed on its inputs (see $out/$name.log)" >&2
		exit 1
	}
	"$profdata" merge -sparse "$out/$name"-*.profraw -o "$out/$name.profdata"
	"$cov" report "$binary" -instr-profile="$out/$name.profdata" \
		-ignore-filename-regex="$ignore" >"$out/$name.txt"
	"$cov" export -summary-only "$binary" -instr-profile="$out/$name.profdata" \
		-ignore-filename-regex="$ignore" >"$out/$name.json"
	summary+=("$(printf '%-14s %5d inputs  project: %s\n%-14s               focus:   %s' "$name" \
		"$count" "$(totals '.' <"$out/$name.json")" "" "$(totals "^($(fuzz_focus "$name"))" <"$out/$name.json")")")
	objects+=(-object "$binary")
done

# All the harnesses together: the project's files that any of them links.
"$profdata" merge -sparse "$out"/*.profraw -o "$out/all.profdata" 2>/dev/null
"$cov" report "${objects[@]:1}" -instr-profile="$out/all.profdata" \
	-ignore-filename-regex="$ignore" >"$out/all.txt"
"$cov" export -summary-only "${objects[@]:1}" -instr-profile="$out/all.profdata" \
	-ignore-filename-regex="$ignore" >"$out/all.json"

echo "== coverage of the project's own code (reports in $out)"
printf '%s\n' "${summary[@]}"
echo "all harnesses:               $(totals '.' <"$out/all.json")"
