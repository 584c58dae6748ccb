#!/usr/bin/python3
"""The window's longest silence while a large tree arrives, from outside.

Run through bench/window_stall_a11y.sh, which gives it a virtual screen, a
session bus, the accessibility bus and a window manager
(scripts/a11y-session.sh). Makes FILES hard
links to one small PNG in folders of 1000, starts the program (settings in
a scratch folder) and, once its list is on the bus, hands it the tree
through a second start (as a file manager does), and from then on asks the
accessibility bus for the list's row count every 10 ms: each answer needs
the program's GUI thread. Reports the longest wait for an answer until
every row is listed, and the slowest ten.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

import pyatspi
from pyatspi import Registry

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from a11y_tree import find  # noqa: E402


def make_tree(work, files):
    w, h = 64, 48
    rows = b"".join(b"\0" + bytes((x * 4 + y) % 256 for x in range(w * 3)) for y in range(h))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
    folders = []
    for i in range(files):
        folder = os.path.join(work, "tree", f"{i // 1000:03d}")
        if i % 1000 == 0:  # a file of its own per folder: links per inode are limited
            os.makedirs(folder)
            folders.append(folder)
            first = os.path.join(folder, f"{i:06d}.png")
            with open(first, "wb") as out:
                out.write(png)
        else:
            os.link(first, os.path.join(folder, f"{i:06d}.png"))
    return folders


def application(name, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower().startswith(name):
                return app
        time.sleep(0.1)
    raise SystemExit("window_stall_a11y: error: the program never showed up on the bus")


def file_table(window, seconds=30):
    """The list of images, once it is on the bus."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        table = find(window, lambda n: n.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE))
        if table is not None:
            return table.queryTable()
        time.sleep(0.1)
    raise SystemExit("window_stall_a11y: error: no list of images on the bus")


def main():
    program, files = sys.argv[1], int(sys.argv[2])
    work = tempfile.mkdtemp(prefix="quorvane-stall-")
    try:
        folders = make_tree(work, files)
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb", CANBERRA_DRIVER="null")
        # Started empty; the tree is handed over by a second start, as a file
        # manager's "Open With" would, once the list is on the bus.
        app_process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        try:
            app = application("quorvane")
            table = file_table(app.getChildAtIndex(0))
            start = time.monotonic()
            second = subprocess.Popen([program, os.path.join(work, "tree")], env=env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            waits = []
            done_at = None
            while time.monotonic() - start < 120:
                asked = time.monotonic()
                rows = table.nRows
                answered = time.monotonic()
                waits.append((answered - asked, asked - start))
                if rows >= files:
                    done_at = answered - start
                    break
                time.sleep(0.01)
            if second.wait(30) != 0:
                raise SystemExit("window_stall_a11y: error: the second start failed")
            if done_at is None:
                raise SystemExit(f"window_stall_a11y: error: {rows} of {files} listed after 120 s")
            longest = sorted(waits, reverse=True)[:10]
            print(f"{files} files listed after {done_at:.2f} s; {len(waits)} questions")
            print(f"longest wait for an answer: {longest[0][0] * 1000:.1f} ms "
                  f"(asked at {longest[0][1]:.2f} s)")
            print("slowest ten: " + ", ".join(f"{w * 1000:.0f}" for w, _ in longest) + " ms")
        finally:
            app_process.terminate()
            app_process.wait(10)
    finally:
        shutil.rmtree(work, ignore_errors=True)


main()
