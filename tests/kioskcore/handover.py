#!/usr/bin/env python3
"""Plays the front-end by hand: makes the request block, starts qvkioskcore in standby,
waits for ready, hands it a controller file and waits for accepted (Linux, /dev/shm).

usage: handover.py <qvkioskcore> <controller file> [level 0|1|2] [code]
"""
import os
import struct
import subprocess
import sys
import time


def make_block(name, data):
    fd = os.open("/dev/shm/" + name, os.O_RDWR | os.O_CREAT | os.O_EXCL, 0o600)
    os.write(fd, data)
    os.close(fd)


def field(text, size):
    raw = text.encode("utf-16-le") + b"\0\0"
    if len(raw) > size:
        sys.exit(f"{text!r} does not fit {size} bytes")
    return raw.ljust(size, b"\0")


def word(name, offset):
    with open("/dev/shm/" + name, "rb") as block:
        block.seek(offset)
        return struct.unpack("<I", block.read(4))[0]


def wait_for(name, offset, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if word(name, offset):
            return True
        time.sleep(0.05)
    return False


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    runtime, controller = sys.argv[1], os.path.abspath(sys.argv[2])
    level = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    code = sys.argv[4] if len(sys.argv) > 4 else "1234"
    stamp = time.strftime("%Y%m%d%H%M%S")
    request_name = f"quorvaneKiosk_{stamp}_{os.getpid()}"
    path_name = request_name + "_2"
    make_block(request_name, bytes(260))
    try:
        process = subprocess.Popen([runtime, request_name, "260", "--standby"],
                                   start_new_session=True)
        if not wait_for(request_name, 252, 30):
            sys.exit("the runtime never set ready")
        print(f"ready: pid {process.pid}")
        path = controller.encode("utf-16-le")
        make_block(path_name, path)
        request = (field(code, 16) + field("Power User" if level == 2 else "Administrator", 32)
                   + field(path_name, 200) + struct.pack("<III", 2 * len(path), 0, 0))
        with open("/dev/shm/" + request_name, "r+b") as block:
            block.write(request)
        if not wait_for(request_name, 256, 5):
            sys.exit("the runtime did not accept the request")
        print("accepted")
    finally:
        for name in (request_name, path_name):
            if os.path.exists("/dev/shm/" + name):
                os.unlink("/dev/shm/" + name)


if __name__ == "__main__":
    main()
