#!/usr/bin/env bash
# The installer from outside, in a fresh wine prefix: a silent install (/S) puts the programs, the
# Start-menu entry, both file types and the uninstall entry in place; opening a .OTP file starts Quarn
# with that pad; the silent uninstall leaves the files and registry exactly as they were before.
# Usage: installer_check.sh SETUP.EXE [SCREENSHOT.png]
set -euo pipefail
setup=$1
shot=${2:-}
SCRATCH=$(mktemp -d)
# shellcheck source=wine_desktop.sh
source "$(dirname "$0")/wine_desktop.sh"
trap 'stop_desktop; rm -rf "$SCRATCH"' EXIT
start_desktop
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# What a machine holds: its files (not the temporary ones) and the registry trees an installer touches.
state() {
    (cd "$WINEPREFIX/drive_c" && find . -path '*/[Tt]emp' -prune -o -print | sort)
    for key in 'HKLM\Software' 'HKCU\Software'; do
        timeout 60 wine reg query "$key" /s 2>/dev/null | tr -d '\r'
    done
}
state >"$SCRATCH/before.txt"

timeout 120 wine "$setup" /S || fail "the silent install ended with status $?"
timeout 60 wineserver -w || true
dir="$WINEPREFIX/drive_c/Program Files/Quarn"
for file in quarn.exe quarn-cli.exe README.txt LIZENZ.txt Deinstallieren.exe; do
    [ -f "$dir/$file" ] || fail "$file was not installed"
done
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quarn.lnk" ] ||
    fail "no Start-menu entry"

# query KEY VALUE-NAME WANTED: one registry value, as wine reg prints it.
query() {
    local got which=(/ve)
    [ -n "$2" ] && which=(/v "$2")
    got=$(timeout 60 wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -n1 || true)
    [ "$got" = "$3" ] || fail "$1 ${2:-(default)} is '$got', not '$3'"
}
exe='C:\Program Files\Quarn\quarn.exe'
classes='HKLM\Software\Classes'
query "$classes\\.OTP" "" "Quarn.Einmalblock"
query "$classes\\.crp" "" "Quarn.Chiffretext"
query "$classes\\Quarn.Einmalblock" "" "Quarn-Einmalblock"
query "$classes\\Quarn.Chiffretext" "" "Quarn-Chiffretext"
query "$classes\\Quarn.Einmalblock\\DefaultIcon" "" "$exe,-2"
query "$classes\\Quarn.Chiffretext\\DefaultIcon" "" "$exe,-3"
query "$classes\\Quarn.Einmalblock\\shell\\open\\command" "" "\"$exe\" \"%1\""
query "$classes\\Quarn.Chiffretext\\shell\\open\\command" "" "\"$exe\" \"%1\""
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarn'
query "$uninstall" DisplayName "Quarn"
query "$uninstall" UninstallString "\"C:\\Program Files\\Quarn\\Deinstallieren.exe\""

# Opened the way Explorer opens it: the pad's 100 groups stand in the pad field.
timeout 60 wine "$dir/quarn-cli.exe" pad -o 'Z:'"${SCRATCH//\//\\}"'\Funkspruch.OTP' || fail "quarn-cli.exe made no pad"
wine start /unix "$SCRATCH/Funkspruch.OTP" >/dev/null 2>&1 &
if window=$(wait_window "Quarn"); then
    png=${shot:-$SCRATCH/shot.png}
    for _ in $(seq 50); do
        shoot "$window" "$png"
        pad=$(spread "$png" "300x120+30+360")
        awk -v s="$pad" 'BEGIN {exit !(s > 0.1)}' && break
        sleep 0.2
    done
    awk -v s="$pad" 'BEGIN {exit !(s > 0.1)}' || fail "the pad field stays empty (spread $pad)"
else
    fail "opening a .OTP file showed no Quarn window"
fi
wineserver -k >/dev/null 2>&1 || true
timeout 60 wineserver -w || true
rm -f "$SCRATCH/Funkspruch.OTP"

timeout 120 wine "$dir/Deinstallieren.exe" /S || fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself; wait for it.
timeout 60 wineserver -w || true
state >"$SCRATCH/after.txt"
if ! diff "$SCRATCH/before.txt" "$SCRATCH/after.txt" >"$SCRATCH/left.txt"; then
    fail "the uninstall left the machine changed:"
    head -n 40 "$SCRATCH/left.txt"
fi
[ $failed -eq 0 ] && echo "installed, opened a pad, uninstalled without a trace"
exit $failed
