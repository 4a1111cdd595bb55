#!/usr/bin/env bash
# Runs a Windows executable under wine, quietly. WINEPREFIX defaults to a folder of its own under the
# temporary directory; the first run there sets the prefix up (about ten seconds), under a lock so that
# tests started side by side do not both do it.
#   wine-run.sh PROGRAM.exe ARGS...          the program, its streams and exit status as they are
#   wine-run.sh --qtest TEST.exe ARGS...     a QTest suite: its report, which wine does not pass through
#                                            standard output, is written to a file and printed
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/quarn-wine-$(id -u)}
# No prompts for the .NET and HTML runtimes, which a console program never needs.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# wine keeps QT_* variables out of the Windows environment, but hands WINEQT_X in as QT_X.
for name in $(compgen -e); do
    case $name in
    QT_*) export "WINE$name=${!name}" ;;
    esac
done
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.setup.lock" sh -c '[ -e "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1'
fi
if [ "${1:-}" != "--qtest" ]; then
    exec wine "$@"
fi
shift
report=$(mktemp "${TMPDIR:-/tmp}/quarn-qtest.XXXXXX")
trap 'rm -f "$report"' EXIT
status=0
wine "$@" -o "$report,txt" || status=$?
cat "$report"
exit $status
