# Sourced by the Windows checks: a private X server and wine prefix, the programs started there, and what
# the windows show. Needs SCRATCH (a folder the caller removes) set before it is sourced.
for tool in Xvfb wine wineserver xdotool xprop xwininfo xwd convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup.sh)"; exit 77; }
done
export WINEPREFIX=$SCRATCH/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# Window titles come back from xprop as UTF-8.
export LC_ALL=C.UTF-8
x_pid=

stop_desktop() {
    # Only this check's prefix: its wineserver ends every program started in it.
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$x_pid" ] && kill "$x_pid" 2>/dev/null
    wait 2>/dev/null || true
}

# A 96 dpi screen large enough that the window keeps its size, and a prefix of its own.
start_desktop() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$SCRATCH/display" 2>/dev/null &
    x_pid=$!
    for _ in $(seq 100); do [ -s "$SCRATCH/display" ] && break; sleep 0.1; done
    [ -s "$SCRATCH/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
    export DISPLAY=:$(head -n1 "$SCRATCH/display")
    timeout 120 wineboot -i >/dev/null 2>&1 || { echo "FAIL: wineboot could not set up the prefix"; exit 1; }
    timeout 60 wineserver -w || true
}

# wait_window TITLE-START: the id of the first visible window whose title starts so, within 60 s.
wait_window() {
    local id
    for _ in $(seq 600); do
        id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

title_of() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

# size_of ID: the window's client area as WIDTHxHEIGHT.
size_of() {
    xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}'
}

shoot() { xwd -id "$1" -silent | convert xwd:- "$2"; }

# spread PNG WxH+X+Y: the standard deviation of the grey levels there, 0 (one colour) to about 0.5.
spread() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:; }
