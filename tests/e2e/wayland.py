#!/usr/bin/env python3
"""The built launcher under Wayland, against the stand-in runtime: a headless sway of the
case's own, keys typed with wtype, windows read from the compositor's tree (swaymsg).
Compositors refuse to run as root, so a root run plays the case as nobody, in the HOME that
the environment gives (made over to nobody). Ends with 77 only when sway cannot start at all.

usage: wayland.py <case> <qvkiosk> <samples folder>, the cases listed in CASES below
"""
import json
import os
import pwd
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

import launcher as e2e
from launcher import Failure, check, records, settings, wait_until

SKIP = 77
USER = "nobody" if os.geteuid() == 0 else None
STARTED = []


def as_user(command, env):
    """The command as the compositor's user, with exactly the given environment."""
    pairs = [f"{key}={value}" for key, value in env.items()]
    prefix = ["runuser", "-u", USER, "--"] if USER else []
    return [*prefix, "env", "-i", *pairs, *command]


def staged_for_user():
    """The compositor's user may not reach into the build tree (a checkout under /root): the
    programs, the samples and the case's home go to a folder of /tmp it can enter."""
    root = tempfile.mkdtemp(prefix="qvkiosk-wayland-", dir="/tmp")
    os.chmod(root, 0o755)
    for folder in (os.path.dirname(e2e.QVKIOSK), os.path.dirname(e2e.RUNTIME), e2e.SAMPLES):
        shutil.copytree(folder, os.path.join(root, os.path.basename(folder)), symlinks=True)
    e2e.QVKIOSK = os.path.join(root, "qvkiosk", os.path.basename(e2e.QVKIOSK))
    e2e.RUNTIME = os.path.join(root, "qvkioskcore", os.path.basename(e2e.RUNTIME))
    e2e.SAMPLES = os.path.join(root, os.path.basename(e2e.SAMPLES))
    # The sanitizer build's leak suppressions, which the user must be able to read too.
    options = os.environ.get("LSAN_OPTIONS", "")
    found = re.search(r"suppressions=([^:]+)", options)
    if found:
        shutil.copy(found.group(1), os.path.join(root, "lsan.supp"))
        os.environ["LSAN_OPTIONS"] = options.replace(found.group(1),
                                                     os.path.join(root, "lsan.supp"))
    home = os.path.join(root, "home")
    os.environ["HOME"] = home
    for key, folder in (("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                        ("XDG_CACHE_HOME", "cache"), ("XDG_RUNTIME_DIR", "runtime"),
                        ("TMPDIR", "tmp")):
        os.environ[key] = os.path.join(home, folder)
    return root


def fresh_environment():
    env = dict(os.environ, QT_QPA_PLATFORM="wayland", WLR_BACKENDS="headless",
               WLR_LIBINPUT_NO_DEVICES="1")
    env.pop("DISPLAY", None)
    shutil.rmtree(env["HOME"], ignore_errors=True)
    for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                "TMPDIR"):
        os.makedirs(env[key], mode=0o700)
    os.makedirs(env["HOME"], exist_ok=True)
    env["QVKIOSKCORE_RECORD"] = os.path.join(env["HOME"], "record.jsonl")
    return env


def hand_to_user(env):
    if USER:
        account = pwd.getpwnam(USER)
        for folder, _, files in os.walk(env["HOME"]):
            for name in [folder, *(os.path.join(folder, f) for f in files)]:
                os.chown(name, account.pw_uid, account.pw_gid)


def start_sway(env):
    config = os.path.join(env["HOME"], "sway.config")
    with open(config, "w") as f:
        f.write("xwayland disable\noutput * resolution 1280x1024\n")
    hand_to_user(env)
    log = open(os.path.join(env["HOME"], "sway.log"), "w")
    sway = subprocess.Popen(as_user(["sway", "-c", config], env), stdout=log,
                            stderr=subprocess.STDOUT)
    runtime_dir = env["XDG_RUNTIME_DIR"]
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline and sway.poll() is None:
        names = os.listdir(runtime_dir)
        socket = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
        ipc = [n for n in names if n.startswith("sway-ipc.")]
        if socket and ipc:
            env["WAYLAND_DISPLAY"] = socket[0]
            env["SWAYSOCK"] = os.path.join(runtime_dir, ipc[0])
            return sway
        time.sleep(0.05)
    sway.kill()
    sway.wait()
    with open(log.name) as f:
        print(f"SKIP sway cannot start here:\n{f.read()[-2000:]}", flush=True)
    sys.exit(SKIP)


def views(env):
    """The compositor's windows: (title, focused) of each."""
    tree = subprocess.run(as_user(["swaymsg", "-r", "-t", "get_tree"], env),
                          capture_output=True, text=True).stdout
    found, nodes = [], [json.loads(tree)] if tree else []
    while nodes:
        node = nodes.pop()
        nodes += node.get("nodes", []) + node.get("floating_nodes", [])
        if node.get("pid"):
            found.append((node.get("name") or "", node.get("focused")))
    return found


def focused(env, title_prefix):
    wait_until(lambda: any(name.startswith(title_prefix) and has_focus
                           for name, has_focus in views(env)), 20,
               f"a focused window titled {title_prefix!r}")


def wtype(env, *arguments):
    # Each wtype is a new keyboard, whose first keys the program may miss while it takes it.
    subprocess.run(as_user(["wtype", "-s", "300", "-d", "20", *arguments], env), check=True)


def start(env, arguments):
    with open(os.path.join(env["HOME"], "output.txt"), "ab") as output:
        STARTED.append(subprocess.Popen(as_user([e2e.QVKIOSK, *arguments], env),
                                        stdout=output, stderr=subprocess.STDOUT))
    return STARTED[-1]


def ended(process, seconds=15):
    try:
        return process.wait(seconds)
    except subprocess.TimeoutExpired:
        raise Failure(f"the launcher still runs after {seconds} s")


# --- the cases ------------------------------------------------------------------------------

def command_line_file(env):
    lobby = os.path.join(e2e.SAMPLES, "lobby.qvksk")
    launcher = start(env, [lobby])
    focused(env, "Enter code")
    wtype(env, e2e.CODE, "-k", "Tab", "-k", "Return")
    check(ended(launcher) == 0, "the launcher ends after the hand-over")
    taken = [(t["path"], t["code"], t["level"]) for t in records(env)]
    check(taken == [(lobby, e2e.CODE, "Power User")],
          f"the runtime took the file with the code typed into the dialog ({taken})")


def splash(env):
    # Every window as it is mapped, however briefly: the splash (its picture twice as wide as
    # high) must be up while the launcher sleeps its second, not only as the main window comes.
    events = subprocess.Popen(as_user(["swaymsg", "-r", "-m", "-t", "subscribe", '["window"]'],
                                      env), stdout=subprocess.PIPE, text=True)
    STARTED.append(events)
    mapped = []

    def read():
        for line in events.stdout:
            event = json.loads(line)
            if event["change"] == "new":
                size = event["container"]["geometry"]
                mapped.append((time.monotonic(), size["width"] == 2 * size["height"]))

    threading.Thread(target=read, daemon=True).start()
    start(env, [])
    wait_until(lambda: any(not splash for _, splash in mapped), 20, "the main window")
    check(mapped[0][1] and mapped[-1][0] - mapped[0][0] > 0.5,
          f"the splash screen was up before the main window came ({mapped})")


def nonsplash_close(env):
    settings(env).parent.mkdir(parents=True)
    settings(env).write_text("[General]\nGeometryMainWindow=@Rect(100 60 800 450)\n")
    hand_to_user(env)
    launcher = start(env, ["nonSplash"])
    focused(env, "Quorvane Kiosk")
    wait_until(lambda: not any(name.startswith("Initializing") for name, _ in views(env)),
               30, "the start-up wait")
    focused(env, "Quorvane Kiosk")
    wtype(env, "-M", "alt", "-k", "F4", "-m", "alt")
    check(ended(launcher) == 0, "Alt+F4 ends the launcher with code 0")
    saved = settings(env).read_text()
    # The compositor never tells where the window is: the stored place stays.
    check("GeometryMainWindow=@Rect(100 60 " in saved, f"the stored position is kept:\n{saved}")


CASES = {case.__name__.replace("_", "-"): case
         for case in (command_line_file, splash, nonsplash_close)}


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in CASES:
        sys.exit(__doc__)
    e2e.QVKIOSK = os.path.abspath(sys.argv[2])
    e2e.SAMPLES = os.path.abspath(sys.argv[3])
    e2e.RUNTIME = os.path.join(os.path.dirname(os.path.dirname(e2e.QVKIOSK)), "qvkioskcore",
                               "qvkioskcore")
    build_home = os.environ["HOME"]
    staged = staged_for_user() if USER else None
    sway = None
    try:
        env = fresh_environment()
        sway = start_sway(env)
        CASES[sys.argv[1]](env)
    except Failure as failure:
        subprocess.run(as_user(["grim", os.path.join(env["HOME"], "failure.png")], env),
                       capture_output=True)
        if staged:
            shutil.copytree(env["HOME"], build_home, dirs_exist_ok=True,
                            ignore=shutil.ignore_patterns("runtime"))
        sys.exit(f"FAIL {failure}")
    finally:
        for process in STARTED:
            process.kill()
            process.wait()
        if sway:
            e2e.stop_runtimes(env)
            sway.terminate()
            sway.wait()
        if staged:
            shutil.rmtree(staged, ignore_errors=True)


if __name__ == "__main__":
    main()
