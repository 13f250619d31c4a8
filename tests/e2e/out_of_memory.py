#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Running out of memory ends the run with status 71 and exactly one line on standard error,
"<program>: out of memory", at whatever point of the run memory ran out; the results written
before stay written. POSIX only: each run gets an address-space limit (RLIMIT_AS), stepped up
from below what the program needs to start until the run completes, so that memory runs out
everywhere from start-up to the last result.

Below some limit the system cannot even start the program: the kernel refuses the executable
or kills it silently, the loader of a dynamically linked program gives up (status 127), or the
C library fails before main ("Fatal glibc error"). Such runs are passed over until the first run
that got further; from there on, every run must be one of: status 71 with the line and a whole
number of leading results, or status 0 with every result.

With --skip (the sanitizer build, whose shadow memory no small limit can hold, and a build run
under an emulator, whose own reservations the limit would meet first) the check is skipped with
status 77."""

import errno
import os
import random
import resource
import subprocess
import sys

SKIPPED_EXIT = 77
KIB = 1024
MIB = 1024 * KIB
# One argument may hold 32 pages, its terminating NUL included.
LONGEST_ARGUMENT = 128 * 1024 - 1


def run_limited(program: str, args: list, limit: int):
    """The finished run under `limit` bytes of address space, or None when the system could not
    start it."""
    def restrict():
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

    try:
        return subprocess.run([program, *args], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, env={"LC_ALL": "C"}, preexec_fn=restrict,
                              timeout=60)
    except OSError as error:  # the exec itself found no memory
        if error.errno in (errno.ENOMEM, errno.E2BIG):
            return None
        raise


def not_started(done) -> bool:
    # The loader of a dynamically linked program ends with 127 whatever stopped it: a library it
    # could not map, the first thread's thread-local storage, or its own "out of memory". Its
    # messages vary; the program itself never ends with 127, and a run that wrote results started.
    return done is None or (done.returncode < 0 and done.stdout == b"" and done.stderr == b"") \
        or done.stderr.startswith(b"Fatal glibc error") \
        or (done.returncode == 127 and done.stdout == b"")


def sweep(title: str, program: str, args: list, results: list, step: int, line: bytes):
    """Runs `args` under limits from 1 MiB up, `step` apart, until one run completes. Returns
    the problems found and how often memory ran out after some `results` (the outputs of the
    run, in order) were written."""
    complete = b"".join(results)
    problems = []
    started = completed = False
    early = late = 0
    limit = MIB
    while not completed and limit <= 1024 * MIB:
        done = run_limited(program, args, limit)
        kib = limit // KIB
        limit += step
        if not started and not_started(done):
            continue
        started = True
        if not_started(done):
            problems.append(f"{kib} KiB: the program could not start, but could with less")
        elif done.returncode == 0:
            completed = True
            if done.stdout != complete or done.stderr != b"":
                problems.append(f"{kib} KiB: status 0 with {len(done.stdout)} of "
                                f"{len(complete)} bytes, stderr {done.stderr[:200]!r}")
        elif done.returncode != 71 or done.stderr != line:
            problems.append(f"{kib} KiB: status {done.returncode}, stderr {done.stderr[:200]!r}")
        else:
            # A result leaves in one write: only whole leading results may have been written.
            written = 0
            for result in results:
                if not done.stdout.startswith(result, written):
                    break
                written += len(result)
            if written != len(done.stdout):
                problems.append(f"{kib} KiB: status 71 after {len(done.stdout)} bytes that are "
                                f"not whole leading results")
            elif written == 0:
                early += 1
            else:
                late += 1
    print(f"{title}: out of memory {early} times before any result and {late} times after some, "
          f"complete at {(limit - step) // KIB} KiB")
    if not completed:
        problems.append(f"{title}: no run completed under 1 GiB")
    if early == 0:
        problems.append(f"{title}: memory never ran out before the first result")
    return problems, late


def main() -> int:
    if "--skip" in sys.argv[1:]:
        print("skipped: an address-space limit cannot hold this build")
        return SKIPPED_EXIT
    program = sys.argv[1]
    name = os.path.splitext(os.path.basename(program))[0]
    line = f"{name}: out of memory\r\n".encode()
    failed = []

    # A long command line: memory runs out while the arguments are read and judged.
    pairs = 96000
    problems, _ = sweep(f"{pairs} pairs of -u x", program, ["-u", "x"] * pairs,
                        [b"X\r\n"] * pairs, MIB, line)
    failed += problems

    # Short results, then one that needs several copies of the longest argument (-r mirrors
    # it): memory runs out before any result and, at higher limits, after the short ones.
    rng = random.Random(71)
    text = bytes(rng.choice(b"abcdefghij ") for _ in range(LONGEST_ARGUMENT))
    short = 2000
    args = [b"-u", b"x"] * short + [b"-u", text, b"-r"]
    problems, late = sweep(f"{short} short results and a long one", program, args,
                           [b"X\r\n"] * short + [text.upper()[::-1] + b"\r\n"], 32 * KIB, line)
    failed += problems
    if late == 0:
        failed.append("memory never ran out after some results were written")

    for problem in failed[:20]:
        print(f"FAIL {problem}")
    if len(failed) > 20:
        print(f"... and {len(failed) - 20} more")
    print("passed" if not failed else f"{len(failed)} problems")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
