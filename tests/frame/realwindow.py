#!/usr/bin/env python3
"""The bare frame on an Xvfb of its own (no window manager: the frame moves and resizes the
window itself), driven with xdotool: title bar and corner drags, caption double clicks.

usage: realwindow.py <showframe>
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from launcher import start_display  # noqa: E402


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True,
                          capture_output=True, text=True).stdout


def expect(window, expected, what):
    deadline = time.monotonic() + 10
    while True:
        shell = dict(line.split("=", 1) for line in
                     xdotool("getwindowgeometry", "--shell", window).split())
        seen = tuple(int(shell[key]) for key in ("WIDTH", "HEIGHT", "X", "Y"))
        if seen == expected:
            return print(f"ok {what}: {seen}")
        if time.monotonic() > deadline:
            sys.exit(f"FAIL {what}: window at {seen}, expected {expected}")
        time.sleep(0.05)


def drag(x, y, dx, dy):
    xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.1,
            "mousemove", x + dx // 8, y + dy // 8, "sleep", 0.1,
            "mousemove", x + dx // 2, y + dy // 2, "sleep", 0.1,
            "mousemove", x + dx, y + dy, "sleep", 0.2, "mouseup", 1)


def double_click(x, y):
    xdotool("mousemove", x, y, "sleep", 0.2, "click", "--repeat", 2, "--delay", 80, 1)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    display = start_display()
    program = subprocess.Popen([sys.argv[1], "800x500+100+100"], stdout=subprocess.PIPE,
                               text=True)
    try:
        program.stdout.readline()  # the geometry line
        caption, corner = (tuple(map(int, program.stdout.readline().split()[1:])) for _ in range(2))
        window = xdotool("search", "--sync", "--name", "^Bare frame$").split()[0]
        expect(window, (800, 500, 100, 100), "shown")
        drag(*caption, 120, 70)
        expect(window, (800, 500, 220, 170), "title bar drag moves")
        drag(corner[0] + 120, corner[1] + 70, 80, 40)
        expect(window, (880, 540, 220, 170), "corner drag resizes")
        double_click(caption[0] + 120, caption[1] + 70)
        screen = tuple(int(v) for v in xdotool("getdisplaygeometry").split())
        expect(window, (*screen, 0, 0), "double click maximises")
        time.sleep(0.5)  # not a triple click
        # Maximised, the handles are gone and the title bar spans the top of the screen.
        double_click(screen[0] // 2, 8)
        expect(window, (880, 540, 220, 170), "double click restores")
    finally:
        program.terminate()
        program.wait(10)
        display.terminate()
        display.wait()


if __name__ == "__main__":
    main()
