#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A write that fails ends the run at once with status 74 and one line on standard error, when
standard error still works. POSIX only: the streams go to /dev/full, or are closed."""

import os
import subprocess
import sys


def run(program: str, args, stdout=subprocess.PIPE, stderr=subprocess.PIPE):
    return subprocess.run([program, *args], stdin=subprocess.DEVNULL, stdout=stdout,
                          stderr=stderr, env={"LC_ALL": "C"})


def closed_stdout(program: str):
    # Popen cannot start a child without descriptor 1, so a shell closes it before exec.
    return subprocess.run(["/bin/sh", "-c", 'exec "$0" -u abc >&-', program],
                          stdin=subprocess.DEVNULL, stderr=subprocess.PIPE, env={"LC_ALL": "C"})


def main() -> int:
    program = sys.argv[1]
    name = os.path.splitext(os.path.basename(program))[0]
    diagnostic = f"{name}: write error on standard output: %s\r\n"
    no_space = (diagnostic % "No space left on device").encode()
    with open("/dev/full", "wb") as full:
        help_run = run(program, ["-h"], stdout=full)
        banner = help_run.stderr[:help_run.stderr.find(b"\r\n\r\n") + 4]
        # (title, finished run, expected stdout or None when it is /dev/full, expected stderr
        # or None when it is /dev/full)
        cases = [
            ("results to a full disk", run(program, ["-u", "abc"], stdout=full), None, no_space),
            ("results to a closed stdout", closed_stdout(program), None,
             (diagnostic % "Bad file descriptor").encode()),
            ("help after its banner", help_run, None, banner + no_space),
            ("report to a full disk", run(program, ["-z"], stderr=full), b"", None),
        ]
    passed = failed = 0
    for title, done, want_stdout, want_stderr in cases:
        problems = []
        if done.returncode != 74:
            problems.append(f"status {done.returncode}")
        if want_stdout is not None and done.stdout != want_stdout:
            problems.append(f"stdout {done.stdout!r}")
        if want_stderr is not None and done.stderr != want_stderr:
            problems.append(f"stderr {done.stderr!r}")
        if problems:
            failed += 1
            print(f"FAIL {title}: " + "; ".join(problems))
        else:
            passed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
