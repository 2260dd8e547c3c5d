#!/usr/bin/env python3
"""The bare frame on a real X server, driven with xdotool: a drag of the title bar moves the
window, a drag of the bottom-right handle resizes it, a double click on the caption maximises
it and another restores it. Run inside xvfb-run (no window manager: the frame falls back to
moving and resizing the window itself).

usage: realwindow.py <showframe>
"""
import subprocess
import sys
import time

START = (800, 500, 100, 100)  # width, height, x, y


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True,
                          capture_output=True, text=True).stdout


def geometry(window):
    values = dict(line.split("=", 1) for line in xdotool(
        "getwindowgeometry", "--shell", window).split())
    return (int(values["WIDTH"]), int(values["HEIGHT"]), int(values["X"]), int(values["Y"]))


def wait_for_geometry(window, expected, what):
    deadline = time.monotonic() + 10
    seen = geometry(window)
    while seen != expected and time.monotonic() < deadline:
        time.sleep(0.05)
        seen = geometry(window)
    if seen != expected:
        sys.exit(f"FAIL {what}: window at {seen}, expected {expected}")
    print(f"ok {what}: {seen}")


def drag(start, offset):
    x, y = start
    dx, dy = offset
    xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.1,
            "mousemove", x + dx // 8, y + dy // 8, "sleep", 0.1,
            "mousemove", x + dx // 2, y + dy // 2, "sleep", 0.1,
            "mousemove", x + dx, y + dy, "sleep", 0.2, "mouseup", 1)


def double_click(point):
    xdotool("mousemove", *point, "sleep", 0.2, "click", "--repeat", 2, "--delay", 80, 1)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    width, height, x, y = START
    program = subprocess.Popen([sys.argv[1], f"{width}x{height}+{x}+{y}"],
                               stdout=subprocess.PIPE, text=True)
    try:
        points = {}
        program.stdout.readline()  # the geometry line
        for _ in range(2):
            name, px, py = program.stdout.readline().split()
            points[name] = (int(px), int(py))
        window = xdotool("search", "--sync", "--name", "^Bare frame$").split()[0]
        wait_for_geometry(window, START, "shown")
        screen = tuple(int(v) for v in xdotool("getdisplaygeometry").split())

        drag(points["caption"], (120, 70))
        x, y = x + 120, y + 70
        wait_for_geometry(window, (width, height, x, y), "title bar drag moves")

        corner = (points["corner"][0] + 120, points["corner"][1] + 70)
        drag(corner, (80, 40))
        width, height = width + 80, height + 40
        wait_for_geometry(window, (width, height, x, y), "corner drag resizes")

        caption = (points["caption"][0] + 120, points["caption"][1] + 70)
        double_click(caption)
        wait_for_geometry(window, (*screen, 0, 0), "double click maximises")
        time.sleep(0.5)  # not a triple click
        # Maximised, the handles are gone and the title bar spans the top of the screen.
        double_click((screen[0] // 2, 8))
        wait_for_geometry(window, (width, height, x, y), "double click restores")
    finally:
        program.terminate()
        program.wait(10)


if __name__ == "__main__":
    main()
