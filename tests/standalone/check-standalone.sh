#!/usr/bin/env bash
# The standalone application starts with no audio device, says so, and exits cleanly on SIGTERM.
set -uo pipefail
app="$1"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT

timeout --preserve-status -s TERM 4 "$app" > "$log" 2>&1
status=$?
cat "$log"

[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
grep -q "no audio device could be opened" "$log" || { echo "no message about the missing audio device"; exit 1; }
