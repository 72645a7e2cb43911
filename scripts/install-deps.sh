#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run, skipping those present.
# Usage: scripts/install-deps.sh [--test]   (--test adds what only the test run needs)
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config zlib1g-dev libyaml-dev rapidjson-dev libcpp-httplib-dev libgtest-dev)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(g++-multilib clang-format libbenchmark-dev)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "error: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
    exit 1
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
