#!/usr/bin/env bash
# The tests where threads meet (audio, automation, project loads, the editor), built with
# clang under ThreadSanitizer in ./build-tsan. Any data race fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-env.sh

CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELORA_SANITIZE=thread -DVELORA_BUILD_BENCHMARKS=OFF
cmake --build build-tsan --parallel "$(nproc)" --target VeloraStressTests

xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    build-tsan/tests/VeloraStressTests "$@"
