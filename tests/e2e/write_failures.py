#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A write that fails ends the run with status 74 and one line on standard error, if it works.

POSIX only: the program's standard output goes to /dev/full, or is closed.
"""

import os
import subprocess
import sys


def run(program: str, stdout, pass_fds=()) -> subprocess.CompletedProcess:
    return subprocess.run([program, "-u", "abc", "-L", "DEF"], stdin=subprocess.DEVNULL,
                          stdout=stdout, stderr=subprocess.PIPE, pass_fds=pass_fds,
                          env={"LC_ALL": "C"})


def closed_stdout(program: str) -> subprocess.CompletedProcess:
    # Popen cannot start a child without descriptor 1, so the child closes it before exec.
    return subprocess.run(["/bin/sh", "-c", 'exec "$0" -u abc >&-', program],
                          stdin=subprocess.DEVNULL, stderr=subprocess.PIPE, env={"LC_ALL": "C"})


def main() -> int:
    program = sys.argv[1]
    name = os.path.splitext(os.path.basename(program))[0]
    failed = passed = 0
    with open("/dev/full", "wb") as full:
        cases = [
            ("stdout on a full disk", run(program, full),
             f"{name}: write error on standard output: No space left on device\r\n".encode()),
            ("stdout closed", closed_stdout(program),
             f"{name}: write error on standard output: Bad file descriptor\r\n".encode()),
        ]
    for title, done, want_stderr in cases:
        if done.returncode == 74 and done.stderr == want_stderr:
            passed += 1
        else:
            failed += 1
            print(f"FAIL {title}: status {done.returncode}, stderr {done.stderr!r}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
