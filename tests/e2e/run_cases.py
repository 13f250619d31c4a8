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
  locale   optional: a locale the case needs; the case is skipped when the system lacks it (or,
           with --locales, when that folder of compiled locales lacks it)
  months   optional: the abbreviated month names of the case's LC_TIME locale for BUILD_DATE,
           January to December, one a line, in that locale's code page
  platforms     optional: the platforms the case is for (posix, win32), one a line; the case
                is skipped on the others
  program-name  optional: run a copy of the program under this file name
  command-line  Windows only, instead of args: the ASCII text after the program, as a user
                types it; the runner puts it in a batch file run by cmd.exe, so that the
                program is started by a Windows process with exactly this command line
Any of these files may have a per-platform twin, for example stderr.win32 or program-name.win32,
which wins on that platform.

Expected output may name what only the build or the run knows, each written {{NAME}}:
  EXE_DIR      the directory of the program, quoted when it holds a space
  ARGV0        the program as the command line names it, quoted likewise
  EXE_FILE     the program's file name (Lettrix, or Lettrix.exe on Windows)
  BUILD_DATE   the build date as the banner shows it under the C locale (08 Dec 2026), or
               with the month name from the case's `months`
  BUILD_HOUR   the hour of the build, two digits
  ARCH_TAG, TOOLCHAIN_TEXT   the build's tags, each beginning with a space (or empty)
The build values come from the build_info.txt file that each build writes (--build-info).

A Windows program run through an emulator is taken to run under Wine, which names it by its
path on drive Z: and always quotes it on the command line. Wine hands arguments to the program
in its ANSI code page after decoding them in the locale of the POSIX side; the runner sets the
C.UTF-8 locale, which Wine takes for US English with code page 1252, and hands over the bytes of
`args` as their code page 1252 characters in UTF-8. The program then gets the bytes that `args`
holds, as it would from a console on Windows.

The runner exits with 0 when every case passed, with 77 when every case was for other platforms
(ctest's SKIP_RETURN_CODE), and with 1 otherwise, also when no case ran.
"""

import argparse
import concurrent.futures
import errno
import locale
import ntpath
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

MONTHS = [b"Jan", b"Feb", b"Mar", b"Apr", b"May", b"Jun", b"Jul", b"Aug", b"Sep", b"Oct", b"Nov",
          b"Dec"]
SKIPPED_EXIT = 77
# Code page 1252 as Windows converts it: the five bytes it leaves undefined keep their values.
CP1252 = [bytes([b]).decode("cp1252") if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else chr(b)
          for b in range(256)]


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


def locale_available(name: str, folder: str) -> bool:
    if folder:
        # Compiled for the program's machine, which need not read what this one reads: the
        # folder holds each locale under the name that the cases give it.
        return (Path(folder) / name / "LC_CTYPE").is_file()
    saved = locale.setlocale(locale.LC_CTYPE)
    try:
        locale.setlocale(locale.LC_CTYPE, name)
        return True
    except locale.Error:
        return False
    finally:
        locale.setlocale(locale.LC_CTYPE, saved)


def base_environment(under_wine: bool) -> dict:
    # The program's only environmental input is the locale: pin it so that results do not
    # depend on who runs the suite.
    env = {k: v for k, v in os.environ.items() if not (k.startswith("LC_") or k == "LANG")}
    env["LC_ALL"] = "C.UTF-8" if under_wine else "C"
    return env


def quote_if_needed(text: str) -> str:
    return f'"{text}"' if text == "" or " " in text else text


def build_values(info_file: str) -> dict:
    values = {}
    if info_file:
        for line in Path(info_file).read_text().splitlines():
            key, _, value = line.partition("=")
            values[key] = value
    values.setdefault("BUILD_DATE", "")  # year/month/day until a case names its month
    values.setdefault("BUILD_TIMESTAMP", "")
    timestamp = values.pop("BUILD_TIMESTAMP")
    values["BUILD_HOUR"] = timestamp.split(" ")[1][:2] if " " in timestamp else ""
    return values


def banner_date(date: str, months: list) -> bytes:
    """The build date (year/month/day) as the banner shows it with these month names."""
    if not date:
        return b""
    year, month, day = date.split("/")
    return day.encode() + b" " + months[int(month) - 1] + b" " + year.encode()


def substitute(data: bytes, values: dict) -> bytes:
    for key, value in values.items():
        data = data.replace(b"{{" + key.encode() + b"}}",
                            value if isinstance(value, bytes) else value.encode())
    return data


def escaped(data: bytes) -> str:
    return repr(data)[2:-1]


def windows_path(emulator: list, path: str) -> str:
    if not emulator:
        return os.path.abspath(path)
    # Wine shows the POSIX file system as drive Z: (winepath -w says the same, but asking it
    # costs a process that needs Wine's services, and those come and go between tests).
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def windows_names(emulator: list, program: str) -> tuple:
    """The directory of a Windows program and its name on its command line."""
    path = windows_path(emulator, program)
    named = f'"{path}"' if emulator else subprocess.list2cmdline([program])
    return ntpath.dirname(path), named


def run_until_exit(command: list, env: dict, timeout: float) -> subprocess.CompletedProcess:
    """Runs a program under the emulator and takes what it writes until it exits. The pipes are
    not read to their end: a program that starts Wine's session (its desktop, for a beep or a
    console) hands copies of them to Wine's own processes, which keep them until it ends."""
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, env=env)
    taken = {process.stdout: b"", process.stderr: b""}
    open_pipes = list(taken)
    deadline = time.monotonic() + timeout
    while open_pipes:
        running = process.poll() is None
        if running and time.monotonic() > deadline:
            process.kill()
            process.wait()
            raise subprocess.TimeoutExpired(command, timeout)
        ready = select.select(open_pipes, [], [], 0.05 if running else 0)[0]
        if not ready and not running:
            break
        for pipe in ready:
            chunk = os.read(pipe.fileno(), 65536)
            taken[pipe] += chunk
            if not chunk:
                open_pipes.remove(pipe)
    process.stdout.close()
    process.stderr.close()
    try:
        status = process.wait(timeout=max(0.1, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        raise
    return subprocess.CompletedProcess(command, status, taken[process.stdout],
                                       taken[process.stderr])


def command_arguments(arguments: list, platform: str, emulator: list) -> list:
    if platform != "win32":
        return arguments
    if emulator:
        return ["".join(CP1252[b] for b in argument).encode() for argument in arguments]
    return [argument.decode("mbcs") for argument in arguments]


def run_case(case: Path, emulator: list, program: str, platform: str, timeout: float,
             build: dict, locales: str):
    """Returns None when the case passes, a 'skip: ...' reason when it cannot run here, else a
    report."""
    platforms = read_optional(case / "platforms").decode().split()
    if platforms and platform not in platforms:
        return f"skip: not for {platform}"
    needed = read_optional(case / "locale").decode().strip()
    if needed and not locale_available(needed, locales):
        return "skip: locale not available"
    name = expected(case, "program-name", platform).decode().strip()
    if name:
        with tempfile.TemporaryDirectory(prefix="lettrix e2e ") as folder:
            copy = os.path.join(folder, name)
            shutil.copy2(program, copy)
            return run_program(case, emulator, copy, platform, timeout, build)
    return run_program(case, emulator, program, platform, timeout, build)


def run_program(case: Path, emulator: list, program: str, platform: str, timeout: float,
                build: dict):
    values = dict(build)
    months = expected(case, "months", platform).splitlines()
    if months and len(months) != 12:
        return f"  months holds {len(months)} names, not 12"
    values["BUILD_DATE"] = banner_date(build["BUILD_DATE"], months or MONTHS)
    if platform == "win32":
        directory, values["ARGV0"] = windows_names(emulator, program)
        values["EXE_DIR"] = quote_if_needed(directory)
    else:
        values["EXE_DIR"] = quote_if_needed(os.path.dirname(os.path.realpath(program)))
        values["ARGV0"] = quote_if_needed(program)
    values["EXE_FILE"] = os.path.basename(program)
    env = base_environment(platform == "win32" and bool(emulator))
    for line in read_optional(case / "env").decode().splitlines():
        if line.strip():
            key, _, value = line.partition("=")
            env[key] = value
    typed = read_optional(case / "command-line")
    with tempfile.TemporaryDirectory(prefix="lettrix e2e ") as folder:
        if typed:
            if platform != "win32":
                return "  a command-line file needs the win32 platform"
            batch = os.path.join(folder, "run.bat")
            line = b"@" + values["ARGV0"].encode() + b" " + typed.rstrip(b"\r\n")
            Path(batch).write_bytes(line + b"\r\n@exit /b %ERRORLEVEL%\r\n")
            command = emulator + ["cmd", "/c", windows_path(emulator, batch)]
        else:
            command = emulator + [program] + command_arguments(
                parse_args_file(expected(case, "args", platform)), platform, emulator)
        try:
            # A renamed copy is written while other threads start cases: until its exec, a child
            # forked meanwhile holds the copy open for writing, and the system refuses to run it
            # (ETXTBSY) for that moment.
            for attempt in range(50):
                try:
                    if emulator:
                        done = run_until_exit(command, env, timeout)
                    else:
                        done = subprocess.run(command, stdin=subprocess.DEVNULL,
                                              stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                              env=env, timeout=timeout)
                    break
                except OSError as error:
                    if error.errno != errno.ETXTBSY or attempt == 49:
                        raise
                    time.sleep(0.02)
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
    return folder.is_dir() and any((folder / name).exists() for name in
                                   ("args", "command-line", "stdout", "stderr", "status"))


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
    parser.add_argument("--locales", default="",
                        help="the folder of compiled locales that the program reads (its "
                             "LOCPATH), when not the system's")
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
                                                       options.timeout, build, options.locales),
                                 cases))
    other_platforms = 0
    for case, outcome in zip(cases, outcomes):
        if outcome is None:
            passed += 1
        elif outcome.startswith("skip: "):
            skipped += 1
            other_platforms += outcome.startswith("skip: not for ")
            print(f"SKIP {case} ({outcome[6:]})")
        else:
            failed += 1
            print(f"FAIL {case}\n{outcome}")
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    if cases and other_platforms == len(cases):
        return SKIPPED_EXIT
    return 1 if failed or passed == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
