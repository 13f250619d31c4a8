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
  program-name  optional: run a copy of the program under this file name
Any expected file may have a per-platform twin, for example stderr.win32, which wins on that
platform.

Expected output may name what only the build or the run knows, each written {{NAME}}:
  EXE_DIR      the directory of the program, quoted when it holds a space
  ARGV0        the program as the runner invoked it, quoted likewise
  BUILD_DATE   the build date as the banner shows it under the C locale (08 Dec 2026)
  BUILD_HOUR   the hour of the build, two digits
  ARCH_TAG, TOOLCHAIN_TEXT   the build's tags, each beginning with a space (or empty)
The build values come from the build_info.txt file that each build writes (--build-info).
"""

import argparse
import concurrent.futures
import locale
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]


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


def quote_if_needed(text: str) -> str:
    return f'"{text}"' if text == "" or " " in text else text


def build_values(info_file: str) -> dict:
    values = {}
    if info_file:
        for line in Path(info_file).read_text().splitlines():
            key, _, value = line.partition("=")
            values[key] = value
    values.setdefault("BUILD_DATE", "")
    values.setdefault("BUILD_TIMESTAMP", "")
    date = values["BUILD_DATE"]
    if date:
        year, month, day = date.split("/")
        values["BUILD_DATE"] = f"{day} {MONTHS[int(month) - 1]} {year}"
    timestamp = values.pop("BUILD_TIMESTAMP")
    values["BUILD_HOUR"] = timestamp.split(" ")[1][:2] if " " in timestamp else ""
    return values


def substitute(data: bytes, values: dict) -> bytes:
    for key, value in values.items():
        data = data.replace(b"{{" + key.encode() + b"}}", value.encode())
    return data


def escaped(data: bytes) -> str:
    return repr(data)[2:-1]


def run_case(case: Path, emulator: list, program: str, platform: str, timeout: float,
             build: dict):
    """Returns None when the case passes, 'skip' when it cannot run here, else a report."""
    needed = read_optional(case / "locale").decode().strip()
    if needed and not locale_available(needed):
        return "skip"
    name = read_optional(case / "program-name").decode().strip()
    if name:
        with tempfile.TemporaryDirectory(prefix="lettrix e2e ") as folder:
            copy = os.path.join(folder, name)
            shutil.copy2(program, copy)
            return run_program(case, emulator, copy, platform, timeout, build)
    return run_program(case, emulator, program, platform, timeout, build)


def run_program(case: Path, emulator: list, program: str, platform: str, timeout: float,
                build: dict):
    values = dict(build)
    values["EXE_DIR"] = quote_if_needed(os.path.dirname(os.path.realpath(program)))
    values["ARGV0"] = quote_if_needed(program)
    command = emulator + [program]
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
        want = substitute(expected(case, name, platform), values)
        if got != want:
            problems.append(f"  {name} differs\n    expected: {escaped(want)}\n"
                            f"    actual:   {escaped(got)}")
    status = done.returncode
    if status < 0:
        problems.append(f"  killed by signal {-status}")
    elif status != want_status:
        problems.append(f"  status: expected {want_status}, actual {status}")
    return "\n".join(problems) if problems else None


def is_case(folder: Path) -> bool:
    return folder.is_dir() and any((folder / name).exists()
                                   for name in ("args", "stdout", "stderr", "status"))


def find_cases(roots: list) -> list:
    cases = []
    for root in map(Path, roots):
        cases += [root] if is_case(root) else [f for f in sorted(root.rglob("*")) if is_case(f)]
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
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1,
                        help="cases run at once")
    parser.add_argument("--build-info", default="",
                        help="the build_info.txt of the build under test")
    parser.add_argument("roots", nargs="+", help="folders of cases")
    options = parser.parse_args()

    platform = options.platform or ("win32" if options.program.lower().endswith(".exe")
                                    else "posix")
    emulator = [part for part in options.emulator.split(";") if part]
    build = build_values(options.build_info)
    passed = failed = skipped = 0
    cases = find_cases(options.roots)
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, options.jobs)) as pool:
        outcomes = list(pool.map(lambda case: run_case(case, emulator, options.program, platform,
                                                       options.timeout, build), cases))
    for case, outcome in zip(cases, outcomes):
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
