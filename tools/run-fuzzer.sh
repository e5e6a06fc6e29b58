#!/usr/bin/env bash
# Runs a libFuzzer target for a bounded time:
#   run-fuzzer.sh <fuzzer> <seconds> <findings folder> [libFuzzer options...] -- <seed folders...>
# New inputs go to a temporary folder (the committed seeds stay as they are); a crash, a sanitizer report
# or a fault the target reports is written to the findings folder and ends the run with a failure.
set -euo pipefail
fuzzer=$1 seconds=$2 findings=$3
shift 3
options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    options+=("$1")
    shift
done
[ $# -gt 0 ] && shift
# Seed folders that do not exist (no findings yet) are left out: libFuzzer refuses them.
seeds=()
for folder in "$@"; do
    [ -d "$folder" ] && seeds+=("$folder")
done
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# -timeout: an input that takes longer than this is a hang; -rss_limit_mb: one that needs more memory
# than this is a finding too (a host would be taken down by it).
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${options[@]}" "$work" "${seeds[@]}"
