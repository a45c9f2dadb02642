#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (under a virtual X
# display, since some tests open the editor), then the hardening runs: the suite again
# under AddressSanitizer and UBSan, each fuzz target for a short while, and the threading
# tests under ThreadSanitizer.
#   --quick   the plain test suite only
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1

if [ $quick -eq 1 ]; then
    scripts/install-deps.sh
else
    scripts/install-deps.sh --hardening
fi

scripts/build.sh

# -noreset: every test is a process of its own, and a server that resets whenever its last
# client leaves can drop the next one while it connects.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir build --output-on-failure --timeout 600

[ $quick -eq 1 ] && exit 0

scripts/test-asan.sh
scripts/fuzz.sh 20
scripts/test-tsan.sh
