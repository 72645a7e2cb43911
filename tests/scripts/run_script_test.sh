#!/usr/bin/env bash
# run_script_test.sh - scripts/run.sh keeps standard output for hux-host's report: it runs a copy of the
# script beside stand-ins for the installer, cmake and hux-host that each write a line to standard
# output, and checks that only hux-host's line arrives there.
# Usage: run_script_test.sh REPOSITORY_ROOT
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/scripts" "$root/bin" "$root/build/bin"
cp "$1/scripts/run.sh" "$root/scripts/run.sh"
stand_in() {
    printf '#!/bin/sh\n%s\n' "$2" >"$1"
    chmod +x "$1"
}
stand_in "$root/scripts/install-deps.sh" 'echo "all packages present"'
stand_in "$root/bin/cmake" 'echo "cmake $*"'
stand_in "$root/build/bin/hux-host" 'echo "{\"arguments\": \"$*\"}"'
out=$(PATH="$root/bin:$PATH" "$root/scripts/run.sh" --json 2>"$root/err")
expected='{"arguments": "run --json"}'
if [[ $out != "$expected" ]]; then
    printf 'standard output:\n%s\nexpected:\n%s\n' "$out" "$expected" >&2
    exit 1
fi
if ! grep -qx 'cmake --preset default' "$root/err"; then
    printf 'standard error lacks the build output:\n%s\n' "$(cat "$root/err")" >&2
    exit 1
fi
echo "run.sh: standard output holds hux-host's output alone"
