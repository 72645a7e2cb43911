#!/usr/bin/env bash
# The main job: installs what is missing, builds the plugin and the development host, then loads
# the plugin into the host and shows what it answers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target hux-game-queues hux-host
exec build/bin/hux-host "$@"
