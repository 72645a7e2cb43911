#!/usr/bin/env bash
# The test run: installs what is missing, then builds and runs the whole suite in every form the
# project ships or is developed in: plain and with AddressSanitizer and UndefinedBehaviorSanitizer on
# x86-64 Linux, as a native 32-bit Linux build, and as 32-bit and 64-bit Windows builds whose tests run
# under Wine. It checks the host ABI's 32-bit layout, the include layering between folders and the
# formatting of the sources first, and runs every benchmark once after the plain build. Each stage
# prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test --windows --linux-x86
jobs=$(nproc)
werror=()
if [[ -n "${CI:-}" ]]; then
    werror=(-DHUX_WERROR=ON)
fi

stage_start=$SECONDS
stage() {
    if [[ -n "${stage_name:-}" ]]; then
        echo "== $stage_name: $((SECONDS - stage_start)) s"
    fi
    stage_name=$1
    stage_start=$SECONDS
    [[ -n "$stage_name" ]] && echo "== $stage_name"
    return 0
}

stage "32-bit host ABI layout"
for header in src/abi/host_abi.h src/abi/host_endpoint_info.h; do
    gcc -m32 -std=c11 -fsyntax-only -Wall -Wextra -Wpedantic -Isrc -x c "$header"
    g++ -m32 -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Isrc -x c++ "$header"
done

stage "include layering"
scripts/check-layering.sh

stage "formatting"
git ls-files -z -- '*.h' '*.cpp' | xargs -0 clang-format --dry-run --Werror

for preset in default sanitize linux-x86 windows-x86 windows-x64; do
    stage "build and test: $preset"
    cmake --preset "$preset" "${werror[@]}" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"

    if [[ $preset == default ]]; then
        # Every benchmark once, on a tiny budget: proof that each one runs and that every reader agrees
        # on the inputs (checked before anything runs). Nothing is timed against anything here.
        stage "benchmark smoke run"
        build/bin/hux_benchmarks --benchmark_min_time=0.0001 --benchmark_out=build/bench-smoke.json \
            --benchmark_out_format=json >/dev/null
        python3 - build/bench-smoke.json <<'EOF'
import json, sys
failed = [run for run in json.load(open(sys.argv[1]))["benchmarks"] if run.get("error_occurred")]
for run in failed:
    print(f"benchmark {run['name']} failed: {run.get('error_message')}", file=sys.stderr)
sys.exit(1 if failed else 0)
EOF
    fi
done
stage ""
