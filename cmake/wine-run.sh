#!/usr/bin/env bash
# Runs a Windows executable under wine, quietly. WINEPREFIX defaults to a folder of its own under the
# temporary directory; the first run there sets the prefix up (about ten seconds), under a lock so that
# tests started side by side do not both do it.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/quarn-wine-$(id -u)}
# No prompts for the .NET and HTML runtimes, which a console program never needs.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.setup.lock" sh -c '[ -e "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1'
fi
exec wine "$@"
