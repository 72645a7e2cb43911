#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run, skipping those present.
# Usage: scripts/install-deps.sh [--test] [--windows] [--linux-x86]
#   --test       what only the test run needs (formatting, the 32-bit header check, the benchmarks
#                and the peer libraries they measure the plugin's code against, npm and the
#                @redocly/cli that lints the API description, the latter in ~/.cache/hux-game-queues/npm,
#                and Chromium, the headless browser the live page is tested in)
#   --windows    the MinGW-w64 cross compilers, Wine to run the Windows programs, and the sources of
#                libyaml and cpp-httplib from Debian's source packages, unpacked into build-deps/
#   --linux-x86  the 32-bit (i386) libraries of the native 32-bit Linux build
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config zlib1g-dev libyaml-dev rapidjson-dev libcpp-httplib-dev libgtest-dev)
windows=false
linux_x86=false
test=false
for option in "$@"; do
    case $option in
        --test)
            test=true
            # Debian's npm, unless an npm is already there (Node.js from elsewhere brings its own).
            command -v npm >/dev/null 2>&1 || packages+=(npm)
            packages+=(g++-multilib clang-format libbenchmark-dev chromium python3
                       nlohmann-json3-dev libmsgpack-cxx-dev libyaml-cpp-dev libsimdjson-dev)
            ;;
        --windows)
            windows=true
            packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
                       wine wine32:i386 wine64 dpkg-dev)
            ;;
        --linux-x86)
            linux_x86=true
            packages+=(g++-multilib zlib1g-dev:i386 libyaml-dev:i386 libgtest-dev:i386 libcpp-httplib-dev:i386)
            ;;
        *)
            echo "usage: $0 [--test] [--windows] [--linux-x86]" >&2
            exit 2
            ;;
    esac
done

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    as_root=(false)
fi

# The i386 packages (Wine's 32-bit half, the 32-bit Linux libraries) need the architecture enabled.
if { $windows || $linux_x86; } && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
    updated=false
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [[ ${#missing[@]} -gt 0 || ${updated:-true} == false ]]; then
    if [[ ${as_root[0]:-} == false ]]; then
        echo "error: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# libyaml has no MinGW package and Debian's cpp-httplib package holds a compiled library: for Windows
# both are built from their Debian source packages (the build compiles them; nothing is committed).
if $windows; then
    sources=/etc/apt/sources.list.d/hux-deb-src.sources
    if ! grep -rqs "^Types:.*deb-src\|^deb-src " /etc/apt/sources.list /etc/apt/sources.list.d/; then
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
            "$(. /etc/os-release && echo "$VERSION_CODENAME")" /usr/share/keyrings/debian-archive-keyring.gpg |
            "${as_root[@]}" tee "$sources" >/dev/null
        "${as_root[@]}" apt-get update -qq
    fi
    mkdir -p build-deps
    for source in libyaml cpp-httplib; do
        if ! compgen -G "build-deps/$source-*/" >/dev/null; then
            (cd build-deps && apt-get source -qq "$source" 2>&1 | grep -v "^W: Download is performed unsandboxed" || true)
        fi
        compgen -G "build-deps/$source-*/" >/dev/null || { echo "error: the source of $source was not fetched" >&2; exit 1; }
    done
fi

# The API description's linter comes from npm, pinned, into a folder of the user's cache (the tests
# look for it there): nothing is installed globally.
if $test; then
    redocly_version=2.77.0
    npm_prefix=$HOME/.cache/hux-game-queues/npm
    installed=$(cd "$npm_prefix" 2>/dev/null && npm ls --depth=0 --parseable --long @redocly/cli 2>/dev/null || true)
    if [[ $installed != *"@redocly/cli@$redocly_version"* ]]; then
        echo "Installing: @redocly/cli@$redocly_version into $npm_prefix"
        mkdir -p "$npm_prefix"
        npm install --prefix "$npm_prefix" --no-audit --no-fund --silent "@redocly/cli@$redocly_version"
    fi
fi
