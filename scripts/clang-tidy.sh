#!/usr/bin/env bash
# clang-tidy.sh [BUILD] [FILE...] - runs clang-tidy with the checks of .clang-tidy over the project's own
# C++ sources (src/, host/, tests/, bench/, fuzz/), or over the files given, with the compile database of
# BUILD (default: build, made by the default preset). Files the build does not compile, third-party code
# (outside the repository) and generated sources (in the build folder) are left out. Any finding fails:
# the exit status is non-zero and the findings are printed. JOBS (default 2) files are checked at once.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
if [[ ! -f "$build/compile_commands.json" ]]; then
    echo "clang-tidy.sh: $build/compile_commands.json is missing: configure with cmake --preset default" >&2
    exit 2
fi

if (($# > 0)); then
    files=("$@")
else
    # Only what the build compiles: its database names every translation unit with an absolute path.
    mapfile -t compiled < <(python3 -c '
import json, os, sys
for entry in json.load(open(sys.argv[1])):
    print(os.path.relpath(os.path.join(entry["directory"], entry["file"])))' "$build/compile_commands.json" | sort -u)
    mapfile -t files < <(git ls-files -- 'src/*.cpp' 'host/*.cpp' 'tests/*.cpp' 'bench/*.cpp' 'fuzz/*.cpp' |
        grep -Fxf <(printf '%s\n' "${compiled[@]}"))
fi
echo "clang-tidy.sh: checking ${#files[@]} files with $build/compile_commands.json" >&2

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
printf '%s\0' "${files[@]}" |
    xargs -0 -n 4 -P "${JOBS:-2}" clang-tidy -p "$build" --quiet --warnings-as-errors='*' >"$log" 2>/dev/null ||
    status=$?
if ((status != 0)) || grep -q 'warning:\|error:' "$log"; then
    grep -A3 'warning:\|error:' "$log" >&2 || cat "$log" >&2
    echo "clang-tidy.sh: findings above" >&2
    exit 1
fi
echo "clang-tidy.sh: no findings" >&2
