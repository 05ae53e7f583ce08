"""Wall time and peak memory of whole processes, for the benchmark scripts.

The peak comes from GNU time (Debian package "time"), which forks the
command from its own small process: a child forked straight from Python
would start its high-water mark at Python's own size.
"""

import statistics
import subprocess
import sys
import time

GNU_TIME = "/usr/bin/time"


def run_once(command, refuse_warnings=False):
    """Wall seconds and peak RSS (KiB) of one run; a failed run (or, when
    asked, one that prints a warning) ends the script."""
    start = time.perf_counter()
    result = subprocess.run([GNU_TIME, "-f", "%M"] + command, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    elapsed = time.perf_counter() - start
    if result.returncode != 0 or (refuse_warnings and "warning" in result.stderr):
        sys.exit(f"failed: {' '.join(command)}: {result.stderr.strip()}")
    return elapsed, int(result.stderr.strip().splitlines()[-1])


def measure(command, runs, refuse_warnings=False):
    """Median wall seconds and the largest peak RSS (KiB) over the runs."""
    results = [run_once(command, refuse_warnings) for _ in range(runs)]
    return statistics.median(r[0] for r in results), max(r[1] for r in results)
