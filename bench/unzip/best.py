#!/usr/bin/env python3
"""Times a command as a whole process: one warm-up run, then ROUNDS runs,
each after the shell command PREPARE; prints the best wall time, the best
processor time (user + system, of the process and the children it waited
for) in seconds, and the peak resident memory in MB, or "failed" when a run
exits with a status other than 0. The warm-up runs under GNU time for the
peak: a child of this interpreter would count the interpreter's own pages.

usage: best.py ROUNDS PREPARE COMMAND   (COMMAND split as a shell splits words)
"""
import os
import shlex
import subprocess
import sys
import tempfile
import time

rounds, prepare, command = int(sys.argv[1]), sys.argv[2], shlex.split(sys.argv[3])
wall = cpu = float("inf")
with tempfile.NamedTemporaryFile("r") as peak:
    for run in range(rounds + 1):
        subprocess.run(prepare, shell=True, check=True)
        start = time.perf_counter()
        timed = command if run > 0 else ["/usr/bin/time", "-f", "%M", "-o", peak.name] + command
        child = subprocess.Popen(timed, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        took = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            print("failed")
            sys.exit(0)
        if run > 0:
            wall = min(wall, took)
            cpu = min(cpu, usage.ru_utime + usage.ru_stime)
    print("%.3f %.3f %.0f" % (wall, cpu, int(peak.read().split()[-1]) / 1024))
