#!/usr/bin/python3
"""Time from spawning a program to the first painted frame of its window, as the X server sees it.

The clock stops at the first DAMAGE event on any top-level window the program creates: the moment its first
frame reaches the screen. Programs run in rounds, each round in a rotated order (A/B alternated), and each
program is compared with each one after it by the median of their per-round ratios.

    first_frame.py ROUNDS NAME=PROGRAM NAME=PROGRAM ...

Needs DISPLAY (an X server with the DAMAGE extension, e.g. Xvfb) and python3-xlib. Each program must end by
itself after its first frame.
"""
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, display
from Xlib.ext import damage

TIMEOUT = 30.0


def first_frame(disp, argv):
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    painted = None
    try:
        while painted is None:
            if not disp.pending_events():
                left = start + TIMEOUT - time.perf_counter()
                if left <= 0:
                    raise RuntimeError(f"{argv[0]}: no frame within {TIMEOUT:.0f} s")
                select.select([disp], [], [], left)
                continue
            event = disp.next_event()
            if event.type == X.CreateNotify:
                # Watched from its creation, long before it can be mapped and painted. Input-only windows
                # refuse (BadMatch); they are never painted anyway.
                event.window.damage_create(damage.DamageReportNonEmpty)
                disp.flush()
            elif event.type == disp.extension_event.DamageNotify:
                painted = time.perf_counter()
        if proc.wait(timeout=TIMEOUT) != 0:
            raise RuntimeError(f"{argv[0]} failed with exit code {proc.returncode}")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    # Events of the windows' destruction are not this run's.
    disp.sync()
    while disp.pending_events():
        disp.next_event()
    return painted - start


def main():
    rounds = int(sys.argv[1])
    programs = [arg.split("=", 1) for arg in sys.argv[2:]]
    disp = display.Display()
    if not disp.has_extension("DAMAGE"):
        sys.exit("the X server has no DAMAGE extension")
    disp.damage_query_version()
    disp.set_error_handler(lambda *args: None)
    disp.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    disp.sync()

    load_before = open("/proc/loadavg").read().split()[:3]
    for name, program in programs:  # warm the file cache
        first_frame(disp, [program])
    times = {name: [] for name, _ in programs}
    for r in range(rounds):
        order = programs[r % len(programs):] + programs[:r % len(programs)]
        for name, program in order:
            times[name].append(first_frame(disp, [program]))

    load_after = open("/proc/loadavg").read().split()[:3]
    print(f"{rounds} rounds; load average (1, 5, 15 min) before {' '.join(load_before)}, after {' '.join(load_after)}")
    for name, _ in programs:
        print(f"{name}: median {statistics.median(times[name]) * 1000:.1f} ms")
    for i, (a, _) in enumerate(programs):
        for b, _ in programs[i + 1:]:
            ratios = [x / y for x, y in zip(times[a], times[b])]
            print(f"{a} / {b}: median of pair ratios {statistics.median(ratios):.2f}")


if __name__ == "__main__":
    main()
