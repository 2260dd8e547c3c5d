#!/usr/bin/env python3
"""Builds the Debian package from a build tree, has lintian check it, unpacks it with dpkg -x
and runs what it holds.

Usage: tst_debpackage.py <cpack> <CPackConfig.cmake>
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
import time
import unittest

CPACK = None
CPACK_CONFIG = None
MIME_TYPE = "application/x-qvksk"


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=120, **kwargs)


class DebPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        out = os.path.join(cls.scratch.name, "out")
        built = run([CPACK, "-G", "DEB", "--config", CPACK_CONFIG, "-B", out])
        if built.returncode != 0:
            raise RuntimeError("cpack failed:\n" + built.stdout + built.stderr)
        debs = [name for name in os.listdir(out) if name.endswith(".deb")]
        if len(debs) != 1:
            raise RuntimeError("expected one package, found %s" % debs)
        cls.deb = os.path.join(out, debs[0])
        cls.root = os.path.realpath(os.path.join(cls.scratch.name, "root"))
        subprocess.run(["dpkg", "-x", cls.deb, cls.root], check=True)
        cls.share = os.path.join(cls.root, "usr/share")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def path(self, relative):
        return os.path.join(self.root, relative)

    def test_depends_lists_the_plugin_packages_and_the_found_libraries(self):
        depends = run(["dpkg-deb", "-f", self.deb, "Depends"]).stdout
        names = {part.split()[0] for part in depends.replace("|", ",").split(",") if part.strip()}
        # By hand: loaded as plug-ins. Found by shlibdeps: linked by the programs.
        for name in ("libqt6svg6", "qt6-qpa-plugins", "libqt6widgets6", "libsodium23"):
            self.assertIn(name, names, depends)

    def test_lintian_finds_no_error_warning_or_missing_hardening(self):
        # The package's own overrides (usr/share/lintian/overrides) each say why.
        checked = run(["lintian", "--display-info", "--fail-on", "none", self.deb])
        self.assertEqual(checked.returncode, 0, checked.stderr)
        faults = [line for line in checked.stdout.splitlines()
                  if line.startswith(("E:", "W:")) or " hardening-" in line]
        self.assertEqual(faults, [], "\n" + "\n".join(faults))

    def test_changelog_has_an_entry_for_this_version(self):
        version = run(["dpkg-deb", "-f", self.deb, "Version"]).stdout.strip()
        with gzip.open(self.path("usr/share/doc/qvkiosk/changelog.Debian.gz"), "rt") as f:
            self.assertRegex(f.readline(), r"^qvkiosk \(%s\) " % re.escape(version))

    def test_launcher_loads_the_core_library_beside_it(self):
        # The real file, as the kernel runs it through the link in usr/bin; ldd would take
        # $ORIGIN from the link's folder instead.
        launcher = os.path.realpath(self.path("usr/bin/qvkiosk"))
        self.assertEqual(launcher, self.path("usr/lib/qvkiosk/qvkiosk/qvkiosk"))
        listed = run(["ldd", launcher]).stdout
        line = next((l for l in listed.splitlines() if "libqvcore" in l), "")
        self.assertIn("=> " + self.path("usr/lib/qvkiosk/qvkiosk/libqvcore.so"), line, listed)

    def test_relay_mode_reports_the_unpacked_runtime(self):
        tag = "qvkioskPackageTest_%d" % os.getpid()
        request_block = "/dev/shm/%s_request" % tag
        pid_block = "/dev/shm/%s_pid" % tag
        for block, size in ((request_block, 260), (pid_block, 4)):
            with open(os.open(block, os.O_CREAT | os.O_EXCL | os.O_RDWR, 0o600), "wb") as f:
                f.write(bytes(size))
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QVKIOSKCORE_NO_WINDOW="1")
        runtime_pid = 0
        try:
            # The runtime inherits standard output, so a pipe would stay open after we end.
            with tempfile.TemporaryFile() as output:
                launcher = subprocess.run(
                    [self.path("usr/bin/qvkiosk"), os.path.basename(request_block), "260",
                     os.path.basename(pid_block), "4"],
                    env=env, stdout=output, stderr=subprocess.STDOUT, timeout=30)
                output.seek(0)
                printed = output.read().decode(errors="replace")
            self.assertEqual(launcher.returncode, 0, printed)
            with open(pid_block, "rb") as f:
                runtime_pid = struct.unpack("<I", f.read(4))[0]
            self.assertNotEqual(runtime_pid, 0, printed)
            self.assertEqual(os.path.realpath("/proc/%d/exe" % runtime_pid),
                             self.path("usr/lib/qvkiosk/qvkioskcore/qvkioskcore"))
            # The runtime serves the block it was given: it sets ready (byte 252).
            deadline = time.monotonic() + 30
            ready = 0
            while ready == 0 and time.monotonic() < deadline:
                with open(request_block, "rb") as f:
                    ready = struct.unpack_from("<I", f.read(), 252)[0]
                time.sleep(0.05)
            self.assertNotEqual(ready, 0)
        finally:
            if runtime_pid:
                try:
                    os.kill(runtime_pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            for block in (request_block, pid_block):
                os.unlink(block)

    def test_qvksk_makes_and_checks_a_controller_file(self):
        qvksk = self.path("usr/bin/qvksk")
        controller = os.path.join(self.scratch.name, "desk.qvksk")
        made = run([qvksk, "create", controller, "--title", "Desk", "--version", "3",
                    "--admin-code", "2468"])
        self.assertEqual(made.returncode, 0, made.stderr)
        info = run([qvksk, "info", controller])
        self.assertIn("title: Desk", info.stdout, info.stderr)
        for code, status in (("2468", 0), ("1357", 1)):
            checked = run([qvksk, "check", controller, "--level", "admin", "--code", code])
            self.assertEqual(checked.returncode, status, code)

    def test_controller_files_open_with_the_launcher(self):
        applications = os.path.join(self.share, "applications")
        desktop = os.path.join(applications, "qvkiosk.desktop")
        validated = run(["desktop-file-validate", desktop])
        self.assertEqual((validated.returncode, validated.stdout), (0, ""), validated.stdout)
        session = run(["desktop-file-validate", self.share + "/wayland-sessions/qvkiosk.desktop"])
        self.assertEqual((session.returncode, session.stdout, os.access(self.path(
            "usr/lib/qvkiosk/qvkiosk-session"), os.X_OK)), (0, "", True), session.stdout)

        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(desktop)
        section = entry["Desktop Entry"]
        program, *arguments = section["Exec"].split()
        self.assertTrue(os.path.exists(self.path("usr/bin/" + program)), program)
        self.assertEqual(arguments, ["%f"])
        self.assertTrue(os.path.isfile(os.path.join(
            self.share, "icons/hicolor/scalable/apps", section["Icon"] + ".svg")))

        # The caches a desktop builds from the package: file name to type, type to program.
        subprocess.run(["update-mime-database", os.path.join(self.share, "mime")],
                       check=True, capture_output=True)
        with open(os.path.join(self.share, "mime/globs2")) as f:
            self.assertIn(MIME_TYPE + ":*.qvksk", f.read())
        with open(os.path.join(self.share, "mime/icons")) as f:
            icons = dict(line.strip().split(":", 1) for line in f if ":" in line)
        self.assertTrue(os.path.isfile(os.path.join(
            self.share, "icons/hicolor/scalable/mimetypes", icons[MIME_TYPE] + ".svg")))
        subprocess.run(["update-desktop-database", applications], check=True, capture_output=True)
        with open(os.path.join(applications, "mimeinfo.cache")) as f:
            self.assertIn(MIME_TYPE + "=qvkiosk.desktop;", f.read().splitlines())


if __name__ == "__main__":
    CPACK, CPACK_CONFIG = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
