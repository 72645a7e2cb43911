#!/usr/bin/env bash
# openapi_lint_test.sh - the /openapi.json that `hux-host serve` answers passes `redocly lint` with the
# repository's rules (redocly.yaml) without errors or warnings. Exits 77 (skipped) where redocly is not
# installed.
# Usage: openapi_lint_test.sh HUX_HOST PLUGIN REDOCLY SOURCE_DIR
set -euo pipefail
host=$1 plugin=$2 redocly=$3 source=$4
if [[ ! -x $redocly ]]; then
    echo "skipped: redocly is not installed (scripts/install-deps.sh --test installs it)"
    exit 77
fi

work=$(mktemp -d)
server=
cleanup() {
    if [[ -n $server ]]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

"$host" serve --plugin "$plugin" --port 0 --exit-after-seconds 60 >"$work/serve.log" 2>&1 &
server=$!
port=
for _ in $(seq 100); do  # at most 10 seconds
    port=$(sed -n 's,^hux-host: serving .* at http://127\.0\.0\.1:\([0-9]*\)/ .*,\1,p' "$work/serve.log")
    if [[ -n $port ]] || ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [[ -z $port ]]; then
    echo "hux-host did not start serving:"
    cat "$work/serve.log"
    exit 1
fi

# One request on a connection the server closes after its answer; the body follows the blank line.
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /openapi.json HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' >&3
timeout 10 cat <&3 >"$work/answer"
exec 3<&-
status=$(head -n 1 "$work/answer" | tr -d '\r')
if [[ $status != "HTTP/1.1 200 OK" ]]; then
    echo "GET /openapi.json answered \"$status\""
    exit 1
fi
sed '1,/^\r$/d' "$work/answer" >"$work/openapi.json"

cd "$source"
export REDOCLY_TELEMETRY=off REDOCLY_SUPPRESS_UPDATE_NOTICE=true
if ! "$redocly" lint --config redocly.yaml "$work/openapi.json" >"$work/lint.txt" 2>&1 ||
    grep -q "^You have [0-9]* warning" "$work/lint.txt"; then
    grep -v "[║╔╚]" "$work/lint.txt"
    exit 1
fi
echo "redocly lint: /openapi.json is valid, without warnings"
