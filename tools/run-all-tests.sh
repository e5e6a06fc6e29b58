#!/usr/bin/env bash
# Installs the dependencies, builds everything (Release) in build-tests/ and runs every test, the
# editor tests on a virtual X server. Exits with ctest's status; ctest's summary line comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

tools/install-dependencies.sh

export CCACHE_BASEDIR="$repo"
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build build-tests

xvfb-run -a -s "-screen 0 1920x1200x24" \
    ctest --test-dir build-tests --output-on-failure --no-label-summary --timeout 600 -j "$(nproc)"
