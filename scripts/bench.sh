#!/usr/bin/env bash
# Benchmarks: start-up and memory of the window against an empty Qt window, the cipher click, a full
# round trip through the libraries, loading a 1 GB file against a 1 KB one, and quarn-cli's peak memory for
# endless and huge inputs. Prints the figures; asserts nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if ! command -v hyperfine >/dev/null; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq && $sudo apt-get install -y -qq hyperfine >/dev/null
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

echo "== Cold start to the first painted window (hyperfine)"
# Both programs quit themselves once their first paint has happened.
hyperfine --warmup 3 --runs 20 --export-json "$build/start.json" \
    "$build/tests/bench/start_quarn" \
    "$build/tests/bench/empty_window"
python3 - "$build/start.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
q, e = r[0]["mean"], r[1]["mean"]
print(f"quarn {q*1000:.1f} ms, empty window {e*1000:.1f} ms, ratio {q/e:.2f}")
PY

echo "== Peak memory (/usr/bin/time -v)"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident/ {print $6}'; }
q=$(peak "$build/tests/bench/start_quarn")
e=$(peak "$build/tests/bench/empty_window")
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
