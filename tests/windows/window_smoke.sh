#!/usr/bin/env bash
# The real quarn.exe with Windows' own platform plugin under wine on a 96 dpi X screen: the window appears
# with its title, its client area of 800 x 799 pixels and both pictures drawn; a session end asks about the pad.
# Usage: window_smoke.sh QUARN.EXE [SCREENSHOT.png]
set -euo pipefail
quarn=$1
shot=${2:-}
SCRATCH=$(mktemp -d)
# shellcheck source=wine_desktop.sh
source "$(dirname "$0")/wine_desktop.sh"
trap 'stop_desktop; rm -rf "$SCRATCH"' EXIT
start_desktop

wine "$quarn" >"$SCRATCH/quarn.log" 2>&1 &
window=$(wait_window "Quarn") || { cat "$SCRATCH/quarn.log"; echo "FAIL: no Quarn window appeared"; exit 1; }
failed=0
title=$(title_of "$window")
wanted="Quarn – Quarn-Tafel und Einmalblock, von den Quarn-Entwicklern"
[ "$title" = "$wanted" ] || { echo "FAIL: the title is '$title', not '$wanted'"; failed=1; }
size=$(size_of "$window")
[ "$size" = "800x799" ] || { echo "FAIL: the client area is $size, not 800x799"; failed=1; }

# The pictures are painted once the window has been shown; both must be more than one flat colour.
png=${shot:-$SCRATCH/shot.png}
for _ in $(seq 50); do
    shoot "$window" "$png"
    card=$(spread "$png" "300x200+400+100")
    sheet=$(spread "$png" "200x350+530+370")
    awk -v a="$card" -v b="$sheet" 'BEGIN {exit !(a > 0.1 && b > 0.1)}' && break
    sleep 0.2
done
for picture in "card $card" "sheet $sheet"; do
    set -- $picture
    awk -v s="$2" 'BEGIN {exit !(s > 0.1)}' || { echo "FAIL: the $1 picture is not drawn (spread $2)"; failed=1; }
done

# A session end with a message enciphered under a pad neither saved nor printed asks first (WM_QUERYENDSESSION);
# "Nein" (Esc) refuses the end and the window stays.
xdotool mousemove --window "$window" 340 62 click 1 type HALLO
for point in "245 128" "77 336" "93 536"; do # Kodieren, OTP erzeugen, Chiffrieren
    xdotool mousemove --window "$window" $point click 1
    sleep 0.5
done
timeout 60 wineboot --end-session >/dev/null 2>&1 &
ending=$!
question=$(wait_window "Bestätigung") || { echo "FAIL: the session end asked nothing"; failed=1; }
if [ -n "$question" ]; then
    shoot "$question" "${png%.png}-logout.png"
    xdotool key --window "$question" Escape
fi
wait $ending && { echo "FAIL: the session ended despite Nein"; failed=1; }
xdotool search --onlyvisible --name "^Quarn" >/dev/null || { echo "FAIL: the window did not stay"; failed=1; }
echo "window $size, title '$title', picture spreads: card $card, sheet $sheet"
exit $failed
