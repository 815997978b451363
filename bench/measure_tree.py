#!/usr/bin/env python3
"""Runs a command and prints "CPU_SECONDS WALL_SECONDS PEAK_TREE_KB": user + system time of
the command and all its descendants, wall time, and the peak of the summed resident memory
of its whole process tree (sampled every 50 ms; browsers run many processes, so the peak
of one process says little).

    python3 bench/measure_tree.py COMMAND [ARG ...]
"""
import os
import resource
import subprocess
import sys
import time


def tree_rss_kb(root):
    children = {}
    rss = {}
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open(f"/proc/{pid}/statm") as f:
                pages = int(f.read().split()[1])
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(pid))
        rss[int(pid)] = pages * os.sysconf("SC_PAGE_SIZE") // 1024
    total, stack = 0, [root]
    while stack:
        pid = stack.pop()
        total += rss.get(pid, 0)
        stack.extend(children.get(pid, []))
    return total


def main():
    start = time.monotonic()
    proc = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peak = 0
    while proc.poll() is None:
        peak = max(peak, tree_rss_kb(proc.pid))
        time.sleep(0.05)
    wall = time.monotonic() - start
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    peak = max(peak, usage.ru_maxrss)
    if proc.returncode != 0:
        print(f"command failed with status {proc.returncode}", file=sys.stderr)
        return 1
    print(f"{usage.ru_utime + usage.ru_stime:.2f} {wall:.2f} {peak}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
