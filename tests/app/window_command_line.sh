#!/usr/bin/env bash
# The window's own command line, through the real executable: what it answers without opening a window.
# Usage: window_command_line.sh QUARN_EXECUTABLE VERSION
set -u
quarn=$1
version=$2
failed=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

# name | arguments | display ("none" or "dead") | exit status | first line of stdout | stderr
while IFS='|' read -r name args display status out err; do
    env=(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
    case $display in
        none) env+=(-u DISPLAY) ;;
        dead) env+=(DISPLAY=:4711) ;; # no X server answers there
    esac
    # shellcheck disable=SC2086
    "${env[@]}" timeout 20 "$quarn" $args >stdout.txt 2>stderr.txt
    got=$?
    first=$(head -n1 stdout.txt)
    errors=$(cat stderr.txt)
    if [ "$got" != "$status" ] || [ "$first" != "$out" ] || [ "$errors" != "$err" ]; then
        echo "FAIL $name: exit $got, stdout '$first', stderr '$errors'"
        failed=1
    else
        echo "ok   $name"
    fi
done <<TABLE
--help prints the usage, even without a display|--help|none|0|Aufruf: quarn [DATEI …]|
--version prints name and version|--version|none|0|quarn $version|
--help wins over files named with it|brief.crp --help|none|0|Aufruf: quarn [DATEI …]|
without a display one German line and exit 1||none|1||quarn: Keine grafische Anzeige erreichbar (DISPLAY oder WAYLAND_DISPLAY fehlt oder der Bildschirm antwortet nicht).
a display that does not answer is no display||dead|1||quarn: Keine grafische Anzeige erreichbar (DISPLAY oder WAYLAND_DISPLAY fehlt oder der Bildschirm antwortet nicht).
TABLE
exit $failed
