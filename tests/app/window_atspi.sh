#!/usr/bin/env bash
# The window on its own X server, driven through the accessibility interface and the keyboard (window_atspi.py).
# Usage: window_atspi.sh QUARN_EXECUTABLE QUARN_CLI_EXECUTABLE. Exits 77 (skipped) when the tools for it are missing.
set -u
quarn=$1
if [ ! -x "${2:-}" ]; then
    echo "usage: window_atspi.sh QUARN_EXECUTABLE QUARN_CLI_EXECUTABLE"
    exit 2
fi
export QUARN_CLI=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool dbus-run-session; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is missing (scripts/setup.sh installs it)"
        exit 77
    fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2> /dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
    echo "SKIP: python3-pyatspi or at-spi2-core is missing (scripts/setup.sh installs them)"
    exit 77
fi

# One X server, one window, one drive through it. Returns 3 when the window never came up: now and then a
# program cannot reach a just-started X server on a loaded machine, which says nothing about the window.
attempt() {
    local work xvfb status
    work=$(mktemp -d)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$work/display" ] || ! kill -0 $xvfb 2> /dev/null; then
        echo "Xvfb did not start"
        cat "$work/xvfb.log"
        kill $xvfb 2> /dev/null
        rm -rf "$work"
        return 3
    fi
    local DISPLAY QT_QPA_PLATFORM
    export DISPLAY=:$(head -n1 "$work/display") QT_QPA_PLATFORM=xcb

    # In a session bus of its own: the accessibility bus, the window, the driver; then all started here ends.
    dbus-run-session -- bash -c '
        /usr/libexec/at-spi-bus-launcher --launch-immediately &
        bus=$!
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" > "$2/quarn.log" 2>&1 &
        app=$!
        # A busy machine (the suite runs two tests at a time) may take many seconds to show it.
        for _ in $(seq 600); do
            window=$(xdotool search --onlyvisible --name "Quarn" 2> /dev/null | head -1)
            [ -n "$window" ] && break
            kill -0 $app 2> /dev/null || break
            sleep 0.1
        done
        if [ -z "$window" ]; then
            echo "the window did not appear (within 60 s, or the program ended):"
            cat "$2/quarn.log"
            kill $app $bus 2> /dev/null
            exit 3
        fi
        QUARN_WORK=$2 timeout 180 /usr/bin/python3 "$3/window_atspi.py" "$window"
        status=$?
        sleep 1
        if kill -0 $app 2> /dev/null; then
            echo "FAIL: the window is still open after Ja"
            status=1
            kill $app
        fi
        kill $bus 2> /dev/null
        exit $status
    ' driver "$quarn" "$work" "$here"
    status=$?
    kill $xvfb 2> /dev/null
    wait $xvfb 2> /dev/null
    rm -rf "$work"
    return $status
}

for try in 1 2 3; do
    attempt
    status=$?
    [ $status -ne 3 ] && exit $status
    echo "(try $try of 3: no window; starting again)"
done
echo "FAIL: the window did not come up in three tries"
exit 1
