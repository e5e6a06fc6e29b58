#!/usr/bin/env bash
# Installs the dependencies, builds Quillmore (Release), installs Quillmore.vst3 into ~/.vst3 and
# renders a short demo through the installed bundle with the project's own host.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

tools/install-dependencies.sh

export CCACHE_BASEDIR="$repo"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build build
cmake --install build --component vst3

bundle=$(cmake -L -N build | sed -n 's/^QUILLMORE_VST3_INSTALL_DIR:PATH=//p')/Quillmore.vst3
demo="$repo/build/demo/quillmore-demo.wav"
build/tools/quillmore-host "$bundle" --info --signal sine --frequency 220 --length 3 --level -12 --tail 1 \
    --output "$demo"
echo "Installed: $bundle"
echo "Demo WAV:  $demo"
