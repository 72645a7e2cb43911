#!/usr/bin/env bash
# Runs the fuzz targets of the fuzz build, each for a while, seeded from the conformance data in
# tests/conformance, from fuzz/seeds and from fuzz/regressions.
# Usage: fuzz/run-fuzzers.sh [seconds per target (default 60)] [target ...]   (default: every target)
# Build first: cmake --preset fuzz && cmake --build --preset fuzz
# What a run learns stays in build-fuzz/corpus/<target>/; an input that breaks a target is written to
# build-fuzz/crashes/<target>/ (copy it to fuzz/regressions/<target>/ once it is understood).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=(compressed_queues json_reader msgpack_reader url_route yaml_reader)
fi
build=build-fuzz
conformance=tests/conformance
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$PWD/fuzz/ubsan-suppressions.txt"

status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    crashes=$build/crashes/$target
    mkdir -p "$corpus" "$crashes"
    case $target in
        json_reader) seeds=("$conformance/json/test_parsing" bench/data) ;;
        msgpack_reader)
            mkdir -p "$build/seeds/msgpack_reader"
            "$build/bin/hux_fuzz_msgpack_seeds" "$conformance/msgpack/msgpack-test-suite.json" \
                "$build/seeds/msgpack_reader" >/dev/null
            seeds=("$build/seeds/msgpack_reader")
            ;;
        yaml_reader) seeds=("$conformance/yaml/cases") ;;
        *) seeds=("fuzz/seeds/$target") ;;
    esac
    if [[ -d fuzz/regressions/$target ]]; then
        seeds+=("fuzz/regressions/$target")
    fi
    echo "== $target: ${seconds}s"
    # A minute per input: a real hang is still caught, while an input that only waited for a busy
    # machine (the targets run under the sanitizers, often beside a build) is not taken for one.
    if ! "$build/bin/hux_fuzz_$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "${seeds[@]}"; then
        echo "== $target: an input broke the target, see $crashes/" >&2
        status=1
    fi
done
exit $status
