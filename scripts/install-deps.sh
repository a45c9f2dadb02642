#!/usr/bin/env bash
# Installs the Debian packages Velora needs to build, test and run, if any is missing.
#   --hardening   also clang with its sanitizer and libFuzzer runtimes, for the test suite
set -euo pipefail

packages=(
    cmake g++ ninja-build ccache pkg-config
    juce-modules-source juce-tools lv2-dev
    libasound2-dev libjack-jackd2-dev
    libgtest-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core
)

if [ "${1:-}" = "--hardening" ]; then
    packages+=(clang libclang-rt-14-dev llvm-14)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
