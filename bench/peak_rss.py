#!/usr/bin/env python3
"""Runs a command and reports the peak of the summed resident memory of it and
all its descendants, sampled every 20 ms, with its wall time.

usage: bench/peak_rss.py COMMAND [ARG...]
"""
import os
import subprocess
import sys
import time


def children_of():
    tree = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            tree.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            continue
    return tree


def rss_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def main():
    start = time.monotonic()
    process = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL)
    peak = 0
    while process.poll() is None:
        tree = children_of()
        pending, total = [process.pid], 0
        while pending:
            pid = pending.pop()
            total += rss_kib(pid)
            pending.extend(tree.get(pid, []))
        peak = max(peak, total)
        time.sleep(0.02)
    elapsed = time.monotonic() - start
    print(f"peak {peak / 1024:.0f} MiB, {elapsed:.1f} s, exit {process.returncode}")
    sys.exit(process.returncode)


if __name__ == "__main__":
    main()
