#!/bin/sh
# Bit-compares what two builds of the bundle render, for changes that must keep every sample (speed
# work): `tools/compare-renders.sh render BUNDLE DIR` renders a fixed set of settings and presets
# (seeded, so renders repeat) into DIR; `tools/compare-renders.sh compare DIR_A DIR_B` compares two
# such sets byte for byte and fails on the first difference. Render the old bundle (a copy of it, or
# a build of the old commit; a copy must keep the bundle's name, e.g. /tmp/old/Quillmore.vst3, or the host
# loads nothing), then the new one, then compare. For changes that may move samples at
# rounding level (reordered float arithmetic), `tools/compare-renders.sh difference DIR_A DIR_B` prints
# per render the largest absolute sample difference (and the overall largest); it needs python3.
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
tape-stop|--signal noise --length 3 --set TapeStop=1 --set TapeStopInertia=800
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

# Reads the WAV files itself: the standard library's wave module refuses IEEE float data, which is what
# the host writes.
difference() {
    python3 - "$1" "$2" <<'PYTHON'
import math, os, struct, sys

def samples(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit(f"{path}: not a WAV file")
    fmt = None
    position = 12
    while position + 8 <= len(data):
        chunk, size = struct.unpack_from("<4sI", data, position)
        body = data[position + 8 : position + 8 + size]
        if chunk == b"fmt ":
            tag, channels, _, _, _, bits = struct.unpack_from("<HHIIHH", body)
            if tag == 0xFFFE:  # extensible: the real tag opens the sub-format GUID
                tag = struct.unpack_from("<H", body, 24)[0]
            fmt = (tag, channels, bits)
        elif chunk == b"data":
            if fmt is None:
                raise SystemExit(f"{path}: data before fmt")
            tag, channels, bits = fmt
            if tag == 3 and bits in (32, 64):
                code = "f" if bits == 32 else "d"
                return channels, struct.unpack(f"<{len(body) // (bits // 8)}{code}", body[: len(body) // (bits // 8) * (bits // 8)])
            if tag == 1 and bits in (16, 24, 32):
                width = bits // 8
                scale = float(1 << (bits - 1))
                return channels, [int.from_bytes(body[i : i + width], "little", signed=True) / scale
                                  for i in range(0, len(body) - width + 1, width)]
            raise SystemExit(f"{path}: unsupported sample format (tag {tag}, {bits} bits)")
        position += 8 + size + (size & 1)
    raise SystemExit(f"{path}: no data chunk")

def text(value):
    return "inf" if math.isinf(value) else ("nan" if math.isnan(value) else f"{value:.3e}")

a_dir, b_dir = sys.argv[1], sys.argv[2]
overall = 0.0
status = 0
for name in sorted(n for n in os.listdir(a_dir) if n.endswith(".wav")):
    b_path = os.path.join(b_dir, name)
    if not os.path.exists(b_path):
        print(f"MISSING   {name}")
        status = 1
        continue
    (a_channels, a), (b_channels, b) = samples(os.path.join(a_dir, name)), samples(b_path)
    if a_channels != b_channels or len(a) != len(b):
        print(f"SHAPE     {name} ({a_channels} ch x {len(a) // a_channels} vs {b_channels} ch x {len(b) // b_channels})")
        status = 1
        continue
    largest = 0.0
    for x, y in zip(a, b):
        if x == y or (math.isnan(x) and math.isnan(y)):
            continue
        d = abs(x - y)
        largest = max(largest, math.inf if math.isnan(d) else d)  # NaN on one side only: infinitely apart
    overall = max(overall, largest)
    print(f"{text(largest):<9} {name}")
print(f"largest   {text(overall)}")
sys.exit(status)
PYTHON
}

case ${1:-} in
render) render "$2" "$3" ;;
compare) compare "$2" "$3" ;;
difference) difference "$2" "$3" ;;
*)
    echo "usage: $0 render BUNDLE DIR | compare DIR_A DIR_B | difference DIR_A DIR_B" >&2
    exit 2
    ;;
esac
