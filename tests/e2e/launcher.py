#!/usr/bin/env python3
"""The built launcher as a user meets it, on a real X server driven with xdotool, against the
stand-in runtime. Each run starts an Xvfb of its own (no window manager) and plays one case,
in the HOME, XDG folders and TMPDIR that the environment gives, which the case empties first.

usage: launcher.py <case> <qvkiosk> <samples folder>, the cases listed in CASES below
"""
import json
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import threading
import time
from pathlib import Path

QVKIOSK = SAMPLES = RUNTIME = ""
CODE = "1234"  # the lobby's admin code
CALLER_BYTES = b"\xa5\x5a\xc3\x3c"
STARTED = []  # launchers and watches, which the clean-up stops


class Failure(Exception):
    def __init__(self, what):
        # What the display showed, taken before the clean-up ends the case's programs.
        picture = os.path.join(os.environ["HOME"], "failure.png")
        subprocess.run(["import", "-window", "root", picture], capture_output=True)
        super().__init__(f"{what}\n(the display then: {picture})")


def check(condition, what):
    if not condition:
        raise Failure(what)
    print(f"ok {what}", flush=True)


def wait_until(probe, seconds, what):
    deadline = time.monotonic() + seconds
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {seconds} s: {what}")
        time.sleep(0.05)
    return value


def xdotool(*args, check_status=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if check_status and result.returncode != 0:
        raise Failure(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
    return result.stdout


def start_display():
    """An Xvfb of the case's own, on a number drawn far above those that xvfb-run -a and
    Xvfb -displayfd try first, where parallel tests can meet; one in use makes it exit."""
    for _ in range(20):
        number = random.randint(1000, 30000)
        read_end, write_end = os.pipe()
        server = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", str(write_end),
                                   "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                  pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as reported:
            ready = reported.readline().strip() == str(number)
        os.environ["DISPLAY"] = f":{number}"
        os.environ.pop("XAUTHORITY", None)
        if ready and server.poll() is None and subprocess.run(
                ["xwininfo", "-root"], capture_output=True).returncode == 0:
            return server
        server.kill()
        server.wait()
    sys.exit("FAIL no Xvfb could be started")


def fresh_environment():
    """Empties the case's HOME (it outlives a run in the build tree) and steers the runtime
    to record what it takes."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    shutil.rmtree(env["HOME"], ignore_errors=True)
    for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                "TMPDIR"):
        os.makedirs(env[key], mode=0o700)
    env["QVKIOSKCORE_RECORD"] = os.path.join(env["HOME"], "record.jsonl")
    return env


def shm(name):
    return Path("/dev/shm", name)


def blocks_of(pid):
    return [n for n in os.listdir("/dev/shm") if n.endswith(f"_{pid}")]


class Launcher:
    def __init__(self, env, arguments, cwd=None):
        self.output_file = os.path.join(env["HOME"], f"output-{time.monotonic_ns()}.txt")
        with open(self.output_file, "wb") as output:
            self.process = subprocess.Popen([QVKIOSK, *arguments], env=env, cwd=cwd,
                                            stdout=output, stderr=subprocess.STDOUT)
        self.pid = self.process.pid
        STARTED.append(self)

    def output(self):
        return Path(self.output_file).read_text(encoding="utf-8", errors="replace")

    def window(self, name_pattern, seconds=20):
        """The id of this launcher's visible window whose title matches the pattern."""
        def find():
            if self.process.poll() is not None:
                raise Failure(f"the launcher ended (code {self.process.returncode}) before "
                              f"showing a window named {name_pattern!r}:\n{self.output()}")
            return self.windows(name_pattern)
        return wait_until(find, seconds, f"a window named {name_pattern!r}")[0]

    def windows(self, name_pattern):
        # xdotool's --name reads only WM_NAME, which Qt leaves empty for an untitled window
        # (the title is in _NET_WM_NAME), and its --pid joins other conditions with "or":
        # take every visible window of the program and filter here.
        found = xdotool("search", "--onlyvisible", "--classname", "^qvkiosk$",
                        check_status=False).split()
        return [w for w in found
                if xdotool("getwindowpid", w, check_status=False).strip() == str(self.pid)
                and re.search(name_pattern, xdotool("getwindowname", w,
                                                    check_status=False).rstrip("\n"))]

    def ended(self, seconds=15):
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            raise Failure(f"the launcher still runs after {seconds} s:\n{self.output()}")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for name in blocks_of(self.pid):  # a killed launcher leaves them behind
            shm(name).unlink(missing_ok=True)


def focused(window):
    """Waits for the window to have the keyboard: without a window manager the launcher
    gives it the focus itself once it is shown. Until then xdotool may fail to read a focus
    at all (the root's pointer focus), which only means not yet."""
    wait_until(lambda: xdotool("getwindowfocus", check_status=False).strip() == window, 20,
               f"window {window} to have the focus")


def main_window(launcher):
    """Waits for the main window to answer keys (after the start-up wait and its first-time
    event) and to have the focus."""
    main = launcher.window("^Quorvane Kiosk$")
    wait_until(lambda: not xdotool("search", "--onlyvisible", "--name", "^Initializing",
                                   check_status=False).strip(), 30, "the start-up wait")
    focused(main)


def records(env):
    path = Path(env["QVKIOSKCORE_RECORD"])
    lines = path.read_text(encoding="utf-8").splitlines() if path.exists() else []
    return [json.loads(line) for line in lines if line.strip()]


def settings(env):
    return Path(env["XDG_CONFIG_HOME"], "Brennix", "QVKiosk", "V2.0", "qvkiosk.ini")


def runtimes_of(env):
    """Running stand-in runtimes started in this case (their environment carries our HOME);
    a zombie has no exe link."""
    marker = ("HOME=" + env["HOME"]).encode()
    found = []
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            if (os.path.samefile(f"/proc/{entry}/exe", RUNTIME)
                    and marker in Path(f"/proc/{entry}/environ").read_bytes().split(b"\0")):
                found.append(int(entry))
        except OSError:
            pass
    return found


def stop_runtimes(env):
    # A runtime that has taken a file shows it until Ctrl+Alt+Q: nothing may outlive the case.
    for pid in runtimes_of(env):
        os.kill(pid, signal.SIGKILL)
    wait_until(lambda: not runtimes_of(env), 5, "the runtimes to end")


def hand_over(env, launcher, path):
    """Enters the code, and checks that the launcher handed the file over to a runtime that
    runs on, and ended leaving no shared-memory block."""
    enter_code(launcher)
    check(launcher.ended() == 0, "the launcher ends after the hand-over")
    taken = records(env)
    check([(t["path"], t["code"], t["level"]) for t in taken] == [(path, CODE, "Power User")],
          f"the runtime took {path!r} once, with the code and the level ({taken})")
    check(taken[0]["pid"] in runtimes_of(env), "the runtime that took it runs on")
    check(not blocks_of(launcher.pid), "the launcher left no shared-memory block behind")


def enter_code(launcher):
    """Types the code into the code dialog (it opens at Power User, which the code of either
    level opens) and confirms it."""
    focused(launcher.window("^Enter code"))
    xdotool("type", "--delay", 20, CODE)
    xdotool("key", "Tab", "Return")


class MapWatch:
    """Records every top-level window mapped on the display (xev on the root window) and,
    polling, what each window is, so that a map of the launcher's main window, however brief,
    is seen: it keeps its X window until the launcher ends."""

    LINE = re.compile(r'^\s+(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \((.*)\)')

    def __init__(self):
        self.mapped, self.kinds, self.running = [], {}, True
        self.listening = threading.Event()
        # Line-buffered: xev writes through stdio, which would hold events back in a pipe.
        self.xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure",
                                     "-event", "property"], stdout=subprocess.PIPE, text=True)
        self.readers = [threading.Thread(target=t, daemon=True)
                        for t in (self.read_maps, self.poll_windows)]
        for reader in self.readers:
            reader.start()
        STARTED.append(self)
        # xev listens once it reports a change of a root window property.
        wait_until(lambda: subprocess.run(["xprop", "-root", "-f", "E2E_WATCH", "8s", "-set",
                                           "E2E_WATCH", "1"], check=True)
                   and self.listening.wait(0.1), 10, "xev to report events")

    def read_maps(self):
        mapping = False
        for line in self.xev.stdout:
            if line.startswith("PropertyNotify"):
                self.listening.set()
            if mapping and (found := re.search(r"window (0x[0-9a-f]+)", line)):
                self.mapped.append(int(found.group(1), 16))
            mapping = line.startswith("MapNotify")

    def poll_windows(self):
        while self.running:
            tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True,
                                  text=True).stdout
            for found in filter(None, map(self.LINE.match, tree.splitlines())):
                window = int(found.group(1), 16)
                if window not in self.kinds and found.group(3).startswith('"qvkiosk"'):
                    kinds = subprocess.run(["xprop", "-id", hex(window), "_NET_WM_WINDOW_TYPE"],
                                           capture_output=True, text=True).stdout
                    self.kinds[window] = set(re.findall(r"\b_NET_WM_WINDOW_TYPE_(\w+)", kinds))
            time.sleep(0.02)

    def stop(self):
        if not self.running:
            return
        self.running = False
        self.readers[1].join()
        time.sleep(0.2)  # the last maps on their way through xev
        self.xev.terminate()
        self.readers[0].join()
        self.xev.wait()

    def check_main_window_never_mapped(self, built=True):
        """built: the launcher makes its main window without showing it (a file start);
        relay mode makes none at all."""
        self.stop()
        mapped_kinds = [sorted(self.kinds.get(window, {"unknown"})) for window in self.mapped]
        # The splash screen says NORMAL too, after SPLASH, for those who know no splash; that
        # it (and the main window) were seen shows the watch works.
        main_windows = {w for w, kinds in self.kinds.items() if kinds == {"NORMAL"}}
        check(["NORMAL", "SPLASH"] in mapped_kinds and bool(main_windows) == built,
              f"the watch saw the splash screen mapped and the main window "
              f"{'exist' if built else 'never made'} ({mapped_kinds}, {self.kinds})")
        check(not main_windows & set(self.mapped),
              f"the main window was never mapped (mapped: {mapped_kinds})")


# --- the cases ------------------------------------------------------------------------------

def nonsplash_exit(env):
    launcher = Launcher(env, ["nonSplash"])
    main_window(launcher)
    xdotool("key", "alt+f")
    time.sleep(0.3)  # the menu opens; a key sent before it would go to the window
    xdotool("key", "x")
    check(launcher.ended() == 0, "Exit from the File menu ends the launcher with code 0")
    saved = settings(env).read_text(encoding="utf-8") if settings(env).exists() else ""
    check("RecentlyUsedFiles" in saved, "the recent-files list was saved at the end")
    wait_until(lambda: not runtimes_of(env), 10, "the standby runtime to end by itself")
    print("ok the standby runtime ended with the launcher")


def command_line_file(env):
    # A path relative to the starting folder still names the file after the launcher has
    # changed its current folder to start the runtime; the main window stays unmapped.
    watch = MapWatch()
    launcher = Launcher(env, [os.path.join(os.path.basename(SAMPLES), "lobby.qvksk")],
                        cwd=os.path.dirname(SAMPLES))
    hand_over(env, launcher, os.path.join(SAMPLES, "lobby.qvksk"))
    watch.check_main_window_never_mapped()


def recent_load(env):
    # The recent list as the launcher writes it: newest first, none a favourite.
    entries = ",".join(f'\\"{os.path.join(SAMPLES, name)}\\",\\"false\\",'
                       f'\\"2026-01-0{9 - i}T10:00:00\\"'
                       for i, name in enumerate(["open.qvksk", "lobby.qvksk", "adminonly.qvksk"]))
    settings(env).parent.mkdir(parents=True)
    settings(env).write_text(f'[General]\nRecentlyUsedFiles="{entries}"\n', encoding="utf-8")
    launcher = Launcher(env, ["nonSplash"])
    main_window(launcher)
    # The icon view has the focus on the first entry: select the second, then go back over
    # Remove from History and Favorite to Load.
    xdotool("key", "Right")
    time.sleep(0.2)
    xdotool("key", "shift+Tab", "shift+Tab", "shift+Tab", "space")
    hand_over(env, launcher, os.path.join(SAMPLES, "lobby.qvksk"))
    saved = settings(env).read_text(encoding="utf-8")
    check(saved.index("lobby.qvksk") < saved.index("open.qvksk"),
          "the opened file is saved first in the recent list")


def relay(env):
    # A fresh request block and a caller's block of four known bytes.
    watch = MapWatch()
    request, caller = (shm(f"e2eRelay{kind}_{os.getpid()}") for kind in ("Request", "Caller"))
    for block, data in ((request, bytes(260)), (caller, CALLER_BYTES)):
        block.unlink(missing_ok=True)
        block.write_bytes(data)
    launcher = Launcher(env, [request.name, "260", caller.name, "4"])
    check(launcher.ended() == 0, "relay mode ends with code 0")
    pid = struct.unpack("<I", caller.read_bytes())[0]
    check(pid in runtimes_of(env), f"the block holds the pid of a runtime this run started ({pid})")
    wait_until(lambda: request.read_bytes()[252:256] != bytes(4), 10,
               "the relayed runtime to serve the block named by the caller's arguments")
    print("ok the relayed runtime serves the block its arguments name")
    watch.check_main_window_never_mapped(built=False)


CASES = {case.__name__.replace("_", "-"): case for case in (
    nonsplash_exit, command_line_file, recent_load, relay)}


def main():
    global QVKIOSK, SAMPLES, RUNTIME
    if len(sys.argv) != 4 or sys.argv[1] not in CASES:
        sys.exit(__doc__)
    QVKIOSK = os.path.abspath(sys.argv[2])
    SAMPLES = os.path.abspath(sys.argv[3])
    RUNTIME = os.path.join(os.path.dirname(os.path.dirname(QVKIOSK)), "qvkioskcore",
                           "qvkioskcore")
    display = start_display()
    env = fresh_environment()
    try:
        CASES[sys.argv[1]](env)
    except Failure as failure:
        sys.exit(f"FAIL {failure}")
    finally:
        for started in reversed(STARTED):
            started.stop()
        stop_runtimes(env)
        for name in os.listdir("/dev/shm"):
            if name.startswith("e2eRelay") and name.endswith(f"_{os.getpid()}"):
                shm(name).unlink(missing_ok=True)
        display.terminate()
        display.wait()


if __name__ == "__main__":
    main()
