#!/usr/bin/env bash
# Checks that each source folder includes only the folders below it, so that the include graph
# between subsystems has no cycle.
set -euo pipefail
cd "$(dirname "$0")/../src"

# Each folder, then the folders it may include (besides itself).
declare -A allowed=(
    [platform]=""
    [logging]="abi platform"
    [binding]="logging platform"
    [codecs]="binding logging platform"
    [abi]="binding codecs logging platform"
    [rest]="abi binding codecs logging platform"
    [runtime]="rest abi binding codecs logging platform"
    [queues/model]="runtime rest abi binding codecs logging platform"
    [queues/service]="queues/model runtime rest abi binding codecs logging platform"
)

status=0
for folder in "${!allowed[@]}"; do
    [[ -d "$folder" ]] || continue
    while IFS=: read -r file _ include; do
        target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$include")
        target_folder=$(dirname "$target")
        [[ "$target_folder" == "." || "$target_folder" == "$folder" ]] && continue
        if [[ " ${allowed[$folder]} " != *" $target_folder "* ]]; then
            echo "layering: $folder/$file includes $target" >&2
            status=1
        fi
    done < <(cd "$folder" && grep -H -n '#include "' -- *.h *.cpp 2>/dev/null || true)
done
exit $status
