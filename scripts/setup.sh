#!/usr/bin/env bash
# Installs what is missing, builds, installs the plug-ins and tools for the current user
# and renders the demo signal through the plug-in.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

artefacts=build/Velora_artefacts/Release
mkdir -p "$HOME/.vst3" "$HOME/.lv2" "$HOME/.local/bin"
rm -rf "$HOME/.vst3/Velora.vst3" "$HOME/.lv2/Velora.lv2"
cp -r "$artefacts/VST3/Velora.vst3" "$HOME/.vst3/"
cp -r "$artefacts/LV2/Velora.lv2" "$HOME/.lv2/"
install -m 755 build/tools/velora-render/velora-render "$HOME/.local/bin/velora-render"

echo "Installed $HOME/.vst3/Velora.vst3, $HOME/.lv2/Velora.lv2 and $HOME/.local/bin/velora-render"

mkdir -p build/demo
"$HOME/.local/bin/velora-render" -o "$PWD/build/demo/velora-demo.wav" --plot-eq "$PWD/build/demo/velora-demo-eq.png"
