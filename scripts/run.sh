#!/usr/bin/env bash
# The main job: installs what is missing, builds the plugin and the development host, then runs the
# plugin in the host on the built-in scenario and prints what it logged, published and answered.
# Arguments go to `hux-host run` (for instance --scenario FILE or --json). Standard output holds only
# hux-host's report, so that `scripts/run.sh --json | python3 -m json.tool` works: what the installer and
# the build print goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh >&2
cmake --preset default >&2
cmake --build --preset default -j "$(nproc)" --target hux-game-queues hux-host >&2
exec build/bin/hux-host run "$@"
