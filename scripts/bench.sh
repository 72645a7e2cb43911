#!/usr/bin/env bash
# Builds the benchmarks in the release configuration (the default preset: RelWithDebInfo, -O2 -g),
# runs them at low priority with repetitions, and prints one table that sets the plugin's code
# against its peers: CPU time medians, the ratio ours/peer, allocations per operation and the goal
# of each case (bench/README.md says what each case measures).
#
# Usage: scripts/bench.sh [options]
#   --filter REGEX     run only the benchmarks whose names match (Google Benchmark's filter)
#   --min-time SEC     the least time spent on each repetition of a benchmark (default 0.5)
#   --repetitions N    repetitions of each benchmark, of which the median counts (default 5)
#   --quick            a shorter budget: --min-time 0.05 --repetitions 3
#   --out FILE         where the JSON results go (default build/bench-results.json)
#   --no-build         run the benchmark executable as it is
#   --table FILE       print the table of an earlier run's JSON results and stop
set -euo pipefail
cd "$(dirname "$0")/.."

filter=""
min_time=""
repetitions=5
out=build/bench-results.json
build=true
table_only=""

usage() {
    sed -n '/^# Usage:/,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
    exit 2
}

while [[ $# -gt 0 ]]; do
    case $1 in
        --filter) filter=${2:?}; shift 2 ;;
        --min-time) min_time=${2:?}; shift 2 ;;
        --repetitions) repetitions=${2:?}; shift 2 ;;
        --quick) min_time=0.05; repetitions=3; shift ;;
        --out) out=${2:?}; shift 2 ;;
        --no-build) build=false; shift ;;
        --table) table_only=${2:?}; shift 2 ;;
        *) usage ;;
    esac
done

if [[ -n $table_only ]]; then
    exec python3 bench/bench_table.py "$table_only"
fi

cache=build/CMakeCache.txt
if $build; then
    if [[ ! -f $cache ]]; then
        launcher=()
        if command -v ccache >/dev/null 2>&1; then
            launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
        fi
        cmake --preset default "${launcher[@]}" >/dev/null
    fi
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$cache")
    if [[ $build_type != RelWithDebInfo && $build_type != Release ]]; then
        echo "error: build/ is configured as '$build_type'; the benchmarks need a release build" >&2
        exit 1
    fi
    # At most two jobs: the machines are shared.
    cmake --build --preset default --target hux_benchmarks -j 2
fi

arguments=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true
           --benchmark_out="$out" --benchmark_out_format=json)
[[ -n $filter ]] && arguments+=(--benchmark_filter="$filter")
[[ -n $min_time ]] && arguments+=(--benchmark_min_time="$min_time")
nice -n 10 build/bin/hux_benchmarks "${arguments[@]}"

context=("CPU time medians of $repetitions repetitions${filter:+, filter $filter}${min_time:+, min time $min_time s}")
if [[ -f $cache ]]; then
    compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$cache")
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$cache")
    flags=$(sed -n "s/^CMAKE_CXX_FLAGS_${build_type^^}:[A-Z]*=//p" "$cache")
    context=("compiler: $("$compiler" --version | head -n 1), $build_type flags: $flags" "${context[@]}")
fi
echo
python3 bench/bench_table.py "$out" "${context[@]/#/--context=}"
