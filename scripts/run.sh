#!/usr/bin/env bash
# The main job: installs what is missing, builds the plugin and the development host, then runs the
# plugin in the host on the built-in scenario and prints what it logged, published and answered.
# Arguments go to `hux-host run` (for instance --scenario FILE or --json).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target hux-game-queues hux-host
exec build/bin/hux-host run "$@"
