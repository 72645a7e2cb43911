#!/usr/bin/env bash
# install_test.sh BUILD SOURCE - installs the build into a temporary prefix and checks the files, makes
# the .deb with cpack and checks what it holds, then builds tests/consumer against the installed package
# and runs it: it compiles against the headers and loads the module by the path the package gives.
# Exits 77 (skipped) where dpkg-deb is missing.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)

if ! command -v dpkg-deb >/dev/null; then
    echo "install test skipped: dpkg-deb is missing (install dpkg to check the .deb)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "install test: $*" >&2
    exit 1
}

expected="bin/hux-host
include/hux-game-queues/abi/host_abi.h
include/hux-game-queues/abi/host_endpoint_info.h
lib/cmake/hux-game-queues/hux-game-queues-config-version.cmake
lib/cmake/hux-game-queues/hux-game-queues-config.cmake
lib/libhux-game-queues.so
lib/pkgconfig/hux-game-queues.pc"

# cmake --install: exactly the listed files, and the installed hux-host finds the installed plugin.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed: $(cat "$work/install.log")"
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[[ "$installed" == "$expected" ]] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$installed"))"
version=$("$prefix/bin/hux-host" --version)
[[ "$version" == $'hux-host 18.0.0\nplugin hux-game-queues 18.0.0\nplugin API 18.0.0' ]] ||
    fail "installed hux-host --version printed: $version"
answer=$("$prefix/bin/hux-host" get /hux-game-queues/v1/queues/420) || fail "installed hux-host get failed: $answer"
[[ "$answer" == *'"id": 420'* ]] || fail "installed hux-host get printed: $answer"
pc_plugin=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --variable=plugin hux-game-queues)
[[ -f "$pc_plugin" && "$(realpath "$pc_plugin")" == "$prefix/lib/libhux-game-queues.so" ]] ||
    fail "pkg-config's plugin variable is '$pc_plugin'"
pc_cflags=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags hux-game-queues | xargs)
[[ "$(realpath "${pc_cflags#-I}")" == "$prefix/include/hux-game-queues" ]] || fail "pkg-config's cflags are '$pc_cflags'"

# cpack: the .deb named after the project's version holds the same files under /usr.
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log") ||
    fail "cpack failed: $(cat "$work/cpack.log")"
deb=$(find "$work/deb" -maxdepth 1 -name 'hux-game-queues_18.0.0_*.deb')
[[ -n "$deb" ]] || fail "no hux-game-queues_18.0.0_*.deb in: $(ls "$work/deb")"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | LC_ALL=C sort)
[[ "$packaged" == "$expected" ]] || fail "the .deb's files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$packaged"))"
[[ "$(dpkg-deb -f "$deb" Package Version)" == $'Package: hux-game-queues\nVersion: 18.0.0' ]] ||
    fail "the .deb's control: $(dpkg-deb -f "$deb" Package Version)"

# The consumer project, built against the installed package with find_package.
cmake -S "$source/tests/consumer" -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    >"$work/consumer.log" 2>&1 || fail "the consumer does not configure: $(cat "$work/consumer.log")"
cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 || fail "the consumer does not build: $(cat "$work/consumer.log")"
ran=$("$work/consumer/consumer") || fail "the consumer failed: $ran"
[[ "$ran" == "$prefix/lib/libhux-game-queues.so: load_hux_game_queues found, load block "*" bytes" ]] ||
    fail "the consumer printed: $ran"
echo "installed, packaged and consumed: $(basename "$deb")"
