#!/usr/bin/env bash
# Benchmarks: start-up to the first painted frame against a floor window and an empty window (wall clock and
# main-thread instructions), peak memory, the cipher click, a full round trip through the libraries, loading a
# 1 GB file against a 1 KB one, and quarn-cli's peak memory for endless and huge inputs. Prints the figures;
# asserts nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The benchmarks' own tools: the X DAMAGE client for the first frame, callgrind, a D-Bus session as on a desktop.
bench_packages=(python3-xlib valgrind dbus-daemon time)
missing=()
for p in "${bench_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq && $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARN_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

echo "== Machine"
echo "$(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"

display=:97
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display

bench=$build/tests/bench
echo "== Start-up: spawn to the first painted frame (X DAMAGE), A/B alternated, under a D-Bus session"
# Each program ends itself after its first frame. The floor is one widget of every kind the window has, in its
# font and palette, without pictures; the empty window is a bare Qt window.
first_frames() {
    dbus-run-session -- /usr/bin/python3 tests/bench/first_frame.py 40 \
        quarn="$bench/start_quarn" floor="$bench/floor_window" empty="$bench/empty_window"
}
first_frames
if [ "$(id -u)" -eq 0 ]; then
    # On a machine shared with other work, the window's worker finds no free core; at a raised priority (the X
    # server's too) the three programs come closer to a desktop where nothing else runs.
    echo "-- the same at a raised priority (nice -10)"
    renice -n -10 -p $xvfb >/dev/null
    export -f first_frames
    export bench
    nice -n -10 bash -c first_frames
    renice -n 0 -p $xvfb >/dev/null
fi

echo "== Start-up: instructions on the main thread to the first frame (callgrind)"
# callgrind dumps its counts when the program quits right after its first frame, one file per thread; thread 1
# is the main thread. Work on other threads (the pictures) is not counted.
instructions() {
    local out
    out=$(mktemp -d)
    dbus-run-session -- valgrind --tool=callgrind --separate-threads=yes --dump-before='QCoreApplication::quit*' \
        --callgrind-out-file="$out/cg" "$1" >/dev/null 2>&1
    awk '/^summary:/ {print $2}' "$out/cg.1-01"
    rm -rf "$out"
}
q=$(instructions "$bench/start_quarn")
f=$(instructions "$bench/floor_window")
e=$(instructions "$bench/empty_window")
python3 -c "print(f'quarn {$q/1e6:.1f} M, floor {$f/1e6:.1f} M, empty window {$e/1e6:.1f} M; quarn / floor {$q/$f:.2f}, quarn / empty {$q/$e:.2f}')"

echo "== Peak memory (/usr/bin/time -v)"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident/ {print $6}'; }
q=$(peak "$bench/start_quarn")
e=$(peak "$bench/empty_window")
python3 -c "print(f'quarn {$q/1024:.1f} MiB, empty window {$e/1024:.1f} MiB, ratio {$q/$e:.2f}')"

echo "== The cipher click, 100 groups, both directions (QTest benchmark)"
QT_QPA_PLATFORM=offscreen "$build/tests/bench/bench_window" -median 9 | grep -E "^(PASS|RESULT|FAIL)|msecs" || true

echo "== Round trip of a 100-character text: encode, pad, encipher, decipher decoding after every digit"
"$build/tests/pad/bench_roundtrip" -median 9 | grep -E "^(FAIL)|msecs" || true

echo "== Loading a 1 GB file against a 1 KB file"
QT_QPA_PLATFORM=offscreen "$build/tests/bench/bench_loads" | grep -E "ratio" || true

echo "== quarn-cli peak memory: a 2 GB sparse file and /dev/zero on standard input (/usr/bin/time -v)"
cli="$build/cli/quarn-cli"
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
truncate -s 2G "$work/sparse.txt"
echo "Treffen um 12.30 Uhr" >"$work/small.txt"
python3 -c "import sys; open(sys.argv[1], 'w').write('A' * 1048576)" "$work/mib.txt"
python3 -c "import sys; open(sys.argv[1], 'w').write('84' * 524288)" "$work/codes.txt"
"$cli" pad >"$work/pad.OTP"
# Several of these fail on purpose (too large, no pad); only the peak matters.
kib() { { /usr/bin/time -v "$@" 2>&1 >/dev/null || true; } | awk '/Maximum resident/ {print $6}'; }
mib() { python3 -c "print(f'{$1/1024:.1f} MiB')"; }
small=$(kib "$cli" encode "$work/small.txt")
sparse=$(kib "$cli" encode "$work/sparse.txt")
zero=$(kib "$cli" encode </dev/zero)
padzero=$(kib "$cli" encipher - "$work/small.txt" </dev/zero)
groupszero=$(kib "$cli" decipher "$work/pad.OTP" </dev/zero)
full=$(kib "$cli" encode "$work/mib.txt")
codes=$(kib "$cli" decode "$work/codes.txt")
echo "encode of a 21-byte text $(mib "$small"); of a 2 GB sparse file $(mib "$sparse"), ratio $(python3 -c "print(f'{$sparse/$small:.2f}')")"
echo "encode of /dev/zero $(mib "$zero"); a pad from /dev/zero $(mib "$padzero"); groups from /dev/zero $(mib "$groupszero")"
echo "at the 1 MiB limit: encode of 1 MiB of letters $(mib "$full"); decode of 1 MiB of codes 84 (3 MiB of text) $(mib "$codes")"
