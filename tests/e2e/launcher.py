#!/usr/bin/env python3
"""The built launcher against the stand-in runtime, on an Xvfb without window manager or a
headless sway (as nobody when run as root: sway refuses root); 77 where sway cannot start.

usage: launcher.py <qvkiosk> <samples folder> x11|wayland <case>, the cases in CASES below
"""
import json
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

QVKIOSK = SAMPLES = RUNTIME = ""
CODE = "1234"  # the lobby's admin code, which opens Power User too
PLACE = "GeometryMainWindow=@Rect(100 60 "  # a compositor may change the size
STARTED = []  # what the clean-up stops, last first


def check(condition, what):
    if not condition:
        raise AssertionError(what)
    print(f"ok {what}", flush=True)


def wait_until(probe, seconds, what):
    deadline = time.monotonic() + seconds
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {seconds} s: {what}")
        time.sleep(0.05)
    return value


def output(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs).stdout


class Display:
    def as_user(self):
        return {"env": self.env}

    def stop(self):
        self.server.terminate()
        self.server.wait()


class X11(Display):
    def __init__(self, env):
        # Numbers far above those xvfb-run -a tries first; one in use makes Xvfb exit. -noreset:
        # the server resets when its last client leaves, and one connecting meanwhile is refused.
        for _ in range(20):
            number = random.randint(1000, 30000)
            read_end, write_end = os.pipe()
            self.server = subprocess.Popen(
                ["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as reported:
                ready = reported.readline().strip() == str(number)
            os.environ["DISPLAY"] = f":{number}"
            os.environ.pop("XAUTHORITY", None)
            if ready and self.server.poll() is None and subprocess.run(
                    ["xwininfo", "-root"], capture_output=True).returncode == 0:
                env.update(DISPLAY=os.environ["DISPLAY"], QT_QPA_PLATFORM="xcb")
                self.env = env
                return
            self.server.kill()
            self.server.wait()
        sys.exit("FAIL no Xvfb could be started")

    def keys(self, *names):
        # Without a window manager the launcher focuses its windows itself.
        output(["xdotool", "key", "--delay", "20", *names])

    def close(self):
        self.keys("alt+f")
        time.sleep(0.3)  # the menu opens; a key sent before it would go to the window
        self.keys("x")

    def windows(self):
        """(title, focused) of each visible window of the launcher."""
        focus = output(["xdotool", "getwindowfocus"]).strip()
        return [(output(["xdotool", "getwindowname", w]).strip(), w == focus) for w in output(
            ["xdotool", "search", "--onlyvisible", "--classname", "^qvkiosk$"]).split()]

    def watch(self):
        # Every map on the root, however brief; xev listens once it reports a root property.
        watch = Watch(["stdbuf", "-oL", "xev", "-root", "-event", "substructure", "-event",
                       "property"], self.mapped_window, self.as_user())
        wait_until(lambda: output(["xprop", "-root", "-f", "E2E_WATCH", "8s", "-set",
                                   "E2E_WATCH", "1"]) == "" and watch.lines, 10, "xev to listen")
        return watch

    @staticmethod
    def mapped_window(line, before):
        if before.startswith("MapNotify") and (found := re.search(r"window (0x\w+)", line)):
            what = output(["xprop", "-id", found.group(1), "_NET_WM_WINDOW_TYPE", "WM_CLASS"])
            kinds = set(re.findall(r"\b_NET_WM_WINDOW_TYPE_(\w+)", what))
            # The splash screen says NORMAL too, after SPLASH, for those who know no splash.
            return ("splash" if "SPLASH" in kinds else
                    "main" if kinds == {"NORMAL"} and '"qvkiosk"' in what else "other")


class Watch:
    """The windows a display maps, each as (when, what), read from a command's events."""

    def __init__(self, command, mapped, as_user):
        self.lines, self.maps, self.mapped_window = 0, [], mapped
        self.events = subprocess.Popen(command, stdout=subprocess.PIPE, text=True, **as_user)
        self.reader = threading.Thread(target=self.read, daemon=True)
        self.reader.start()
        STARTED.append(self.mapped)

    def read(self):
        before = ""
        for line in self.events.stdout:
            self.lines += 1
            if what := self.mapped_window(line, before):
                self.maps.append((time.monotonic(), what))
            before = line

    def mapped(self):
        if self.events.poll() is None:
            time.sleep(0.2)  # the last maps on their way
            self.events.terminate()
            self.reader.join()
            self.events.wait()
        return self.maps


class Wayland(Display):
    def __init__(self, env):
        env.update(QT_QPA_PLATFORM="wayland", WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1")
        env.pop("DISPLAY", None)
        self.env = env
        config = Path(env["HOME"], "sway.config")
        config.write_text("xwayland disable\noutput * resolution 1280x1024\n")
        with open(os.path.join(env["HOME"], "sway.log"), "w") as log:
            self.server = subprocess.Popen(["sway", "-c", config], stdout=log,
                                           stderr=subprocess.STDOUT, **self.as_user())
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline and self.server.poll() is None:
            names = os.listdir(env["XDG_RUNTIME_DIR"])
            socket = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
            ipc = [n for n in names if n.startswith("sway-ipc.")]
            if socket and ipc:
                env.update(WAYLAND_DISPLAY=socket[0],
                           SWAYSOCK=os.path.join(env["XDG_RUNTIME_DIR"], ipc[0]))
                return
            time.sleep(0.05)
        self.stop()
        print(f"SKIP sway cannot start here:\n{Path(log.name).read_text()[-2000:]}", flush=True)
        sys.exit(77)

    def as_user(self):
        if os.geteuid() != 0:
            return super().as_user()
        # Not checked: a lock or socket may go meanwhile.
        subprocess.run(["chown", "-R", "nobody:", self.env["HOME"]], stderr=subprocess.DEVNULL)
        return {"env": self.env, "user": "nobody", "group": "nogroup", "extra_groups": []}

    def keys(self, *names, words=()):
        # Each wtype is a new keyboard, whose first keys the program may miss while it takes it.
        words = [*words, *(w for name in names for w in ("-k", name))]
        subprocess.run(["wtype", "-s", "300", "-d", "20", *words], check=True, **self.as_user())

    def close(self):
        self.keys(words=("-M", "alt", "-k", "F4", "-m", "alt"))  # File > Exit's shortcut

    def windows(self):
        tree = output(["swaymsg", "-r", "-t", "get_tree"], **self.as_user())
        found, nodes = [], [json.loads(tree)] if tree else []
        while nodes:
            node = nodes.pop()
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
            if node.get("pid"):
                found.append((node.get("name") or "", node.get("focused")))
        return found

    def watch(self):
        return Watch(["swaymsg", "-r", "-m", "-t", "subscribe", '["window"]'],
                     self.mapped_window, self.as_user())

    @staticmethod
    def mapped_window(line, _):
        # The splash screen's picture is twice as wide as high.
        if (event := json.loads(line))["change"] == "new":
            size = event["container"]["geometry"]
            return "splash" if size["width"] == 2 * size["height"] else "window"


def never_mapped(watch):
    kinds = [what for _, what in watch.mapped()]
    check("splash" in kinds and "main" not in kinds,
          f"the splash screen was mapped, the main window never ({kinds})")


def launch(env, display, arguments, cwd=None):
    with open(Path(env["HOME"], "output.txt"), "ab") as out:
        process = subprocess.Popen([QVKIOSK, *arguments], cwd=cwd, stdout=out,
                                   stderr=subprocess.STDOUT, **display.as_user())
    STARTED.append(process.kill)  # its blocks go at the next start
    return process


def ended(launcher):
    wait_until(lambda: launcher.poll() is not None, 15, "the launcher to end")
    return launcher.returncode


def focused(display, title):
    wait_until(lambda: any(t.startswith(title) and f for t, f in display.windows()), 20,
               f"a focused window titled {title!r}")


def runtime_runs(pid):
    # A zombie has no exe link; a runtime that took a file runs until stopped.
    if runs := os.path.realpath(f"/proc/{pid}/exe") == os.path.realpath(RUNTIME):
        STARTED.append(lambda: subprocess.run(["kill", "-KILL", str(pid)], capture_output=True))
    return runs


def start(env, display):
    settings = Path(env["XDG_CONFIG_HOME"], "Brennix", "QVKiosk", "V2.0", "qvkiosk.ini")
    settings.parent.mkdir(parents=True)
    settings.write_text(f"[General]\n{PLACE}800 450)\n")
    watch = display.watch()
    launcher = launch(env, display, [])
    focused(display, "Quorvane Kiosk")
    wait_until(lambda: not any(t.startswith("Initializing") for t, _ in display.windows()), 30,
               "the start-up wait")
    focused(display, "Quorvane Kiosk")
    # Closing is refused until the first-time event, which focus may come before.
    wait_until(lambda: display.close() or launcher.poll() is not None, 15,
               "the launcher to end")
    check(ended(launcher) == 0, "File > Exit ends the launcher with code 0")
    mapped = watch.mapped()
    later = [at for at, kind in mapped if kind in ("main", "window")]
    check(mapped and mapped[0][1] == "splash" and later and later[0] - mapped[0][0] > 0.5,
          f"the splash screen was up a while before the main window ({mapped})")
    # A compositor never tells where the window is: the stored place stays.
    saved = settings.read_text()
    check(PLACE in saved and "RecentlyUsedFiles" in saved,
          f"the stored place kept and the recent list saved:\n{saved}")


def command_line_file(env, display):
    watch = display.watch()
    launcher = launch(env, display, [os.path.join(os.path.basename(SAMPLES), "lobby.qvksk")],
                      cwd=os.path.dirname(SAMPLES))
    focused(display, "Enter code")
    display.keys(*CODE, "Tab", "Return")
    check(ended(launcher) == 0, "the launcher ends after the hand-over")
    record = Path(env["QVKIOSKCORE_RECORD"])
    taken = list(map(json.loads, record.read_text().splitlines())) if record.exists() else []
    check([(t["path"], t["code"], t["level"]) for t in taken]
          == [(os.path.join(SAMPLES, "lobby.qvksk"), CODE, "Power User")],
          f"the runtime took the file once, with the code typed and the level ({taken})")
    check(runtime_runs(taken[0]["pid"]), "the runtime that took it runs on")
    check(not [n for n in os.listdir("/dev/shm") if n.endswith(f"_{launcher.pid}")],
          "the launcher left no shared-memory block")
    if isinstance(display, X11):
        never_mapped(watch)


def relay(env, display):
    watch = display.watch()
    request, caller = (Path("/dev/shm", f"e2eRelay{kind}_{os.getpid()}")
                       for kind in ("Request", "Caller"))
    STARTED.append(lambda: [block.unlink(missing_ok=True) for block in (request, caller)])
    request.write_bytes(bytes(260))
    caller.write_bytes(b"\xa5\x5a\xc3\x3c")
    launcher = launch(env, display, [request.name, "260", caller.name, "4"])
    check(ended(launcher) == 0, "relay mode ends with code 0")
    pid = struct.unpack("<I", caller.read_bytes())[0]
    check(runtime_runs(pid), f"the block holds the pid of the runtime it started ({pid})")
    wait_until(lambda: request.read_bytes()[252:256] != bytes(4), 10,
               "the relayed runtime to serve the block named by the caller's arguments")
    never_mapped(watch)


CASES = {case.__name__.replace("_", "-"): case for case in (start, command_line_file, relay)}


def stage_for_nobody():
    # nobody may not reach into the build tree (say under /root).
    global QVKIOSK, RUNTIME, SAMPLES
    root = tempfile.mkdtemp(prefix="qvkiosk-wayland-", dir="/tmp")
    STARTED.append(lambda: shutil.rmtree(root, ignore_errors=True))
    os.chmod(root, 0o755)
    for folder in (os.path.dirname(QVKIOSK), os.path.dirname(RUNTIME), SAMPLES):
        shutil.copytree(folder, os.path.join(root, os.path.basename(folder)), symlinks=True)
    QVKIOSK, RUNTIME, SAMPLES = (os.path.join(root, *Path(path).parts[-n:]) for path, n in
                                 ((QVKIOSK, 2), (RUNTIME, 2), (SAMPLES, 1)))
    if found := re.search(r"suppressions=([^:]+)", os.environ.get("LSAN_OPTIONS", "")):
        shutil.copy(found.group(1), os.path.join(root, "lsan.supp"))
        os.environ["LSAN_OPTIONS"] = os.environ["LSAN_OPTIONS"].replace(
            found.group(1), os.path.join(root, "lsan.supp"))
    return root


def main():
    global QVKIOSK, SAMPLES, RUNTIME
    if len(sys.argv) != 5 or sys.argv[3] not in ("x11", "wayland") or sys.argv[4] not in CASES:
        sys.exit(__doc__)
    QVKIOSK, SAMPLES = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    RUNTIME = os.path.join(os.path.dirname(os.path.dirname(QVKIOSK)), "qvkioskcore", "qvkioskcore")
    staged = stage_for_nobody() if sys.argv[3] == "wayland" and os.geteuid() == 0 else None
    # The case's HOME outlives a run in the build tree: start it empty.
    home = os.path.join(staged, "home") if staged else os.environ["HOME"]
    env = dict(os.environ, HOME=home, QVKIOSKCORE_RECORD=os.path.join(home, "record.jsonl"))
    shutil.rmtree(home, ignore_errors=True)
    for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"):
        env[key] = os.path.join(home, key.lower())
        os.makedirs(env[key], mode=0o700)
    try:
        display = (X11 if sys.argv[3] == "x11" else Wayland)(env)
        STARTED.append(display.stop)  # after all the case starts, before the staged copy goes
        CASES[sys.argv[4]](env, display)
    except AssertionError as failure:  # a check failed
        said = Path(env["HOME"], "output.txt")
        sys.exit(f"FAIL {failure}\nthe launcher said:\n"
                 f"{said.read_text(errors='replace') if said.exists() else ''}")
    finally:
        for stop in reversed(STARTED):
            stop()


if __name__ == "__main__":
    main()
