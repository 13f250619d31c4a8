#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Hostile command lines, end to end: every byte value, arguments as long as the kernel allows,
65,536 bad arguments, the longest argument list the system accepts, an executable path with
spaces, and control characters in a report on a terminal under the C, a UTF-8 and a Latin-1
locale. Expected results come from a reference of the case rules written here, not from golden
files. POSIX only.

  hostile_input.py [--emulator COMMAND] [--locales FOLDER] PROGRAM
COMMAND (a CMake list, e.g. qemu-aarch64) runs a cross-built PROGRAM. Below, `program` is the
whole command: the emulator's words, if any, then the program. FOLDER holds the locales that
the program reads, when not the system's. A terminal case whose locale is missing is skipped
with "(locale not available)", which fails the cross builds' CI."""

import argparse
import errno
import os
import pty
import random
import re
import shutil
import subprocess
import sys
import tempfile
import tty

from run_cases import locale_available

ENV = {"LC_ALL": "C"}
CRLF = b"\r\n"
# One argument may hold 32 pages, its terminating NUL included.
LONGEST_ARGUMENT = 128 * 1024 - 1

PROPER_DELIMS = frozenset(range(0x21)) | frozenset(b'!"(),./:;?[\\]`{}')
CONTROLS = bytes(range(0x21))


def proper(text: bytes) -> bytes:
    out = bytearray(text.lower())  # bytes.lower() and upper() touch ASCII letters only
    word_start = True
    for i, byte in enumerate(out):
        if byte in PROPER_DELIMS:
            word_start = True
        elif word_start:
            out[i] = bytes([byte]).upper()[0]
            word_start = False
    return bytes(out)


def reverse_words(text: bytes, delims: bytes = b" ") -> bytes:
    words = [w for w in re.split(b"[" + re.escape(delims) + b"]+", text) if w]
    return b" ".join(reversed(words)).strip(CONTROLS)


# switch, reference, whether -r mirrors the result
OPERATIONS = [
    ("-u", bytes.upper, True),
    ("-L", bytes.lower, True),
    ("-p", proper, True),
    ("-i", bytes.swapcase, True),
    ("-m", lambda t: t[::-1], False),
    ("-w", reverse_words, True),
]


def expected(reference, reversible: bool, reverse_all: bool, text: bytes) -> bytes:
    result = reference(text)
    if reverse_all and reversible:
        result = result[::-1]
    return result


class Checks:
    def __init__(self):
        self.passed = self.failed = 0

    def expect(self, title: str, done: subprocess.CompletedProcess, status: int,
               stdout: bytes = None, stderr_holds: bytes = None):
        problems = []
        if done.returncode != status:
            problems.append(f"status {done.returncode}, expected {status}")
        if stdout is not None and done.stdout != stdout:
            at = next((i for i, (a, b) in enumerate(zip(done.stdout, stdout)) if a != b),
                      min(len(done.stdout), len(stdout)))
            problems.append(f"stdout differs at byte {at} of {len(stdout)}: "
                            f"{done.stdout[at:at + 40]!r} for {stdout[at:at + 40]!r}")
        if stderr_holds is not None and stderr_holds not in done.stderr:
            problems.append(f"stderr lacks {stderr_holds[:80]!r}: {done.stderr[:300]!r}")
        if problems:
            self.failed += 1
            print(f"FAIL {title}: " + "; ".join(problems))
        else:
            self.passed += 1


def run(program: list, args, env: dict = None) -> subprocess.CompletedProcess:
    return subprocess.run([*program, *args], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=env or ENV, timeout=120)


def every_byte(program: list, checks: Checks):
    all_bytes = bytes(range(1, 256))
    for switch, reference, _ in OPERATIONS:
        checks.expect(f"{switch} on bytes 0x01-0xFF", run(program, [switch, all_bytes]), 0,
                      reference(all_bytes) + CRLF)
        checks.expect(f"{switch} attached to bytes 0x01-0xFF",
                      run(program, [switch.encode() + b":" + all_bytes]), 0,
                      reference(all_bytes) + CRLF)
        singles = [bytes([b]) for b in all_bytes]
        args = [part for single in singles for part in (switch, single)]
        checks.expect(f"{switch} on each byte alone", run(program, args), 0,
                      b"".join(reference(single) + CRLF for single in singles))
    checks.expect("-w -x on bytes 0x01-0xFF", run(program, ["-x", "-w", all_bytes]), 0,
                  reverse_words(all_bytes, b" ,;") + CRLF)


def longest_arguments(program: list, checks: Checks):
    rng = random.Random(6)
    # All byte values, with spaces and letters weighted up so that words and case both matter.
    alphabet = bytes(range(1, 256)) + b" " * 24 + b"aZ" * 12
    text = bytes(rng.choice(alphabet) for _ in range(LONGEST_ARGUMENT))
    attached = text[:LONGEST_ARGUMENT - 3]
    for switch, reference, reversible in OPERATIONS:
        for reverse_all in (False, True):
            extra = ["-r"] if reverse_all else []
            title = f"{switch}{' -r' if reverse_all else ''} on 128 KiB"
            checks.expect(title, run(program, [switch, text] + extra), 0,
                          expected(reference, reversible, reverse_all, text) + CRLF)
            checks.expect(title + ", attached", run(program, [switch.encode() + b":" + attached]
                                                    + extra), 0,
                          expected(reference, reversible, reverse_all, attached) + CRLF)


def many_bad_arguments(program: list, checks: Checks):
    # 65,536 entries wrap a 16-bit count to zero: the lists must still decide.
    checks.expect("65,536 incomplete arguments", run(program, ["-u:"] * 65536), 67, b"",
                  CRLF + b"Incomplete Parameters Provided: " + b"-u: " * 65536 + CRLF)
    checks.expect("65,536 invalid arguments", run(program, ["-u", "abc"] + ["zz"] * 65536), 65,
                  b"", CRLF + b"Invalid Parameters Provided: " + b"zz " * 65536 + CRLF)


def accepted(program: list, executable: str, pairs: int) -> bool:
    try:
        subprocess.run(program + ["-u", "x"] * pairs, executable=executable,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, env=ENV, timeout=120)
        return True
    except OSError as error:
        if error.errno != errno.E2BIG:
            raise
        return False


def longest_argument_list(program: list, checks: Checks):
    # The search runs a trivial program under the same arguments and environment (an emulator's
    # included); the kernel also counts the executable's path, so the result is then confirmed
    # with the program itself.
    probe = shutil.which("true") or "/bin/true"
    # Each pair costs two pointers and five bytes of text: start the search near the end.
    low = high = max(1, os.sysconf("SC_ARG_MAX") // 21)
    step = 64
    if accepted(program, probe, low):
        while high < 1 << 22 and accepted(program, probe, high + step):
            high, step = high + step, step * 2
        low, high = high, high + step
    else:
        while low > 1 and not accepted(program, probe, max(1, low - step)):
            low, step = max(1, low - step), step * 2
        low, high = max(1, low - step), low
    while high - low > 1:
        middle = (low + high) // 2
        low, high = (middle, high) if accepted(program, probe, middle) else (low, middle)
    pairs = low
    while True:
        try:
            done = run(program, ["-u", "x"] * pairs)
            break
        except OSError as error:
            if error.errno != errno.E2BIG:
                raise
            pairs -= 1
    checks.expect(f"the longest list, {pairs} pairs of -u x", done, 0, b"X\r\n" * pairs)
    if accepted(program, program[0], pairs + 1):
        checks.failed += 1
        print(f"FAIL the probe stopped short: {pairs + 1} pairs are accepted too")


def path_with_spaces(program: list, checks: Checks):
    with tempfile.TemporaryDirectory(prefix="lettrix hostile ") as folder:
        directory = os.path.realpath(os.path.join(folder, "my tools"))
        os.mkdir(directory)
        path = os.path.join(directory, "Lettrix copy")
        shutil.copy2(program[-1], path)
        copy = program[:-1] + [path]  # run through the emulator, if any
        invalid = run(copy, ["-z"])
        checks.expect("report from a path with spaces", invalid, 65, b"",
                      f'Execution Path ... "{directory}"\r\nYou entered ...... "{path}" -z\r\n'
                      .encode())
        checks.expect("banner names the copy", invalid, 65, None, b"Lettrix copy v3.0.0")
        checks.expect("results from a path with spaces", run(copy, ["-u", "a b"]), 0, b"A B\r\n")


# Reports on a terminal, each under a locale: the arguments after the program, and what the
# terminal shows for each. Control characters, C1 included, are shown visibly and letters stay.
# Under C the terminal may decode UTF-8 or single bytes, so both forms of CSI count there.
TERMINAL_CASES = [
    ("C", [b"-u", b"\x1b]0;owned\x07", b"\x1b[2J\x7f", b"a\xc2\x9b1m", b"\x9b2J"],
     [b"-u", b"^[]0;owned^G", b"^[[2J^?", b"aM-^[1m", b"M-^[2J"]),
    ("de_DE.UTF-8", [b"-u", b"a\xc2\x9b1m", b"\x9b2J", "\u00e9\u015b\u20ac".encode()],
     [b"-u", b"aM-^[1m", b"M-^[2J", "\u00e9\u015b\u20ac".encode()]),
    ("fr_FR.ISO-8859-1", [b"-u", b"\x9b2J", b"\xe9t\xe9"], [b"-u", b"M-^[2J", b"\xe9t\xe9"]),
]
# A control that acted: C0 but CR and LF, DEL and C1, as characters of the locale's encoding
# (under C as bytes, which holds both forms).
ACTING = re.compile("[\x00-\x09\x0b\x0c\x0e-\x1f\x7f-\x9f]")


def acting_controls(written: bytes, name: str) -> list:
    try:
        text = written.decode("utf-8" if name.endswith("UTF-8") else "latin-1")
    except UnicodeDecodeError as error:
        return [f"not UTF-8 at byte {error.start}"]
    return ACTING.findall(text)


def run_on_terminal(program: list, args, env: dict) -> subprocess.CompletedProcess:
    """Runs the program with standard error on a terminal; its stderr is what the terminal
    got."""
    master, slave = pty.openpty()
    tty.setraw(slave)  # the terminal passes bytes through unchanged: CR LF stays CR LF
    done = subprocess.run([*program, *args], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=slave, env=env, timeout=120)
    os.close(slave)
    written = b""
    while True:
        try:
            chunk = os.read(master, 65536)
        except OSError:  # EIO: every copy of the terminal's other end is closed
            break
        if not chunk:
            break
        written += chunk
    os.close(master)
    done.stderr = written
    return done


def report_on_terminal(program: list, checks: Checks, locales: str):
    for name, args, shown in TERMINAL_CASES:
        title = f"report on a terminal under {name}"
        if name != "C" and not locale_available(name, locales):  # C is built in
            print(f"SKIP {title} (locale not available)")
            continue
        env = {"LC_ALL": name}
        done = run_on_terminal(program, args, env)
        checks.expect(title, done, 65, b"", b" ".join(shown) + CRLF)
        checks.expect(title + ", the list", done, 65, b"",
                      b"Invalid Parameters Provided: " + b" ".join(shown[2:]) + b" " + CRLF)
        acting = acting_controls(done.stderr, name)
        if acting:
            checks.failed += 1
            print(f"FAIL {title}: controls reached the terminal: {acting!r}")
        checks.expect(f"report through a pipe under {name}", run(program, args, env), 65, b"",
                      b" ".join(args) + CRLF)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--emulator", default="", help="command that runs the program")
    parser.add_argument("--locales", default="",
                        help="the folder of compiled locales that the program reads (its "
                             "LOCPATH), when not the system's")
    parser.add_argument("program")
    options = parser.parse_args()
    program = [part for part in options.emulator.split(";") if part] + [options.program]
    checks = Checks()
    for group in (every_byte, longest_arguments, many_bad_arguments, longest_argument_list,
                  path_with_spaces):
        group(program, checks)
    report_on_terminal(program, checks, options.locales)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
