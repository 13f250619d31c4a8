#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times each run against its yardstick with hyperfine and prints the ratios of the medians."""

import json
import os
import resource
import subprocess
import tempfile

LETTRIX = os.environ["LETTRIX"]
WORK = os.environ["WORK"]
LAUNCH = os.path.join(WORK, "launch")
NOTHING = os.path.join(WORK, "nothing")
UPPER_EACH = os.path.join(WORK, "upper_each")


def command(args_file: str, program: str) -> str:
    return f"{LAUNCH} {os.path.join(WORK, args_file)} {program}"


def medians(*commands: str, runs: int) -> list:
    """Runs the commands alternately, as hyperfine does for a list, and returns their medians.

    A run that ends with a non-zero exit code counts too: a line of invalid words ends with 65."""
    with tempfile.NamedTemporaryFile(suffix=".json") as report:
        subprocess.run(["hyperfine", "-N", "--ignore-failure", "--warmup", "5", "--runs",
                        str(runs), "--output", "null", "--export-json", report.name, *commands],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(report.name) as data:
            return [result["median"] for result in json.load(data)["results"]]


def peak_memory(args_file: str) -> float:
    """The largest resident size of any child so far: call it before anything else runs."""
    subprocess.run(command(args_file, LETTRIX).split(), stdout=subprocess.DEVNULL, check=True)
    return resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0


def main() -> None:
    memory = peak_memory("pairs_4n")
    rows = []

    def versus(title, args_file, yardstick, target, runs=100):
        ours, theirs = medians(command(args_file, LETTRIX), command(args_file, yardstick),
                               runs=runs)
        rows.append((title, f"{ours * 1e3:.2f} ms vs {theirs * 1e3:.2f} ms", ours / theirs,
                     target))

    def growth(title, name, target):
        small, large = medians(command(f"{name}_n", LETTRIX), command(f"{name}_4n", LETTRIX),
                               runs=30)
        rows.append((title, f"{small * 1e3:.1f} ms -> {large * 1e3:.1f} ms", large / small,
                     target))

    versus("-u abc / do-nothing", "small", NOTHING, 1.2, runs=300)
    versus("96,000 -u x pairs / writes", "pairs_4n", UPPER_EACH, 1.5, runs=40)
    versus("64,000 v0.. pairs / writes", "distinct_4n", UPPER_EACH, 3.0, runs=40)
    versus("60,000 random pairs / writes", "random_4n", UPPER_EACH, 3.0, runs=40)
    versus("100,000 invalid words / writes", "invalid_4n", UPPER_EACH, 3.0, runs=40)
    # One argument's twelve live copies are the design's: these two are held to their
    # instruction counts (bench/instructions.sh), not to a ratio.
    versus("-w on 120 KiB / do-nothing", "reverse_120k", NOTHING, None)
    versus("-p on 120 KiB / do-nothing", "proper_120k", NOTHING, None)
    growth("4N / N, -u x pairs", "pairs", 4.5)
    growth("4N / N, v0.. values", "distinct", 4.5)
    growth("4N / N, random values", "random", 4.5)
    growth("4N / N, invalid words", "invalid", 4.5)
    growth("4N / N, -w one-byte words", "words", 4.5)

    print(f"{'run':36} {'times':28} {'ratio':>6} {'target':>7}")
    for title, times, ratio, target in rows:
        if target is None:
            print(f"{title:36} {times:28} {ratio:6.2f} {'-':>7}")
            continue
        verdict = "ok" if ratio <= target else "OVER"
        print(f"{title:36} {times:28} {ratio:6.2f} {target:7.1f}  {verdict}")
    verdict = "ok" if memory <= 15.5 else "OVER"
    print(f"{'peak memory, 96,000 -u x pairs':36} {memory:25.1f} MiB {'':6} {15.5:7.1f}  {verdict}")


if __name__ == "__main__":
    main()
