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
# A phrase of plucked notes through a preset with tape echoes and springs: the repeats and the spring
# tail are heard in the gaps between the notes. The echo fades in over its first 6.5 s after the
# plug-in starts, so a lead-in of 7 s runs first; 4 s of the tail follow the phrase.
build/tools/quillmore-host "$bundle" --info --preset "Near and Far" --signal phrase --length 4 --level -12 \
    --pre-roll 7 --tail 4 --output "$demo"
echo "Installed: $bundle"
echo "Demo WAV:  $demo"
