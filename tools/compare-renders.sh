#!/bin/sh
# Bit-compares what two builds of the bundle render, for changes that must keep every sample (speed
# work): `tools/compare-renders.sh render BUNDLE DIR` renders a fixed set of settings and presets
# (seeded, so renders repeat) into DIR; `tools/compare-renders.sh compare DIR_A DIR_B` compares two
# such sets byte for byte and fails on the first difference. Render the old bundle (a copy of it, or
# a build of the old commit), then the new one, then compare.
set -eu
cd "$(dirname "$0")/.."
host=${QUILLMORE_HOST:-build/tools/quillmore-host}

everything="--set HeadsOn=On --set SpaceOn=On --set EchoMix=50 --set EchoFdbck=90 --set EchoFilterLFOAmount=60 --set EchoFilterLFOSpeed=0.5 --set SpringMix=60 --set SpringAB=50 --set EchoToSpring=50 --set MstrWarble=100 --set Wow=100 --set Flutter=100 --set StDrift=100 --set Instability=100 --set Blips=100 --set NoiseAmnt=50 --set Degrade=100 --set Saturate=50"

# name | options (word-split)
cases() {
    cat <<EOF
defaults-noise|--signal noise
defaults-phrase|--signal phrase --length 3
everything-noise|--signal noise $everything
everything-ragged|--signal noise --varying-blocks 1:1024 --seed 3 $everything
everything-96k|--signal phrase --rate 96000 --length 2 $everything
everything-44k-block64|--signal noise --rate 44100 --block 64 $everything
springs-a|--signal phrase --length 2 --set SpringMix=100 --set SpringAB=0 --set SpringSize=14 --set SpringDecay=90
springs-b|--signal phrase --length 2 --set SpringMix=100 --set SpringAB=100 --set SpringSize=3 --set SpringDecay=90
springs-b-sendret|--signal noise --set SendRetMode=1 --set SpringMix=60 --set EchoMix=40 --set SpringSend=80 --set EchoSend=60 --set EchoToSpring=80 --set SpringAB=100
echo-synced|--signal phrase --set EchoMix=60 --set EchoSyncOn=On --set EchoFdbck=95 --set EchoStOffset=40
tape-stop|--signal noise --length 3 --set TapeStop=On --set TapeStopInertia=800
warble-extreme|--signal phrase --set MstrWarble=100 --set Wow=100 --set WowRate=3.6 --set Flutter=100 --set StDrift=100 --set Instability=100
order-space-first|--signal noise --set Order=1 --set SpringMix=50 --set EchoMix=50 --set Flutter=60 --set MstrWarble=80
preset-attic|--signal phrase --preset "Attic Treasure"
preset-dub|--signal phrase --preset "Dotted Dub Delay"
preset-fuct|--signal noise --preset "Fuct Tape"
preset-drunken|--signal phrase --preset "Drunken Master"
EOF
}

render() {
    bundle=$1
    dir=$2
    mkdir -p "$dir"
    cases | while IFS='|' read -r name options; do
        eval "set -- $options"
        "$host" "$bundle" "$@" --tail 1 --output "$dir/$name.wav" >/dev/null
    done
    ls "$dir" | wc -l | xargs echo "rendered:"
}

compare() {
    status=0
    for a in "$1"/*.wav; do
        b="$2/$(basename "$a")"
        if cmp -s "$a" "$b"; then
            echo "same      $(basename "$a")"
        else
            echo "DIFFERENT $(basename "$a")"
            status=1
        fi
    done
    return $status
}

case ${1:-} in
render) render "$2" "$3" ;;
compare) compare "$2" "$3" ;;
*)
    echo "usage: $0 render BUNDLE DIR | compare DIR_A DIR_B" >&2
    exit 2
    ;;
esac
