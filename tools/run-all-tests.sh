#!/usr/bin/env bash
# Installs the dependencies and runs every test in four builds:
#   build-tests  Release, everything (the editor tests on a virtual X server);
#   build-tsan   ThreadSanitizer: the runtime, patch and concurrency tests;
#   build-asan   AddressSanitizer and UBSan: the plug-in's window opened, resized and closed through
#                the bundle while audio plays, checked for leaks;
#   build-fuzz   clang with libFuzzer, ASan and UBSan: each fuzz target for QUILLMORE_FUZZ_SECONDS
#                (60 by default) on its committed seeds.
# Every stage runs even when an earlier one fails; the exit status is non-zero if any failed, and a
# summary of them comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

tools/install-dependencies.sh

export CCACHE_BASEDIR="$repo"
configure() {
    cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" > /dev/null
}
run_ctest() {
    xvfb-run -a -s "-screen 0 1920x1200x24" \
        ctest --output-on-failure --no-label-summary --timeout 600 -j "$(nproc)" --test-dir "$@"
}

summary=()
status=0
stage() {
    local name=$1
    shift
    local started=$SECONDS
    if "$@"; then
        summary+=("passed  $name ($((SECONDS - started)) s)")
    else
        summary+=("FAILED  $name ($((SECONDS - started)) s)")
        status=1
    fi
}

# (Chained: set -e does not hold inside a function called as a condition.)
all_tests() {
    configure -B build-tests &&
        cmake --build build-tests &&
        run_ctest build-tests
}

thread_sanitizer_tests() {
    configure -B build-tsan -DQUILLMORE_SANITIZER=thread &&
        cmake --build build-tsan --target thread_sanitizer_tests &&
        run_ctest build-tsan -L '^(runtime|patch|concurrency)$'
}

address_sanitizer_tests() {
    configure -B build-asan -DQUILLMORE_SANITIZER=address -DQUILLMORE_BUILD_BENCH=OFF &&
        cmake --build build-asan --target address_sanitizer_tests &&
        run_ctest build-asan -R '^HostedEditorReopen\.'
}

fuzz_tests() {
    CC=clang-14 CXX=clang++-14 configure -B build-fuzz -DQUILLMORE_BUILD_FUZZ=ON \
        -DQUILLMORE_FUZZ_SECONDS="${QUILLMORE_FUZZ_SECONDS:-60}" &&
        cmake --build build-fuzz --target fuzzers &&
        run_ctest build-fuzz -L '^fuzz$'
}

stage "all tests (build-tests)" all_tests
stage "ThreadSanitizer tests (build-tsan)" thread_sanitizer_tests
stage "AddressSanitizer tests (build-asan)" address_sanitizer_tests
stage "fuzz targets (build-fuzz)" fuzz_tests

echo
printf '%s\n' "${summary[@]}"
exit $status
