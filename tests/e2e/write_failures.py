#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A write that fails ends the run at once with status 74 and one line on standard error, when
standard error still works. POSIX only: the streams go to /dev/full, or are closed.

  write_failures.py [--emulator COMMAND] PROGRAM
COMMAND (a CMake list, e.g. qemu-aarch64) runs a cross-built PROGRAM."""

import argparse
import os
import subprocess
import sys
import time


def run(command: list, args, stdout=subprocess.PIPE, stderr=subprocess.PIPE):
    return subprocess.run([*command, *args], stdin=subprocess.DEVNULL, stdout=stdout,
                          stderr=stderr, env={"LC_ALL": "C"})


def closed(command: list, args: str, redirection: str):
    # Popen cannot start a child without descriptor 1 or 2, so a shell closes it before exec.
    return subprocess.run(["/bin/sh", "-c", f'exec "$@" {args} {redirection}', "sh", *command],
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env={"LC_ALL": "C"})


def slow_nonblocking_reader(command: list):
    """Standard output is a non-blocking pipe whose reader waits before it reads: the program
    must wait for room, not fail, and every byte must arrive."""
    value = "x" * 100000  # two results overflow the pipe's buffer
    reader, writer = os.pipe()
    os.set_blocking(writer, False)
    process = subprocess.Popen([*command, "-u", value, "-u", value], stdin=subprocess.DEVNULL,
                               stdout=writer, stderr=subprocess.PIPE, env={"LC_ALL": "C"})
    os.close(writer)
    time.sleep(0.3)
    received = b""
    while chunk := os.read(reader, 65536):
        received += chunk
    os.close(reader)
    stderr = process.communicate()[1]
    return process.returncode, received == (value.upper().encode() + b"\r\n") * 2, stderr


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--emulator", default="", help="command that runs the program")
    parser.add_argument("program")
    options = parser.parse_args()
    command = [part for part in options.emulator.split(";") if part] + [options.program]
    name = os.path.splitext(os.path.basename(options.program))[0]
    diagnostic = f"{name}: write error on standard output: %s\r\n"
    no_space = (diagnostic % "No space left on device").encode()
    with open("/dev/full", "wb") as full:
        help_run = run(command, ["-h"], stdout=full)
        banner = help_run.stderr[:help_run.stderr.find(b"\r\n\r\n") + 4]
        # (title, finished run, expected stdout or None when it is /dev/full, expected stderr
        # or None when it is /dev/full)
        cases = [
            ("results to a full disk", run(command, ["-u", "abc"], stdout=full), None, no_space),
            ("results to a closed stdout", closed(command, "-u abc", ">&-"), None,
             (diagnostic % "Bad file descriptor").encode()),
            ("help after its banner", help_run, None, banner + no_space),
            ("report to a full disk", run(command, ["-z"], stderr=full), b"", None),
            ("report to a closed stderr", closed(command, "-z", "2>&-"), b"", None),
            # The banner fails first: no result may follow it.
            ("banner to a full disk", run(command, ["-b", "-u", "abc"], stderr=full), b"", None),
        ]
        # A report that cannot be written ends the run before its pause.
        started = time.monotonic()
        paused = run(command, ["-z", "--error-delay"], stderr=full)
        paused_seconds = time.monotonic() - started
        cases.append(("report with a pause to a full disk", paused, b"", None))
    passed = failed = 0
    status, complete, stderr = slow_nonblocking_reader(command)
    if status == 0 and complete and stderr == b"":
        passed += 1
    else:
        failed += 1
        print(f"FAIL a slow non-blocking reader: status {status}, all output {complete}, "
              f"stderr {stderr!r}")
    if paused_seconds > 3:
        failed += 1
        print(f"FAIL the run paused {paused_seconds:.1f} s after its report failed")
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
