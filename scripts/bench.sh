#!/usr/bin/env bash
# The speed bar: builds VeloraBench in ./build (Release) and runs the whole channel, its
# stages and the peer LV2 chain (Debian's lsp-plugins-lv2) with repetitions, then prints
# the medians and the two ratios against the bar. Not part of the test suite or CI.
#
# Extra arguments go to VeloraBench, e.g. scripts/bench.sh --benchmark_filter=velora
set -euo pipefail
cd "$(dirname "$0")/.."

# The build's own dependencies (Google Benchmark among them), then the peer plug-ins.
scripts/install-deps.sh

if ! dpkg-query -W -f='${Status}' lsp-plugins-lv2 2>/dev/null | grep -q "install ok installed"; then
    echo "Installing: lsp-plugins-lv2"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends lsp-plugins-lv2
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target VeloraBench --parallel "$(nproc)"

exec build/bench/VeloraBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
