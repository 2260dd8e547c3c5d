#!/usr/bin/env python3
"""Builds the Debian package from a build tree, has lintian check it, unpacks it with dpkg -x
and runs what it holds.

usage: tst_debpackage.py <cpack> <CPackConfig.cmake>
"""
import configparser
import gzip
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

MIME_TYPE = "application/x-qvksk"


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=120, **kwargs)


def check(condition, what, detail=""):
    if not condition:
        sys.exit(f"FAIL {what}\n{detail}")
    print(f"ok {what}", flush=True)


def main(cpack, config, scratch):
    built = run(cpack, "-G", "DEB", "--config", config, "-B", os.path.join(scratch, "out"))
    debs = list(Path(scratch, "out").glob("*.deb"))
    check(built.returncode == 0 and len(debs) == 1, "cpack made one package",
          built.stdout + built.stderr)
    deb, root = str(debs[0]), os.path.join(scratch, "root")
    subprocess.run(["dpkg", "-x", deb, root], check=True)
    share = os.path.join(root, "usr/share")

    depends = run("dpkg-deb", "-f", deb, "Depends").stdout
    # By hand: loaded as plug-ins. Found by shlibdeps: linked by the programs.
    check({"libqt6svg6", "qt6-qpa-plugins", "libqt6widgets6", "libsodium23"}
          <= {part.split()[0] for part in re.split("[,|]", depends) if part.strip()},
          "Depends names the plug-ins' and the linked libraries' packages", depends)
    # The package's own overrides (usr/share/lintian/overrides) each say why.
    lintian = run("lintian", "--display-info", "--fail-on", "none", deb)
    faults = [line for line in lintian.stdout.splitlines()
              if line.startswith(("E:", "W:")) or " hardening-" in line]
    check(lintian.returncode == 0 and not faults, "lintian finds no error, warning or missing "
          "hardening", lintian.stderr + "\n".join(faults))
    version = run("dpkg-deb", "-f", deb, "Version").stdout.strip()
    with gzip.open(os.path.join(share, "doc/qvkiosk/changelog.Debian.gz"), "rt") as f:
        check(f.readline().startswith(f"qvkiosk ({version}) "),
              "the changelog starts at this version")

    # The real file, as the kernel runs it through the link; ldd would take $ORIGIN from the
    # link's folder instead.
    launcher = os.path.realpath(os.path.join(root, "usr/bin/qvkiosk"))
    listed = run("ldd", launcher).stdout
    check(launcher == os.path.join(root, "usr/lib/qvkiosk/qvkiosk/qvkiosk") and re.search(
        r"libqvcore\S* => " + re.escape(os.path.dirname(launcher) + "/libqvcore.so"), listed),
        "the launcher loads the core library beside it", listed)
    check(run(os.path.join(root, "usr/bin/qvksk"), "--version").returncode == 0, "qvksk runs")
    # Started through the link in usr/bin, relay mode starts the packaged runtime.
    request, pid_block = (Path(f"/dev/shm/qvkioskPackageTest_{os.getpid()}_{kind}")
                          for kind in ("request", "pid"))
    request.write_bytes(bytes(260))
    pid_block.write_bytes(bytes(4))
    runtime = 0
    try:
        # The runtime inherits standard output: a pipe would stay open after the launcher ends.
        with open(os.path.join(scratch, "relay.txt"), "w+") as said:
            ended = subprocess.run([os.path.join(root, "usr/bin/qvkiosk"), request.name, "260",
                                    pid_block.name, "4"], stdout=said, stderr=subprocess.STDOUT,
                                   env=dict(os.environ, QVKIOSKCORE_NO_WINDOW="1"), timeout=30)
            said.seek(0)
            runtime = struct.unpack("<I", pid_block.read_bytes())[0]
            check(ended.returncode == 0 and runtime and os.path.realpath(f"/proc/{runtime}/exe")
                  == os.path.join(root, "usr/lib/qvkiosk/qvkioskcore/qvkioskcore"),
                  "relay mode started the packaged runtime", said.read())
    finally:
        if runtime:
            os.kill(runtime, signal.SIGKILL)
        request.unlink()
        pid_block.unlink()

    for entry in ("applications/qvkiosk.desktop", "wayland-sessions/qvkiosk.desktop"):
        validated = run("desktop-file-validate", os.path.join(share, entry))
        check((validated.returncode, validated.stdout) == (0, ""), f"{entry} is valid",
              validated.stdout)
    check(os.access(os.path.join(root, "usr/lib/qvkiosk/qvkiosk-session"), os.X_OK),
          "the session's program is there")
    desktop = configparser.ConfigParser(interpolation=None)
    desktop.read(os.path.join(share, "applications/qvkiosk.desktop"))
    program, *arguments = desktop["Desktop Entry"]["Exec"].split()
    icon = desktop["Desktop Entry"]["Icon"]
    check(os.path.exists(os.path.join(root, "usr/bin", program)) and arguments == ["%f"]
          and os.path.isfile(f"{share}/icons/hicolor/scalable/apps/{icon}.svg"),
          "the desktop entry's program and icon are in the package")
    # The caches a desktop builds from the package: file name to type, type to program.
    for kind, folder in ("mime", "mime"), ("desktop", "applications"):
        run(f"update-{kind}-database", f"{share}/{folder}", check=True)
    icons = dict(line.strip().split(":", 1)
                 for line in Path(share, "mime/icons").read_text().splitlines() if ":" in line)
    icon = f"{share}/icons/hicolor/scalable/mimetypes/{icons.get(MIME_TYPE)}.svg"
    check(f"{MIME_TYPE}:*.qvksk" in Path(share, "mime/globs2").read_text() and os.path.isfile(icon)
          and f"{MIME_TYPE}=qvkiosk.desktop;"
          in Path(share, "applications/mimeinfo.cache").read_text().splitlines(),
          "a *.qvksk file has its type, the type its icon and the launcher")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as folder:
        main(sys.argv[1], sys.argv[2], os.path.realpath(folder))
