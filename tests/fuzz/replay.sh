#!/usr/bin/env bash
# Runs a fuzz harness once over every input of its seed corpus and every crash found so far
# (tests/fuzz/corpus/NAME, tests/fuzz/crashes/NAME), with the limits of a fuzzing run.
#   tests/fuzz/replay.sh HARNESS_BINARY NAME
# Exits non-zero when an input makes the harness fail.
set -euo pipefail

dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/fuzz/options.sh
source "$dir/options.sh"

binary=$1
name=$2
inputs=()
for folder in "$dir/corpus/$name" "$dir/crashes/$name"; do
	if [[ -d $folder ]]; then
		inputs+=("$folder")
	fi
done
if [[ ${#inputs[@]} -eq 0 ]]; then
	echo "replay.sh: no inputs for $name" >&2
	exit 1
fi

run=("$binary" -runs=0 "${fuzz_limits[@]}" "${inputs[@]}")
if fuzz_needs_bus "$name" && [[ -z ${DBUS_SESSION_BUS_ADDRESS:-} ]]; then
	run=(dbus-run-session -- "${run[@]}")
fi
"${run[@]}"
