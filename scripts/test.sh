#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (under a virtual X
# display, since some tests open the editor).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

# -noreset: every test is a process of its own, and a server that resets whenever its last
# client leaves can drop the next one while it connects.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir build --output-on-failure --timeout 600
