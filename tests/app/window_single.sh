#!/usr/bin/env bash
# One window for one exchange, through the real executable: a later `quarn FILE…` hands its files to the window
# that runs (here quarn_probe, the same start with a hook that reports the fields) and ends.
# Usage: window_single.sh QUARN_EXECUTABLE QUARN_PROBE_EXECUTABLE
set -u
quarn=$1
probe=$2
failed=0
scratch=$(mktemp -d)
cleanup() {
    [ -n "${probe_pid:-}" ] && kill "$probe_pid" 2> /dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
cd "$scratch" || exit 1
# A runtime folder of the test's own: the user's real window never sees these starts.
export XDG_RUNTIME_DIR=$scratch/run QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"

pad() { for i in $(seq 0 99); do printf '%05d ' $(((i * $1 + $2) % 100000)); done; }
pad 7919 13 > m.OTP
pad 7717 42 > $'schl\xfcssel.OTP'
printf '12345 67890 ' > m.crp
printf 'hallo' > -platform
printf 'welt' > -x.txt

start_probe() {
    coproc PROBE { exec "$probe" 2> "$scratch/probe.err"; }
    # Bash forgets PROBE_PID once the window has ended.
    probe_pid=$PROBE_PID
    if ! read -r -t 60 -u "${PROBE[0]}" line || [ "$line" != serving ]; then
        echo "FAIL the window does not serve: '${line:-}'"
        cat "$scratch/probe.err"
        exit 1
    fi
}

# Hands the files over; the handing start must end at once and the window report `expected`.
hand() {
    local name=$1 expected=$2 line
    shift 2
    timeout 30 "$quarn" "$@" > /dev/null 2> "$scratch/quarn.err"
    local status=$?
    if [ $status != 0 ] || ! read -r -t 60 -u "${PROBE[0]}" line || [ "$line" != "$expected" ]; then
        echo "FAIL $name: exit $status, window '${line:-}', stderr '$(cat "$scratch/quarn.err")'"
        failed=1
    else
        echo "ok   $name"
    fi
}

start_probe
hand "the partner's cipher goes to the running window, decoded" \
    "pad=-|input=12345 67890 |groups=12345|decode=1|decipher=1|boxes=" m.crp
hand "then his pad: one window with both, ready to decipher" \
    "pad=00013|input=12345 67890 |groups=12345|decode=1|decipher=1|boxes=" m.OTP
hand "a Latin-1 name is opened by its bytes" \
    "pad=00042|input=12345 67890 |groups=12345|decode=1|decipher=1|boxes=" -- $'schl\xfcssel.OTP'
hand "after -- Qt's options and names with a dash are files" \
    "pad=00042|input=WELT|groups=-|decode=0|decipher=0|boxes=Geöffnet:/• -x.txt als Klartext/Übergangen, da jedes Feld nur die zuletzt genannte Datei übernimmt:/• Eingabe: -platform" \
    -- -platform -x.txt

hand "before -- Qt's own options are Qt's, not files" \
    "pad=00042|input=12345 67890 |groups=12345|decode=1|decipher=1|boxes=" -style Fusion m.crp

# A window that crashed leaves its socket behind; the next window takes it over.
{
    kill -9 "$probe_pid"
    wait "$probe_pid"
} 2> /dev/null
[ -S "$XDG_RUNTIME_DIR/quarn-window" ] || { echo "FAIL no socket left to take over"; failed=1; }
start_probe
echo "ok   a socket left by a crash is taken over"

# Two starts at once: both hand over, and the window ends with both files, in one batch or two.
"$quarn" m.crp > /dev/null 2>&1 &
first=$!
"$quarn" m.OTP > /dev/null 2>&1 &
second=$!
wait $first && wait $second || { echo "FAIL two starts at once did not both hand over"; failed=1; }
state=
while [[ "$state" != "pad=00013|input=12345 67890 |groups=12345|decode=1|decipher=1|"* ]]; do
    read -r -t 60 -u "${PROBE[0]}" state || { echo "FAIL two starts at once: window '$state'"; failed=1; break; }
done
[ "$failed" = 0 ] && echo "ok   two starts at once hand over both"
exit $failed
