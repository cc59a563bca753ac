#!/usr/bin/python3
"""Runs a command and reports the peak memory of its whole process tree.

    tree_peak.py COMMAND [ARGUMENT...]

Prints one line to standard error, "<wall s> <user s> <system s> <tree peak KiB> <largest process KiB>",
and exits with the command's status. The tree peak is sampled: every millisecond or so the resident sets
(VmRSS) of the command's process and all its descendants (the tool and the model reader it starts) are
summed, and the largest sum is kept. A sample can miss a peak shorter than the interval, so the figure is a
lower bound on the true peak; the largest single process's own peak (the kernel's VmHWM, read at every
sample) is reported beside it. User and system time cover the whole tree (every waited-for process).
"""
import os
import subprocess
import sys
import time


def read_status(pid):
    """The VmRSS and VmHWM of a process in KiB (0 for a process that is gone or has no memory yet)."""
    rss = hwm = 0
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    rss = int(line.split()[1])
                elif line.startswith("VmHWM:"):
                    hwm = int(line.split()[1])
    except OSError:
        pass
    return rss, hwm


def children(pid):
    found = []
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/children") as listing:
                found.extend(int(child) for child in listing.read().split())
    except OSError:
        pass
    return found


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    start = time.monotonic()
    process = subprocess.Popen(sys.argv[1:])
    tree_peak = single_peak = 0
    while process.poll() is None:
        total = 0
        pending = [process.pid]
        while pending:
            pid = pending.pop()
            rss, hwm = read_status(pid)
            total += rss
            single_peak = max(single_peak, hwm)
            pending.extend(children(pid))
        tree_peak = max(tree_peak, total)
        time.sleep(0.001)
    wall = time.monotonic() - start
    usage = os.times()
    print(f"{wall:.3f} {usage.children_user:.3f} {usage.children_system:.3f} {tree_peak} {single_peak}",
          file=sys.stderr)
    sys.exit(process.returncode)


if __name__ == "__main__":
    main()
