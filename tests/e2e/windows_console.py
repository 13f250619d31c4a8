#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows build with a console as standard input, under Wine.

Wine makes a console of a pseudo-terminal given as standard input, and turns what is typed
there into console key events: a key ends the error pause early through the reader of console
input, and without one the wait runs its 30 steps with the reader running. The console writes
in code page 437 while the arguments are in code page 1252, so what the program writes is
converted, even into a pipe, and ASCII stays as it is. With standard error on the terminal too,
the report on the console shows the controls that code page 1252 decodes to visibly.

Usage: windows_console.py EMULATOR PROGRAM (the emulator as a CMake list, such as the wrapper and
its folder). Keys typed before the wait cannot be tried here: Wine's console takes in what the
terminal holds only while the console is being read, so no flush can reach it earlier.
"""

import os
import pty
import select
import subprocess
import sys
import tempfile
import time

PROMPT = b"Press Any Key to Continue..."
STARTED = []


def environment() -> dict:
    # Wine takes C.UTF-8 for US English: ANSI code page 1252, console code page 437.
    env = {k: v for k, v in os.environ.items() if not (k.startswith("LC_") or k == "LANG")}
    env["LC_ALL"] = "C.UTF-8"
    return env


def start(command: list, terminal: int, arguments: list = ("-z", "--error-delay")):
    STARTED.append(subprocess.Popen(command + list(arguments), stdin=terminal,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    env=environment()))
    return STARTED[-1]


def drain(pipe) -> bytes:
    data = b""
    while select.select([pipe], [], [], 0)[0]:
        chunk = os.read(pipe.fileno(), 65536)
        if not chunk:
            break
        data += chunk
    return data


def finish(process: subprocess.Popen, timeout: float) -> tuple:
    """Waits for the program to end, then takes what it wrote. The pipes are not read to their
    end: a program with a console that starts Wine's session hands copies of them to Wine's own
    processes, which keep them until the session ends."""
    process.wait(timeout=timeout)
    return drain(process.stdout), drain(process.stderr)


# The first program may wait for the Wine prefix to be made, with other tests running.
def read_until_prompt(process: subprocess.Popen, timeout: float = 90.0) -> bytes:
    seen = b""
    deadline = time.monotonic() + timeout
    while PROMPT not in seen and time.monotonic() < deadline:
        if select.select([process.stderr], [], [], 0.05)[0]:
            data = os.read(process.stderr.fileno(), 4096)
            if not data:
                break
            seen += data
    if PROMPT not in seen:
        raise AssertionError(f"no prompt: {seen!r}")
    return seen


def dots_of(stderr: bytes) -> int:
    line = stderr[stderr.index(PROMPT) + len(PROMPT):]
    return len(line) - len(line.lstrip(b"."))


def check(condition: bool, what: str):
    if not condition:
        raise AssertionError(what)


def key_ends_the_wait(command: list, master: int, slave: int):
    process = start(command, slave)
    seen = read_until_prompt(process)
    time.sleep(0.6)
    os.write(master, b"k")
    stderr = seen + finish(process, timeout=15.0)[1]
    check(process.returncode == 65, f"status {process.returncode}")
    # A key 0.6 s into the wait ends it about two steps in; a loaded machine may add a few.
    check(1 <= dots_of(stderr) < 15, f"{dots_of(stderr)} dots with a key after 0.6 s")
    check(stderr.endswith(b"Lettrix --??\r\n"), "the brief help follows the pause")
    echoed = os.read(master, 1024) if select.select([master], [], [], 0.2)[0] else b""
    check(b"k" not in echoed, "the key was echoed")


def steps_run_out(command: list, master: int, slave: int):
    process = start(command, slave)
    stderr = read_until_prompt(process)
    stderr += finish(process, timeout=20.0)[1]
    check(process.returncode == 65, f"status {process.returncode}")
    check(dots_of(stderr) == 30, f"{dots_of(stderr)} dots")


def output_in_console_code_page(command: list, master: int, slave: int):
    # The argument reaches the program as 0xC9 0x74 0xE9 in code page 1252.
    done = start(command, slave, ["-u", "\u00c9t\u00e9", "-u", "ascii"])
    stdout = finish(done, timeout=90.0)[0]
    check(done.returncode == 0, f"status {done.returncode}")
    check(stdout == b"\x90T\x82\r\nASCII\r\n", f"stdout {stdout!r}")
    report = start(command, slave, ["\u00e9"])
    stderr = finish(report, timeout=90.0)[1]
    check(report.returncode == 65, f"status {report.returncode}")
    check(b"Invalid Parameters Provided: \x82 \r\n" in stderr, f"stderr {stderr!r}")


def windows_path(path: str) -> str:
    # Wine shows the POSIX file system as drive Z:.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def controls_on_the_console(command: list, master: int, slave: int):
    # The five bytes that code page 1252 leaves undefined reach the program as themselves, and
    # would reach a UTF-8 console (chcp 65001) as U+0081 and its neighbours, C1 controls; 0x9C
    # is a letter there. Standard error is the console, which Wine writes to the terminal.
    emulator, program = command[:-1], command[-1]
    with tempfile.TemporaryDirectory(prefix="lettrix console ") as folder:
        batch = os.path.join(folder, "run.bat")
        with open(batch, "wb") as f:
            f.write(b'@chcp 65001 >nul\r\n@"' + windows_path(program).encode() + b'" %1 x\r\n')
        STARTED.append(subprocess.Popen(
            emulator + ["cmd", "/c", windows_path(batch), "\u0081\u008d\u008f\u0090\u009d\u0153"],
            stdin=slave, stdout=subprocess.PIPE, stderr=slave, env=environment()))
        process = STARTED[-1]
        process.wait(timeout=90.0)
    written = b""
    while select.select([master], [], [], 0.2)[0]:
        chunk = os.read(master, 65536)
        if not chunk:
            break
        written += chunk
    check(process.returncode == 65, f"status {process.returncode}")
    shown = b"M-^AM-^MM-^OM-^PM-^]\xc5\x93 x"
    check(shown in written, f"the console got {written!r}")
    text = written.decode("utf-8", "replace")
    check(not any("\x80" <= c <= "\x9f" for c in text), f"a C1 control: {written!r}")


def main() -> int:
    emulator = [part for part in sys.argv[1].split(";") if part]
    command = emulator + [sys.argv[2]]
    tests = [
        ("a key ends the wait", key_ends_the_wait),
        ("the 30 steps run out", steps_run_out),
        ("output in the console's code page", output_in_console_code_page),
        ("C1 controls shown on the console", controls_on_the_console),
    ]
    passed = failed = 0
    for title, test in tests:
        master, slave = pty.openpty()
        try:
            test(command, master, slave)
            passed += 1
        except (AssertionError, subprocess.TimeoutExpired) as problem:
            failed += 1
            print(f"FAIL {title}: {problem}")
        finally:
            for process in STARTED:
                if process.poll() is None:
                    process.kill()
                    process.wait()
            STARTED.clear()
            os.close(master)
            os.close(slave)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
