#!/usr/bin/env bash
# Checks that the source folders form one linear order: each folder includes only folders below it,
# so no two folders include each other and the include graph between subsystems has no cycle.
set -euo pipefail
cd "$(dirname "$0")/../src"

# The folders from the bottom up: each may include itself and the folders before it.
order=(platform text abi logging binding codecs host_values rest runtime queues/model queues/service)

status=0
declare -A rank=()
for index in "${!order[@]}"; do
    rank[${order[$index]}]=$index
done
for folder in */ queues/*/; do
    folder=${folder%/}
    [[ "$folder" == queues ]] && continue
    if [[ -z "${rank[$folder]+set}" ]]; then
        echo "layering: folder $folder has no place in the order of this script" >&2
        status=1
    fi
done

for folder in "${order[@]}"; do
    [[ -d "$folder" ]] || continue
    while IFS=: read -r file _ include; do
        target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$include")
        target_folder=$(dirname "$target")
        [[ "$target_folder" == "." || "$target_folder" == "$folder" ]] && continue
        if [[ -z "${rank[$target_folder]+set}" ]] || ((rank[$target_folder] > rank[$folder])); then
            echo "layering: $folder/$file includes $target, which is not below $folder" >&2
            status=1
        fi
    done < <(cd "$folder" && grep -H -n '#include "' -- *.h *.cpp 2>/dev/null || true)
done
exit $status
