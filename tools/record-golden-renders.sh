#!/bin/sh
# Records the golden renders' fingerprints (tests/e2e/golden/) after a deliberate change of the
# sound: builds the bundle and the end-to-end tests in BUILD (default build/), renders every golden
# render through the bundle with its fixed random seed and writes what it measures. Review the
# change with `git diff tests/e2e/golden` and commit it with the change of the sound.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target Quillmore_VST3 e2e_tests
QUILLMORE_RECORD_GOLDEN_RENDERS=1 "$build/tests/e2e_tests" --gtest_filter='SectionsAndPresets/GoldenRenders.*'
"$build/tests/e2e_tests" --gtest_filter='SectionsAndPresets/GoldenRenders.*:GoldenRenderSeed.*'
git status --short tests/e2e/golden
