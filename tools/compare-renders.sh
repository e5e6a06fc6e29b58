#!/bin/sh
# Bit-compares what two builds of the bundle render, for changes that must keep every sample (speed
# work): `tools/compare-renders.sh render BUNDLE DIR` renders a fixed set of settings and presets
# (seeded, so renders repeat) into DIR, printing per case what its settings read back as;
# `tools/compare-renders.sh compare DIR_A DIR_B` compares two such sets byte for byte and fails on any
# difference. Render the old bundle (a copy of it, or a build of the old commit; a copy must keep the
# bundle's name, e.g. /tmp/old/Quillmore.vst3, or the host loads nothing), then the new one, both with
# the same host tool, then compare. For changes that may move samples at rounding level (reordered
# float arithmetic), `tools/compare-renders.sh difference DIR_A DIR_B` prints per render the largest
# absolute sample difference (and the overall largest); it needs python3.
set -eu
cd "$(dirname "$0")/.."
host=${QUILLMORE_HOST:-build/tools/quillmore-host}

# Every --set is checked against the value text the plug-in shows afterwards (see check_settings), so
# a case renders what its name says: switches take their value texts ("HEADS ON"), numbers lie on the
# parameter's steps and inside its range.
everything="--set HeadsOn='HEADS ON' --set SpaceOn='SPACE ON' --set EchoMix=50 --set EchoFdbck=90 --set EchoFilterLFOAmount=60 --set EchoFilterLFOSpeed=0.5 --set SpringMix=60 --set SpringAB=50 --set EchoToSpring=50 --set MstrWarble=100 --set Wow=100 --set Flutter=100 --set StDrift=100 --set Instability=100 --set Blips=100 --set NoiseAmnt=50 --set Degrade=100 --set Saturate=50"

# name | options (word-split). The tape stop runs from the start: after the usual lead-in the tape
# would have stopped long before the input, leaving a silent render.
cases() {
    cat <<EOF
defaults-noise|--signal noise
defaults-phrase|--signal phrase --length 3
everything-noise|--signal noise $everything
everything-ragged|--signal noise --varying-blocks 1:1024 --seed 3 $everything
everything-96k|--signal phrase --rate 96000 --length 2 $everything
everything-44k-block64|--signal noise --rate 44100 --block 64 $everything
springs-a|--signal phrase --length 2 --set SpringMix=100 --set SpringAB='100 % A / 0 % B' --set SpringSize=12 --set SpringDecay=90
springs-b|--signal phrase --length 2 --set SpringMix=100 --set SpringAB='0 % A / 100 % B' --set SpringSize=4 --set SpringDecay=90
springs-b-sendret|--signal noise --set SendRetMode='SEND/RET MODE' --set SpringMix=60 --set EchoMix=40 --set SpringSend=80 --set EchoSend=60 --set EchoToSpring=80 --set SpringAB='0 % A / 100 % B'
echo-synced|--signal phrase --set EchoMix=60 --set EchoSyncOn='TEMPO SYNC ON' --set EchoSyncDiv='1/8 DOTTED' --set EchoFdbck=95 --set EchoStOffset=37.5
tape-stop|--signal noise --length 3 --pre-roll 0 --set TapeStop=1 --set TapeStopInertia='2 s'
warble-extreme|--signal phrase --set MstrWarble=100 --set Wow=100 --set WowRate=3.6 --set Flutter=100 --set StDrift=100 --set Instability=100
order-space-first|--signal noise --set Order=1 --set SpringMix=50 --set EchoMix=50 --set Flutter=60 --set MstrWarble=80
preset-attic|--signal phrase --preset "Attic Treasure"
preset-dub|--signal phrase --preset "Dotted Dub Delay"
preset-fuct|--signal noise --preset "Fuct Tape"
preset-drunken|--signal phrase --preset "Drunken Master"
EOF
}

# Takes the case's settings as "ID=TEXT" lines in $settings and the host's output (its --list table) in
# the file $2. Prints the case's name with each setting as it reads back, and fails if one reads back as
# something else than was asked: the same words (case and outer blanks aside), or the same number with
# the same unit or none ("50" is "50.0 %"; "40" is not "39.7 %", "On" is not "HEADS OFF").
check_settings() {
    settings=$settings awk -v name="$1" '
        function trim(text) { gsub(/^[ \t]+|[ \t]+$/, "", text); return text }
        function number(text) { return match(text, /^[-+]?[0-9]+(\.[0-9]*)?/) ? substr(text, 1, RLENGTH) : "" }
        function unit(text) { text = tolower(substr(text, length(number(text)) + 1)); gsub(/[ \t]/, "", text); return text }
        function same(asked, shown) {
            if (tolower(asked) == tolower(shown))
                return 1
            return number(asked) != "" && number(shown) != "" && number(asked) + 0 == number(shown) + 0 \
                && (unit(asked) == "" || unit(asked) == unit(shown))
        }
        BEGIN {
            lines = split(ENVIRON["settings"], setting, "\n")
            for (i = 1; i <= lines; ++i)
                if ((at = index(setting[i], "=")) > 0) {
                    id[++count] = substr(setting[i], 1, at - 1)
                    asked[count] = trim(substr(setting[i], at + 1))
                }
        }
        /^loaded the / { loaded = " " $0 }
        /^index +id +name +normalised +text *$/ { column = index($0, "text"); next }
        column && $1 ~ /^[0-9]+$/ { shown[$2] = trim(substr($0, column)) }
        END {
            line = name ":" loaded (count == 0 && loaded == "" ? " defaults" : "")
            for (i = 1; i <= count; ++i) {
                text = (id[i] in shown) ? shown[id[i]] : "(not listed)"
                line = line (i == 1 ? " " : ", ") id[i] "=" text
                if (!same(asked[i], text))
                    wrong = wrong "\n  " id[i] "=" asked[i] " reads back as \"" text "\""
            }
            print line
            if (!column)
                wrong = wrong "\n  the host printed no parameter list"
            if (wrong != "") {
                print "compare-renders.sh: case " name " does not render what it asks:" wrong > "/dev/stderr"
                exit 1
            }
        }' "$2"
}

# Renders every case into DIR/NAME.wav and keeps what the host printed (the settings as the plug-in
# reads them, the --list table) in DIR/NAME.txt, which `compare` compares too. Stops at the first case
# the host fails on or whose settings do not read back as asked.
render() {
    bundle=$1
    dir=$2
    mkdir -p "$dir"
    rendered=0
    # A loop fed by a here-document, not a pipeline, runs in this shell: a failure ends the script.
    while IFS='|' read -r name options; do
        eval "set -- $options"
        rm -f "$dir/$name.wav" "$dir/$name.txt"
        if ! "$host" "$bundle" "$@" --tail 1 --list --output "$dir/$name.wav" >"$dir/$name.txt.host" </dev/null; then
            echo "compare-renders.sh: case $name: the host failed (options: $options)" >&2
            exit 1
        fi
        # The output's path differs between two render directories; its name does not.
        sed "s| to .*/$name\.wav (| to $name.wav (|" "$dir/$name.txt.host" >"$dir/$name.txt"
        rm -f "$dir/$name.txt.host"
        settings=
        while [ $# -gt 0 ]; do
            if [ "$1" = --set ] && [ $# -gt 1 ]; then
                settings="$settings$2
"
                shift
            fi
            shift
        done
        check_settings "$name" "$dir/$name.txt" || exit 1
        rendered=$((rendered + 1))
    done <<CASES
$(cases)
CASES
    echo "rendered: $rendered cases into $dir"
}

# Compares every .wav and .txt of DIR_A with the file of that name in DIR_B (and notes files that only
# one of them has); for a .txt, shows the lines that differ.
compare() {
    status=0
    compared=0
    for a in "$1"/*.wav "$1"/*.txt; do
        [ -e "$a" ] || continue
        name=$(basename "$a")
        b="$2/$name"
        compared=$((compared + 1))
        if [ ! -e "$b" ]; then
            echo "MISSING   $name (not in $2)"
            status=1
        elif cmp -s "$a" "$b"; then
            echo "same      $name"
        else
            echo "DIFFERENT $name"
            case $name in *.txt) diff "$a" "$b" | sed 's/^/    /' ;; esac
            status=1
        fi
    done
    for b in "$2"/*.wav "$2"/*.txt; do
        if [ -e "$b" ] && [ ! -e "$1/$(basename "$b")" ]; then
            echo "MISSING   $(basename "$b") (not in $1)"
            status=1
        fi
    done
    if [ $compared -eq 0 ]; then
        echo "compare-renders.sh: no renders in $1" >&2
        return 1
    fi
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
