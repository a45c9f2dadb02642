#!/usr/bin/env bash
# Installs the build into a staging root with DESTDIR and checks the tree a Linux user expects.
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /opt/velora > /dev/null

expect() { [ -e "$stage/opt/velora/$1" ] || { echo "missing: $1"; exit 1; }; }
expect lib/vst3/Velora.vst3/Contents/x86_64-linux/Velora.so
expect lib/lv2/Velora.lv2/manifest.ttl
expect lib/lv2/Velora.lv2/dsp.ttl
expect lib/lv2/Velora.lv2/libVelora.so
expect bin/velora-render
expect bin/velora
[ -x "$stage/opt/velora/bin/velora-render" ] || { echo "velora-render is not executable"; exit 1; }

# Nothing lands outside the staging root's prefix.
outside=$(find "$stage" -mindepth 1 -maxdepth 1 ! -name opt)
[ -z "$outside" ] || { echo "installed outside the prefix: $outside"; exit 1; }
echo "install tree ok"
