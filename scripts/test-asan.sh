#!/usr/bin/env bash
# The whole test suite built with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# (leaks, out-of-bounds access, use after free, undefined arithmetic, float-to-int overflow),
# in ./build-asan. The same tree holds the libFuzzer targets that scripts/fuzz.sh runs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-env.sh

CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELORA_SANITIZE=address,undefined -DVELORA_FUZZ=ON -DVELORA_BUILD_BENCHMARKS=OFF

# The build runs JUCE's LV2 helper on the plug-in to write its manifest; leaks of that
# one-shot JUCE tool at exit are not Velora's.
ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" cmake --build build-asan --parallel "$(nproc)"

xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir build-asan --output-on-failure --timeout 900 --parallel "$(nproc)"
