#!/usr/bin/env python3
"""The built launcher as a user meets it, on a real X server driven with xdotool, against the
stand-in runtime. Each run starts an Xvfb of its own (no window manager) and plays one case,
in the HOME, XDG folders and TMPDIR that the environment gives, which the case empties first.

usage: launcher.py <case> <qvkiosk> <samples folder>
cases: nonsplash-exit, command-line-file, recent-load, relay, relay-bad-size, unusual-path,
       two-copies
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

QVKIOSK = ""
SAMPLES = ""
RUNTIME = ""
LOBBY_ADMIN_CODE = "1234"


class Failure(Exception):
    def __init__(self, what):
        # What the display showed, for the one reading the log: taken now, before the
        # case's clean-up ends its programs.
        picture = os.path.join(os.environ["HOME"], "failure.png")
        subprocess.run(["import", "-window", "root", picture], capture_output=True)
        super().__init__(f"{what}\n(the display then: {picture})")


def check(condition, what):
    if not condition:
        raise Failure(what)
    print(f"ok {what}", flush=True)


def wait_until(probe, seconds, what):
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {seconds} s: {what}")
        time.sleep(0.05)


def xdotool(*args, check_status=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if check_status and result.returncode != 0:
        raise Failure(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
    return result.stdout


# --- the case's own display, folders and programs ------------------------------------------

def start_display():
    """An Xvfb of the case's own, on a display number drawn far above those that xvfb-run -a
    and Xvfb -displayfd try first (99 up, 0 up): tests that start servers at once there can
    end up on one display. -displayfd only tells when the server is ready; a number in use
    makes it exit, and another is drawn."""
    for _ in range(20):
        number = random.randint(1000, 30000)
        read_end, write_end = os.pipe()
        server = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", str(write_end),
                                   "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                  pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        reported = b""
        while not reported.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            reported += chunk
        os.close(read_end)
        os.environ["DISPLAY"] = f":{number}"
        os.environ.pop("XAUTHORITY", None)
        if (reported.strip() == str(number).encode() and server.poll() is None
                and subprocess.run(["xwininfo", "-root"], capture_output=True).returncode == 0):
            return server
        server.kill()
        server.wait()
    sys.exit("FAIL no Xvfb could be started")


def fresh_environment():
    """Empties the case's folders (they outlive a run in the build tree) and steers the
    runtime to record what it takes."""
    env = dict(os.environ)
    for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                "TMPDIR"):
        shutil.rmtree(env[key], ignore_errors=True)
        os.makedirs(env[key], mode=0o700)
    env["QT_QPA_PLATFORM"] = "xcb"
    env["QVKIOSKCORE_RECORD"] = os.path.join(env["HOME"], "record.jsonl")
    if os.path.exists(env["QVKIOSKCORE_RECORD"]):
        os.remove(env["QVKIOSKCORE_RECORD"])
    for name in os.listdir(env["HOME"]):
        if name.startswith("output-") or name == "files":
            path = os.path.join(env["HOME"], name)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
    return env


class Launcher:
    def __init__(self, env, arguments, cwd=None):
        self.output_file = os.path.join(env["HOME"], f"output-{time.monotonic_ns()}.txt")
        with open(self.output_file, "wb") as output:
            self.process = subprocess.Popen([QVKIOSK, *arguments], env=env, cwd=cwd,
                                            stdout=output, stderr=subprocess.STDOUT)
        self.pid = self.process.pid

    def output(self):
        with open(self.output_file, encoding="utf-8", errors="replace") as output:
            return output.read()

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
        # A killed launcher leaves its shared-memory blocks behind.
        remove_blocks(*[n for n in os.listdir("/dev/shm") if n.endswith(f"_{self.pid}")])


def focused(window):
    """Waits for the window to have the keyboard: without a window manager the launcher
    gives it the focus itself once it is shown."""
    wait_until(lambda: xdotool("getwindowfocus").strip() == window, 10,
               f"window {window} to have the focus")


def enter_code(launcher, code):
    """Types the code into the code dialog (it opens at Power User, which the code of either
    level opens) and confirms it."""
    dialog = launcher.window("^Enter code")
    focused(dialog)
    xdotool("type", "--delay", 20, code)
    xdotool("key", "Tab", "Return")


def records(env):
    try:
        with open(env["QVKIOSKCORE_RECORD"], encoding="utf-8") as record:
            return [json.loads(line) for line in record if line.strip()]
    except FileNotFoundError:
        return []


def runtimes_of(env):
    """Running stand-in runtimes started in this case (their environment carries our HOME)."""
    marker = ("HOME=" + env["HOME"]).encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            if not os.path.samefile(f"/proc/{entry}/exe", RUNTIME):
                continue
            with open(f"/proc/{entry}/environ", "rb") as environ:
                if marker not in environ.read().split(b"\0"):
                    continue
            with open(f"/proc/{entry}/stat") as stat:
                if stat.read().rsplit(")", 1)[1].split()[0] == "Z":
                    continue
        except OSError:
            continue
        found.append(int(entry))
    return found


def stop_runtimes(env):
    # A runtime that has taken a file shows it until Ctrl+Alt+Q: nothing may outlive the case.
    for pid in runtimes_of(env):
        os.kill(pid, signal.SIGTERM)
    try:
        wait_until(lambda: not runtimes_of(env), 5, "the runtimes to end")
    except Failure:
        for pid in runtimes_of(env):
            os.kill(pid, signal.SIGKILL)


def is_running_runtime(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            state = stat.read().rsplit(")", 1)[1].split()[0]
        return os.path.samefile(f"/proc/{pid}/exe", RUNTIME) and state != "Z"
    except OSError:
        return False


# --- windows that get mapped --------------------------------------------------------------

class MapWatch:
    """Records every top-level window mapped on the display (xev on the root window) and,
    polling, what each window is, so that a map of the launcher's main window, however brief,
    is seen: it keeps its X window until the launcher ends."""

    LINE = re.compile(r'^\s+(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \((.*)\)')

    def __init__(self):
        self.mapped = []
        self.kinds = {}
        self.running = True
        self.listening = threading.Event()
        # Line-buffered: xev writes through stdio, which would hold events back in a pipe.
        self.xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure",
                                     "-event", "property"], stdout=subprocess.PIPE, text=True)
        self.readers = [threading.Thread(target=self.read_maps, daemon=True),
                        threading.Thread(target=self.poll_windows, daemon=True)]
        for reader in self.readers:
            reader.start()
        # xev listens once it reports a change of a root window property.
        deadline = time.monotonic() + 10
        while not self.listening.wait(0.1):
            if time.monotonic() > deadline:
                raise Failure("xev does not report events")
            subprocess.run(["xprop", "-root", "-f", "E2E_WATCH", "8s", "-set", "E2E_WATCH",
                            "1"], check=True)

    def read_maps(self):
        mapping = False
        for line in self.xev.stdout:
            if line.startswith("PropertyNotify"):
                self.listening.set()
            if line.startswith("MapNotify"):
                mapping = True
            elif mapping:
                mapping = False
                found = re.search(r"window (0x[0-9a-f]+)", line)
                if found:
                    self.mapped.append(int(found.group(1), 16))

    def poll_windows(self):
        while self.running:
            tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True,
                                  text=True).stdout
            for line in tree.splitlines():
                found = self.LINE.match(line)
                if not found:
                    continue
                window = int(found.group(1), 16)
                if window in self.kinds or not found.group(3).startswith('"qvkiosk"'):
                    continue
                kinds = subprocess.run(["xprop", "-id", hex(window), "_NET_WM_WINDOW_TYPE"],
                                       capture_output=True, text=True).stdout
                self.kinds[window] = set(re.findall(r"\b_NET_WM_WINDOW_TYPE_(\w+)", kinds))
            time.sleep(0.02)

    def stop(self):
        self.running = False
        self.readers[1].join()
        time.sleep(0.2)  # the last maps on their way through xev
        self.xev.terminate()
        self.readers[0].join()
        self.xev.wait()

    def check_main_window_never_mapped(self):
        self.stop()
        mapped_kinds = [sorted(self.kinds.get(window, {"unknown"})) for window in self.mapped]
        check(["NORMAL", "SPLASH"] in mapped_kinds,
              f"the watch saw the splash screen mapped ({mapped_kinds}, {self.kinds})")
        # The splash screen says NORMAL too, after SPLASH, for those who know no splash.
        main_windows = [w for w, kinds in self.kinds.items() if kinds == {"NORMAL"}]
        check(main_windows, "the watch saw the main window exist")
        check(not set(main_windows) & set(self.mapped),
              f"the main window was never mapped (mapped: {mapped_kinds})")


# --- the cases ------------------------------------------------------------------------------

def nonsplash_exit(env):
    launcher = Launcher(env, ["nonSplash"])
    try:
        main = launcher.window("^Quorvane Kiosk$")
        # The window answers a close only after the start-up wait and its first-time event.
        wait_until(lambda: not xdotool("search", "--onlyvisible", "--name", "^Initializing",
                                       check_status=False).strip(), 30, "the start-up wait")
        focused(main)
        xdotool("key", "alt+f")
        time.sleep(0.3)  # the menu opens; a key sent before it would go to the window
        xdotool("key", "x")
        check(launcher.ended() == 0, "Exit from the File menu ends the launcher with code 0")
        check("RecentlyUsedFiles" in settings_text(env),
              "the recent-files list was saved at the end")
        wait_until(lambda: not runtimes_of(env), 10, "the standby runtime to end by itself")
        print("ok the standby runtime ended with the launcher")
    finally:
        launcher.stop()


def settings_text(env):
    path = os.path.join(env["XDG_CONFIG_HOME"], "Brennix", "QVKiosk", "V2.0", "qvkiosk.ini")
    try:
        with open(path, encoding="utf-8") as settings:
            return settings.read()
    except FileNotFoundError:
        return ""


def hand_over_from_command_line(env, argument, cwd, expected_path, watch_maps):
    watch = MapWatch() if watch_maps else None
    launcher = Launcher(env, [argument], cwd=cwd)
    try:
        enter_code(launcher, LOBBY_ADMIN_CODE)
        check(launcher.ended() == 0, "the launcher ends after the hand-over")
        taken = records(env)
        check(len(taken) == 1, f"the runtime took one request ({len(taken)})")
        check(taken[0]["path"] == expected_path,
              f"the runtime got the path {taken[0]['path']!r}, expected {expected_path!r}")
        check((taken[0]["code"], taken[0]["level"]) == (LOBBY_ADMIN_CODE, "Power User"),
              "the request carries the code and the level")
        check(is_running_runtime(taken[0]["pid"]), "the runtime that took it runs on")
        left = [n for n in os.listdir("/dev/shm") if n.endswith(f"_{launcher.pid}")]
        for name in left:
            os.remove("/dev/shm/" + name)
        check(not left, f"the launcher left no shared-memory block behind ({left})")
        if watch:
            watch.check_main_window_never_mapped()
    finally:
        launcher.stop()
        if watch and watch.running:
            watch.stop()


def command_line_file(env):
    # A path relative to the starting folder still names the file after the launcher has
    # changed its current folder to start the runtime.
    folder = os.path.dirname(SAMPLES)
    hand_over_from_command_line(env, os.path.join(os.path.basename(SAMPLES), "lobby.qvksk"),
                                folder, os.path.join(SAMPLES, "lobby.qvksk"), watch_maps=True)


def unusual_path(env):
    folder = os.path.join(env["HOME"], "files", "Kiosk Dateien äöü", "日本 語")
    os.makedirs(folder)
    path = os.path.join(folder, "Lobby  Été ñ.qvksk")
    shutil.copyfile(os.path.join(SAMPLES, "lobby.qvksk"), path)
    hand_over_from_command_line(env, path, None, path, watch_maps=False)


def write_recent_files(env, names):
    """Saves the recent list as the launcher writes it: newest first, none a favourite."""
    folder = os.path.join(env["XDG_CONFIG_HOME"], "Brennix", "QVKiosk", "V2.0")
    os.makedirs(folder)
    entries = ",".join(f'\\"{os.path.join(SAMPLES, name)}\\",\\"false\\",'
                       f'\\"2026-01-{9 - i:02}T10:00:00\\"' for i, name in enumerate(names))
    with open(os.path.join(folder, "qvkiosk.ini"), "w", encoding="utf-8") as settings:
        settings.write(f'[General]\nRecentlyUsedFiles="{entries}"\n')


def recent_load(env):
    write_recent_files(env, ["open.qvksk", "lobby.qvksk", "adminonly.qvksk"])
    launcher = Launcher(env, ["nonSplash"])
    try:
        main = launcher.window("^Quorvane Kiosk$")
        wait_until(lambda: not xdotool("search", "--onlyvisible", "--name", "^Initializing",
                                       check_status=False).strip(), 30, "the start-up wait")
        focused(main)
        # The icon view has the focus on the first entry: select the second, then go back
        # over Remove from History and Favorite to Load.
        xdotool("key", "Right")
        time.sleep(0.2)
        xdotool("key", "shift+Tab", "shift+Tab", "shift+Tab", "space")
        enter_code(launcher, LOBBY_ADMIN_CODE)
        check(launcher.ended() == 0, "the launcher ends after the hand-over")
        taken = records(env)
        check([t["path"] for t in taken] == [os.path.join(SAMPLES, "lobby.qvksk")],
              f"the runtime took the selected recent file ({taken})")
        saved = settings_text(env)
        check(saved.index("lobby.qvksk") < saved.index("open.qvksk"),
              "the opened file is saved first in the recent list")
    finally:
        launcher.stop()


def make_block(name, data):
    with open("/dev/shm/" + name, "xb") as block:
        block.write(data)


def read_block(name):
    with open("/dev/shm/" + name, "rb") as block:
        return block.read()


def relay_blocks():
    request = f"e2eRelayRequest_{os.getpid()}"
    caller = f"e2eRelayCaller_{os.getpid()}"
    make_block(request, bytes(260))
    make_block(caller, b"\xa5\x5a\xc3\x3c")
    return request, caller


def remove_blocks(*names):
    for name in names:
        if os.path.exists("/dev/shm/" + name):
            os.remove("/dev/shm/" + name)


def relay(env):
    request, caller = relay_blocks()
    watch = MapWatch()
    try:
        launcher = Launcher(env, [request, "260", caller, "4"])
        check(launcher.ended() == 0, "relay mode ends with code 0")
        pid = struct.unpack("<I", read_block(caller))[0]
        check(is_running_runtime(pid), f"the block holds the pid of a running runtime ({pid})")
        check(pid in runtimes_of(env), "that runtime is the one this launcher started")
        wait_until(lambda: read_block(request)[252:256] != bytes(4), 10,
                   "the relayed runtime to serve the block named by the caller's arguments")
        print("ok the relayed runtime serves the block its arguments name")
        watch.check_main_window_never_mapped()
    finally:
        if watch.running:
            watch.stop()
        remove_blocks(request, caller)


def relay_bad_size(env):
    for size in ("4x", "3", "5"):
        request, caller = relay_blocks()
        try:
            launcher = Launcher(env, [request, "260", caller, size])
            check(launcher.ended() == 0, f"size {size!r}: relay mode ends with code 0")
            check(read_block(caller) == b"\xa5\x5a\xc3\x3c",
                  f"size {size!r}: the caller's block is untouched")
            check("Process id not reported" in launcher.output(),
                  f"size {size!r}: a line says why the pid was not reported")
        finally:
            stop_runtimes(env)
            remove_blocks(request, caller)


def two_copies(env):
    lobby = os.path.join(SAMPLES, "lobby.qvksk")
    first = Launcher(env, [lobby])
    second = None
    try:
        first.window("^Enter code")
        second = Launcher(env, [lobby])
        # Refused before its own code dialog, then its window opens as after any refusal.
        error = second.window("^Error$")
        check(not second.windows("^Enter code"), "the second copy asks for no code")
        focused(error)
        xdotool("key", "Return")
        second.window("^Quorvane Kiosk$")
        print("ok the second copy is refused and opens its window")
        # The second window took the keyboard; the user clicks back into the first dialog.
        xdotool("windowfocus", first.window("^Enter code"))
        enter_code(first, LOBBY_ADMIN_CODE)
        check(first.ended() == 0, "the first copy hands the file over and ends")
        check([t["path"] for t in records(env)] == [lobby], "the runtime took one request")
    finally:
        first.stop()
        if second:
            second.stop()


CASES = {
    "nonsplash-exit": nonsplash_exit,
    "command-line-file": command_line_file,
    "recent-load": recent_load,
    "relay": relay,
    "relay-bad-size": relay_bad_size,
    "unusual-path": unusual_path,
    "two-copies": two_copies,
}


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
        stop_runtimes(env)
        display.terminate()
        display.wait()


if __name__ == "__main__":
    main()
