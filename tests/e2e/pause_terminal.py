#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The error pause on a real terminal (a pseudo-terminal as standard input).

A key ends the wait early and never reaches the next reader, keys typed before the wait do not
end it, and the terminal comes back exactly as it was: after a key, after the 30 steps, and
when SIGINT, SIGTERM or SIGHUP arrives during the wait. POSIX only.

  pause_terminal.py [--emulator COMMAND] PROGRAM
COMMAND (a CMake list, e.g. qemu-aarch64) runs a cross-built PROGRAM. Below, `program` is the
whole command: the emulator's words, if any, then the program.
"""

import argparse
import fcntl
import os
import pty
import select
import signal
import struct
import subprocess
import sys
import termios
import time

PROMPT = b"Press Any Key to Continue..."


class Terminal:
    def __init__(self):
        self.master, self.slave = pty.openpty()
        self.settings = termios.tcgetattr(self.slave)

    def close(self):
        os.close(self.master)
        os.close(self.slave)

    def pending_input(self) -> int:
        return struct.unpack("i", fcntl.ioctl(self.slave, termios.FIONREAD, b"\0" * 4))[0]

    def echoed(self) -> bytes:
        data = b""
        while select.select([self.master], [], [], 0)[0]:
            data += os.read(self.master, 1024)
        return data


def start(program: list, terminal: Terminal, mode: str = "--error-delay") -> subprocess.Popen:
    return subprocess.Popen([*program, "-z", mode], stdin=terminal.slave,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            env={"LC_ALL": "C"})


def read_until_prompt(process: subprocess.Popen, timeout: float = 5.0) -> bytes:
    seen = b""
    deadline = time.monotonic() + timeout
    while PROMPT not in seen and time.monotonic() < deadline:
        if select.select([process.stderr], [], [], 0.05)[0]:
            seen += os.read(process.stderr.fileno(), 4096)
    if PROMPT not in seen:
        raise AssertionError(f"no prompt: {seen!r}")
    return seen


def dots_of(stderr: bytes) -> int:
    line = stderr[stderr.index(PROMPT) + len(PROMPT):]
    return len(line) - len(line.lstrip(b"."))


def finish(process: subprocess.Popen, seen: bytes, timeout: float) -> bytes:
    rest = process.communicate(timeout=timeout)[1]
    return seen + rest


def check(condition: bool, what: str):
    if not condition:
        raise AssertionError(what)


def next_reader_gets_only_new_input(terminal: Terminal):
    # A shell that reads the terminal after the run sees the line typed after it, and no key
    # that the pause consumed or discarded.
    os.write(terminal.master, b"next\n")
    shell = subprocess.run(["/bin/sh", "-c", 'read -r line && printf %s "$line"'],
                           stdin=terminal.slave, stdout=subprocess.PIPE, timeout=5)
    check(shell.stdout == b"next", f"the shell read {shell.stdout!r}")


def key_ends_the_wait(program: list, terminal: Terminal, mode: str = "--error-delay"):
    process = start(program, terminal, mode)
    seen = read_until_prompt(process)
    os.write(terminal.master, b"k")
    stderr = finish(process, seen, timeout=2.0)
    check(process.returncode == 65, f"status {process.returncode}")
    check(dots_of(stderr) < 8, f"{dots_of(stderr)} dots after an early key")
    check(stderr.endswith(b"Lettrix --??\r\n"), "the brief help follows the pause")
    check(terminal.pending_input() == 0, "the key is left for the next reader")
    check(b"k" not in terminal.echoed(), "the key was echoed")
    next_reader_gets_only_new_input(terminal)


def keys_typed_before_do_not_count(program: list, terminal: Terminal):
    os.write(terminal.master, b"early")
    process = start(program, terminal)
    seen = read_until_prompt(process)
    time.sleep(0.8)
    check(process.poll() is None, "keys typed before the wait ended it")
    os.write(terminal.master, b"q")
    finish(process, seen, timeout=2.0)
    check(process.returncode == 65, f"status {process.returncode}")
    check(terminal.pending_input() == 0, "typed keys are left for the next reader")
    next_reader_gets_only_new_input(terminal)


def steps_run_out(program: list, terminal: Terminal):
    process = start(program, terminal)
    stderr = finish(process, read_until_prompt(process), timeout=15.0)
    check(dots_of(stderr) == 30, f"{dots_of(stderr)} dots")


def signal_during_wait(signal_number: int):
    def test(program: list, terminal: Terminal):
        process = start(program, terminal)
        seen = read_until_prompt(process)
        time.sleep(0.3)
        process.send_signal(signal_number)
        finish(process, seen, timeout=2.0)
        check(process.returncode == -signal_number,
              f"status {process.returncode}, not killed by the signal")
    return test


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--emulator", default="", help="command that runs the program")
    parser.add_argument("program")
    options = parser.parse_args()
    program = [part for part in options.emulator.split(";") if part] + [options.program]
    tests = [
        ("a key ends the wait", key_ends_the_wait),
        ("a key ends the wait of --debug-mode",
         lambda program, terminal: key_ends_the_wait(program, terminal, "--debug-mode")),
        ("keys typed before the wait", keys_typed_before_do_not_count),
        ("the 30 steps run out", steps_run_out),
        ("SIGINT during the wait", signal_during_wait(signal.SIGINT)),
        ("SIGTERM during the wait", signal_during_wait(signal.SIGTERM)),
        ("SIGHUP during the wait", signal_during_wait(signal.SIGHUP)),
    ]
    passed = failed = 0
    for title, test in tests:
        terminal = Terminal()
        try:
            test(program, terminal)
            after = termios.tcgetattr(terminal.slave)
            check(after == terminal.settings, "the terminal settings were not restored")
            passed += 1
        except (AssertionError, subprocess.TimeoutExpired) as problem:
            failed += 1
            print(f"FAIL {title}: {problem}")
        finally:
            terminal.close()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
