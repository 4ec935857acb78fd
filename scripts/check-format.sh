#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as .clang-format says, without
# changing anything; exits non-zero and names the places otherwise.
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    format the files in place instead
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null 2>&1; then
	echo "check-format.sh: $clang_format is not installed (scripts/install-deps.sh installs it)" >&2
	exit 1
fi

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ ${1:-} == --fix ]]; then
	"$clang_format" -i "${files[@]}"
	exit 0
fi
"$clang_format" --dry-run --Werror "${files[@]}"
echo "check-format.sh: ${#files[@]} files are formatted"
