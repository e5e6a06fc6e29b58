#!/bin/bash
# tools/compare-renders.sh through the real host tool and bundle, without the renders themselves (a
# stand-in host passes everything but --output and --tail to the real one and leaves an empty WAV):
# every case's settings read back as asked; a host failure or a setting read back otherwise stops
# `render` and names the case; `compare` finds a changed or missing file.
# Usage: compare_renders_test.sh HOST_TOOL BUNDLE
set -u
real_host=$1
bundle=$2
script="$(cd "$(dirname "$0")/../.." && pwd)/tools/compare-renders.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# The stand-in host. FAIL_ON=ARG: exit 2 (as the host does on a text it cannot read) when ARG is one
# of the arguments. REPLACE=OLD:NEW: pass NEW in place of the argument OLD.
cat >"$work/host" <<'HOST'
#!/bin/bash
arguments=()
output=
while (($#)); do
    case $1 in
    --output) output=$2; shift 2 ;;
    --tail) shift 2 ;;
    *)
        [[ -n ${FAIL_ON:-} && $1 == "$FAIL_ON" ]] && { echo "quillmore-host: cannot read $1" >&2; exit 2; }
        if [[ -n ${REPLACE:-} && $1 == "${REPLACE%%:*}" ]]; then arguments+=("${REPLACE#*:}"); else arguments+=("$1"); fi
        shift
        ;;
    esac
done
: >"$output"
exec "$REAL_HOST" "${arguments[@]}"
HOST
chmod +x "$work/host"
export REAL_HOST=$real_host QUILLMORE_HOST=$work/host

render() { # DIR -> status; stdout and stderr in DIR.out and DIR.err
    "$script" render "$bundle" "$work/$1" >"$work/$1.out" 2>"$work/$1.err"
}

# Every case reads back as asked, and says so per case.
if ! render all; then
    fail "render stopped on the real settings: $(cat "$work/all.err")"
fi
grep -q '^rendered: 17 cases' "$work/all.out" || fail "render did not report 17 cases: $(cat "$work/all.out")"
grep -q '^everything-noise: HeadsOn=HEADS ON, SpaceOn=SPACE ON,' "$work/all.out" ||
    fail "everything-noise's switches are not printed as on: $(grep everything-noise "$work/all.out")"
grep -q '^echo-synced: .*EchoSyncOn=TEMPO SYNC ON' "$work/all.out" || fail "echo-synced is not printed with sync on"
[[ $(ls "$work/all"/*.txt | wc -l) -eq 17 ]] || fail "render did not keep 17 .txt files"

# A failing host stops the script at its case.
if FAIL_ON=TapeStop=1 render failing; then
    fail "render succeeded although the host failed"
fi
grep -q 'case tape-stop' "$work/failing.err" || fail "the failing case is not named: $(cat "$work/failing.err")"
grep -q '^rendered:' "$work/failing.out" && fail "render reported success after a failure"

# A plug-in that reads a case's text as something else (as "On" was read as off) stops the script at
# that case too.
if REPLACE="HeadsOn=HEADS ON:HeadsOn=0" render misread; then
    fail "render succeeded with a setting that reads back otherwise"
fi
grep -q 'case everything-noise' "$work/misread.err" || fail "the misread case is not named: $(cat "$work/misread.err")"
grep -q 'HeadsOn=HEADS ON reads back as "HEADS OFF"' "$work/misread.err" || fail "the misread setting is not shown"

# The .txt files are compared too.
cp -r "$work/all" "$work/copy"
"$script" compare "$work/all" "$work/copy" >"$work/same.out" || fail "compare of a copy failed: $(cat "$work/same.out")"
sed -i 's/HEADS ON/HEADS OFF/' "$work/copy/everything-noise.txt"
rm "$work/copy/tape-stop.wav"
if "$script" compare "$work/all" "$work/copy" >"$work/changed.out"; then
    fail "compare succeeded with a changed and a missing file"
fi
grep -q '^DIFFERENT everything-noise.txt' "$work/changed.out" || fail "the changed .txt is not reported"
grep -q 'HEADS OFF' "$work/changed.out" || fail "the changed line is not shown"
grep -q '^MISSING   tape-stop.wav' "$work/changed.out" || fail "the missing .wav is not reported"

if ((failures)); then
    echo "$failures failure(s)"
    exit 1
fi
echo "compare-renders.sh: all checks passed"
