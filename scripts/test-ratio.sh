#!/usr/bin/env bash
# Prints the lines of test code against the lines of the code they test, per folder and in total.
# Test code: every *_test.cpp, the test-support headers beside them and all C++ under tests/.
# Code: every other .cpp and .h under src/ and host/. Benchmarks, fuzzers and scripts count in neither.
set -euo pipefail
cd "$(dirname "$0")/.."

is_test() { grep -E '(_test\.cpp|test_support\.h|conformance_support\.h)$|^tests/'; }
is_code() { grep -Ev '(_test\.cpp|test_support\.h|conformance_support\.h)$|^tests/'; }
count() { xargs -r cat | wc -l; }

printf '%-20s %8s %8s %6s\n' folder tests code ratio
total_tests=0
total_code=0
for folder in $(git ls-files 'src/*' 'host/*' 'tests/*' | grep -E '\.(cpp|h)$' | sed -E 's,/[^/]+$,,' |
                sed -E 's,^(src/queues/[^/]+|src/[^/]+|host|tests).*,\1,' | sort -u); do
    files=$(git ls-files "$folder" | grep -E '\.(cpp|h)$')
    tests=$(is_test <<<"$files" | count || true)
    code=$(is_code <<<"$files" | count || true)
    total_tests=$((total_tests + tests))
    total_code=$((total_code + code))
    ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { if (c > 0) printf "%.2f", t / c; else print "-" }')
    printf '%-20s %8d %8d %6s\n' "$folder" "$tests" "$code" "$ratio"
done
printf '%-20s %8d %8d %6.2f\n' total "$total_tests" "$total_code" \
    "$(awk -v t="$total_tests" -v c="$total_code" 'BEGIN { print t / c }')"
