#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs golden end-to-end cases against the built program and compares bytes and exit status.

A case is a folder holding:
  args     the arguments, one per line (each line ends with LF; an empty line is an empty
           argument; no file means no arguments)
  stdout   expected standard output, byte for byte (no file: empty)
  stderr   expected standard error, byte for byte (no file: empty)
  status   expected exit status as a decimal number (no file: 0)
  env      optional KEY=VALUE lines added to the program's environment
  locale   optional: a locale the case needs; the case is skipped when the system lacks it
Any expected file may have a per-platform twin, for example stderr.win32, which wins on that
platform.
"""

import argparse
import locale
import os
import subprocess
import sys
from pathlib import Path


def read_optional(path: Path, default: bytes = b"") -> bytes:
    return path.read_bytes() if path.exists() else default


def expected(case: Path, name: str, platform: str, default: bytes = b"") -> bytes:
    specific = case / f"{name}.{platform}"
    return read_optional(specific if specific.exists() else case / name, default)


def parse_args_file(data: bytes) -> list:
    if not data:
        return []
    if data.endswith(b"\n"):
        data = data[:-1]
    return data.split(b"\n")


def locale_available(name: str) -> bool:
    saved = locale.setlocale(locale.LC_CTYPE)
    try:
        locale.setlocale(locale.LC_CTYPE, name)
        return True
    except locale.Error:
        return False
    finally:
        locale.setlocale(locale.LC_CTYPE, saved)


def base_environment() -> dict:
    # The program's only environmental input is the locale: pin it so that results do not
    # depend on who runs the suite.
    env = {k: v for k, v in os.environ.items() if not (k.startswith("LC_") or k == "LANG")}
    env["LC_ALL"] = "C"
    return env


def escaped(data: bytes) -> str:
    return repr(data)[2:-1]


def run_case(case: Path, command: list, platform: str, timeout: float):
    """Returns None when the case passes, 'skip' when it cannot run here, else a report."""
    needed = read_optional(case / "locale").decode().strip()
    if needed and not locale_available(needed):
        return "skip"
    env = base_environment()
    for line in read_optional(case / "env").decode().splitlines():
        if line.strip():
            key, _, value = line.partition("=")
            env[key] = value
    arguments = parse_args_file(read_optional(case / "args"))
    try:
        done = subprocess.run(command + arguments, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return f"  timed out after {timeout} s"
    want_status = int(expected(case, "status", platform, b"0").decode().strip() or "0")
    problems = []
    for name, got in (("stdout", done.stdout), ("stderr", done.stderr)):
        want = expected(case, name, platform)
        if got != want:
            problems.append(f"  {name} differs\n    expected: {escaped(want)}\n"
                            f"    actual:   {escaped(got)}")
    status = done.returncode
    if status < 0:
        problems.append(f"  killed by signal {-status}")
    elif status != want_status:
        problems.append(f"  status: expected {want_status}, actual {status}")
    return "\n".join(problems) if problems else None


def find_cases(roots: list) -> list:
    cases = []
    for root in roots:
        for folder in sorted(Path(root).rglob("*")):
            if folder.is_dir() and ((folder / "stdout").exists() or (folder / "status").exists()
                                    or (folder / "stderr").exists() or (folder / "args").exists()):
                cases.append(folder)
    return cases


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the executable under test")
    parser.add_argument("--emulator", default="",
                        help="command that runs the program (a CMake list), e.g. wine")
    parser.add_argument("--platform", default="win32" if os.name == "nt" else "",
                        help="suffix of per-platform expected files (default: posix, or "
                             "win32 when the program ends in .exe)")
    parser.add_argument("--timeout", type=float, default=60.0)
    parser.add_argument("roots", nargs="+", help="folders of cases")
    options = parser.parse_args()

    platform = options.platform or ("win32" if options.program.lower().endswith(".exe")
                                    else "posix")
    command = [part for part in options.emulator.split(";") if part] + [options.program]
    passed = failed = skipped = 0
    for case in find_cases(options.roots):
        outcome = run_case(case, command, platform, options.timeout)
        if outcome is None:
            passed += 1
        elif outcome == "skip":
            skipped += 1
            print(f"SKIP {case} (locale not available)")
        else:
            failed += 1
            print(f"FAIL {case}\n{outcome}")
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed or passed == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
