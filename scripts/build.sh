#!/usr/bin/env bash
# Configures and builds dorva with Ninja.
#   scripts/build.sh [build-dir] [extra cmake arguments...]
# The build directory defaults to "build" in the repository root; a relative one is taken
# from the repository root too. Extra arguments go to the configure step, e.g.
#   scripts/build.sh build-asan -DDORVA_SANITIZE=ON
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

build_dir=${1:-build}
if [[ $# -gt 0 ]]; then
	shift
fi

# A directory configured earlier with another generator cannot be reused by Ninja.
cache="$build_dir/CMakeCache.txt"
if [[ -f $cache ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache"; then
	echo "build.sh: $build_dir was configured with another generator; configuring it afresh"
	rm -rf "$cache" "$build_dir/CMakeFiles"
fi

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" --parallel "${DORVA_BUILD_JOBS:-$(nproc)}"
