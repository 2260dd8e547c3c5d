#!/usr/bin/env python3
"""The kiosk session's loop with a stand-in launcher that ends with STATUSES in turn ("0+runtime"
also leaves a runtime running a moment) and logs whether a runtime still ran at each start.

usage: tst_session.py <qvkiosk-session>
"""
import os
import random
import subprocess
import sys
import tempfile

LAUNCHER = """#!/bin/sh
n=0
[ -f "$DIR/count" ] && read -r n < "$DIR/count"
n=$((n + 1))
echo $n > "$DIR/count"
pgrep -u "$UID_OF_TEST" -x "$QVKIOSK_SESSION_RUNTIME" >/dev/null && seen=yes || seen=no
echo "$n $seen" >> "$DIR/log"
set -- $STATUSES
shift $((n - 1))
case ${1:-9} in *+runtime) "$DIR/$QVKIOSK_SESSION_RUNTIME" 0.3 & exit 0 ;; esac
exit "${1:-9}"
"""
with tempfile.TemporaryDirectory() as folder:
    runtime = f"qvkst{random.randrange(10**6)}"
    os.symlink("/bin/sleep", os.path.join(folder, runtime))
    with open(os.path.join(folder, "launcher"), "w") as f:
        f.write(LAUNCHER)
    os.chmod(f.name, 0o755)
    # Two quick failures, a hand-over whose runtime the loop waits for (which also resets the
    # count), then failures up to the limit: the session gives up after the sixth.
    env = dict(os.environ, DIR=folder, UID_OF_TEST=str(os.getuid()),
               STATUSES="3 4 0+runtime 5 3 3", QVKIOSK_SESSION_LAUNCHER=f.name,
               QVKIOSK_SESSION_RUNTIME=runtime, QVKIOSK_SESSION_QUICK="60",
               QVKIOSK_SESSION_PAUSE="0", QVKIOSK_SESSION_LIMIT="3")
    ended = subprocess.run([os.path.abspath(sys.argv[1]), "--loop"], capture_output=True,
                           text=True, timeout=60, env=env)
    with open(os.path.join(folder, "log")) as log:
        starts = log.read().splitlines()
expected = [f"{n} no" for n in range(1, 7)]
if (ended.returncode, starts) != (1, expected) or "giving up" not in ended.stderr:
    sys.exit(f"FAIL status {ended.returncode}, starts {starts} (expected {expected}):\n"
             f"{ended.stderr}")
print("ok the loop waits for the runtime, resets after a hand-over and gives up at the limit")
