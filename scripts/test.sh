#!/usr/bin/env bash
# Builds dorva and runs its tests twice: once in the ordinary build ("build"), then once
# in a build with AddressSanitizer and UndefinedBehaviorSanitizer ("build-asan"). With
# clang installed, the sanitizer build is clang's and also builds the fuzz harnesses
# (tests/fuzz), whose seed corpora and crashes found so far its ctest replays; without
# clang (or with DORVA_SANITIZER_COMPILER=gcc) it is GCC's, without the harnesses.
#   scripts/test.sh            both runs
#   DORVA_SKIP_ASAN=1 scripts/test.sh    the ordinary run only
# Exits non-zero when a build or a test fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

jobs=${DORVA_TEST_JOBS:-2}

# Tests draw off screen and keep their settings and runtime files out of the user's home.
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorva-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" "$scratch/config"
export XDG_RUNTIME_DIR="$scratch/runtime"
export XDG_CONFIG_HOME="$scratch/config"

# A private session bus for the tests, when D-Bus is there to give one.
bus=()
if command -v dbus-run-session >/dev/null 2>&1; then
	bus=(dbus-run-session --)
fi

run_ctest() {
	local dir=$1
	echo "== ctest in $dir"
	"${bus[@]}" ctest --test-dir "$dir" --output-on-failure --no-tests=error \
		-j "$jobs" --timeout "${DORVA_TEST_TIMEOUT:-300}"
}

# ctest runs every test in a process of its own; each suite also runs whole, in one
# process, so that a test that leaves something behind for the next one is caught too.
suites=(kit_tests program_tests localized_tests locale_tests bus_tests)
run_suites() {
	local dir=$1 suite
	local environment=(DORVA_TEST_DATA="$root/tests/data")
	if [[ ${#bus[@]} -gt 0 ]]; then
		environment+=(DORVA_PRIVATE_BUS=1)
	fi
	for suite in "${suites[@]}"; do
		echo "== $suite in $dir, whole"
		"${bus[@]}" env "${environment[@]}" "$dir/tests/$suite" --gtest_brief=1
	done
}

echo "== build"
# The benchmarks are built too, so that they keep up with the code they measure.
scripts/build.sh build -DDORVA_BUILD_BENCH=ON
run_ctest build
run_suites build

if [[ ${DORVA_SKIP_ASAN:-0} == 1 ]]; then
	exit 0
fi

# The sanitizer options are set before building too: test discovery runs the
# instrumented test executables at build time.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:print_stacktrace=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

echo "== sanitizer build"
sanitizer=(-DCMAKE_CXX_COMPILER=g++ -DDORVA_SANITIZE=ON -DDORVA_FUZZ=OFF)
if [[ ${DORVA_SANITIZER_COMPILER:-clang} == clang ]] && command -v clang++ >/dev/null 2>&1; then
	sanitizer=(-DCMAKE_CXX_COMPILER=clang++ -DDORVA_FUZZ=ON)
fi
scripts/build.sh build-asan "${sanitizer[@]}"
run_ctest build-asan
run_suites build-asan
