# What the end-to-end scripts that drive dorva over the session bus share (sourced, after
# they set `name`, the script's short name): the command line DORVA DORVA_SEND SAMPLE_PNG,
# a private session bus of their own, drawing off screen, a scratch folder ($work, with
# $work/out) removed at the end with any dorva still running ($dorva_pid), and fail().
# shellcheck shell=bash

if [[ $# -ne 3 ]]; then
	echo "usage: $0 DORVA DORVA_SEND SAMPLE_PNG" >&2
	exit 2
fi
if [[ -z ${DORVA_E2E_PRIVATE_BUS:-} ]]; then
	exec dbus-run-session -- env DORVA_E2E_PRIVATE_BUS=1 bash "$0" "$@"
fi

dorva=$1
send=$2
sample=$3
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d "${TMPDIR:-/tmp}/dorva-$name.XXXXXX")
mkdir -m 700 "$work/runtime"
mkdir "$work/out"
export XDG_RUNTIME_DIR="$work/runtime"
dorva_pid=""

cleanup() {
	if [[ -n $dorva_pid ]] && kill -0 "$dorva_pid" 2>/dev/null; then
		kill -KILL "$dorva_pid" 2>/dev/null || true
		wait "$dorva_pid" 2>/dev/null || true
	fi
	rm -rf "$work"
}
trap cleanup EXIT

fail() {
	echo "$name: FAIL: $*" >&2
	exit 1
}
