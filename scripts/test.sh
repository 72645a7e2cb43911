#!/usr/bin/env bash
# The test run: installs what is missing, then builds and runs the whole suite twice (plain, and with
# AddressSanitizer and UndefinedBehaviorSanitizer), checks the host ABI's 32-bit layout, the include
# layering between folders and the formatting of the sources.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test
jobs=$(nproc)
werror=()
if [[ -n "${CI:-}" ]]; then
    werror=(-DHUX_WERROR=ON)
fi

echo "== 32-bit host ABI layout"
gcc -m32 -std=c11 -fsyntax-only -Wall -Wextra -Wpedantic -x c src/abi/host_abi.h
g++ -m32 -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -x c++ src/abi/host_abi.h

echo "== include layering"
scripts/check-layering.sh

echo "== formatting"
git ls-files -z -- '*.h' '*.cpp' | xargs -0 clang-format --dry-run --Werror

for preset in default sanitize; do
    echo "== build and test: $preset"
    cmake --preset "$preset" "${werror[@]}" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
