#!/usr/bin/env bash
# The desktop entry's StartupWMClass must be the class the running window really has, or docks show the
# window apart from its launcher. Starts the program under a private Xvfb and reads WM_CLASS with xprop.
set -euo pipefail
quarn=$1
desktop=$2
for tool in Xvfb xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup.sh window-tests)"; exit 77; }
done
scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# -displayfd picks a free display and says which once the server is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$scratch/display")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

QT_QPA_PLATFORM=xcb "$quarn" >"$scratch/quarn.log" 2>&1 &
pids+=($!)
window=
for _ in $(seq 200); do
    window=$(xwininfo -root -children 2>/dev/null | awk '/"Quarn/ {print $1; exit}')
    [ -n "$window" ] && break
    kill -0 "${pids[1]}" 2>/dev/null || { cat "$scratch/quarn.log"; echo "FAIL: quarn ended early"; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { cat "$scratch/quarn.log"; echo "FAIL: no Quarn window appeared"; exit 1; }

# WM_CLASS holds the instance and the class: WM_CLASS(STRING) = "quarn", "QUARN"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\(.*\)"$/\1/p')
wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
echo "window class: '$class', desktop entry: '$wanted'"
[ -n "$class" ] || { xprop -id "$window" WM_CLASS; echo "FAIL: the window has no WM_CLASS"; exit 1; }
[ "$class" = "$wanted" ] || { echo "FAIL: StartupWMClass is '$wanted', the window's class is '$class'"; exit 1; }
