#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A seeded mutation sample: how many small faults in core/ and app/ the whole suite catches.

  bench/mutation_sample.py [--seed N] [--count N] [--timeout S] [--build-dir DIR] [--json FILE]
  bench/mutation_sample.py --compare BEFORE.json AFTER.json

Each mutant changes one token or deletes one statement of a *.cpp or *.h file of core/ or app/;
it is built in a Debug build folder of its own (build-mutation/, configured once), the whole
ctest suite runs on it, and the file is restored byte for byte before the next one. One seed
draws the same mutants from the same sources every time; a mutant that does not compile is
replaced by the next one drawn. --compare lists the faults that BEFORE caught and AFTER did not,
and ends with status 1 when there is one. The default sample takes about half an hour on two
cores."""

import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import asdict, dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
FOLDERS = ("core", "app")

# Binary operators stand between spaces (clang-format's Google style), which keeps template
# brackets, `->`, `<<`, unary minus and `T&&` out; a long condition breaks after its operator.
# Longer operators come first.
SPACED = re.compile(r"(?<= )(<=|>=|==|!=|&&|\|\||\+=|-=|<|>|\+|-)(?= |$)")
SWAPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==", "&&": "||",
         "||": "&&", "+": "-", "-": "+", "+=": "-=", "-=": "+="}
BOOLEAN = re.compile(r"\b(true|false)\b")
INTEGER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?=[uUlLzZ]*(?![\w.]))")
NOT = re.compile(r"(?<![\w)\]])!(?!=)")
# A statement line that can go without leaving a declaration behind: a jump, an assignment or
# step of something declared elsewhere, or a call.
JUMP = re.compile(r"(return\b.*|continue|break);$")
LVALUE = r"[\w.:\[\]*]+(?:->[\w.:\[\]]+)*"
STATEMENT = re.compile(rf"(?:{LVALUE} [-+*/%|&^]?= .*|(?:\+\+|--){LVALUE}|{LVALUE}(?:\+\+|--)"
                       rf"|{LVALUE}\(.*\));$")
# A jump after `if (...)`, `else` or a `case` label on the same line.
TRAILING_JUMP = re.compile(r"(?:(?<=[):] )|(?<=else ))(return\b[^;]*|continue|break);$")
LITERAL = re.compile(r'(?<!\w)(?:u8|[uUL])?R"([^(\s]*)\((?:.|\n)*?\)\1"|"(?:\\.|[^"\\\n])*"'
                     r"|'(?:\\.|[^'\\\n])+'|//[^\n]*|/\*(?:.|\n)*?\*/")


@dataclass
class Mutant:
    file: str
    line: int
    col: int  # 0-based, in characters
    before: str
    after: str  # empty: the statement is deleted
    source: str = ""  # the line as it stands
    caught: bool = False
    how: str = ""  # tests, timeout, suite time limit, ctest
    killers: list = field(default_factory=list)

    def key(self):
        return (self.file, self.line, self.col, self.before, self.after)

    def change(self):
        return f"'{self.before}' → " + (f"'{self.after}'" if self.after else "(deleted)")


def mask(text: str) -> str:
    """Blanks comments and fills literals with '_', keeping every offset and line break, so that
    no operator, word or number inside them becomes a site."""
    def blank(match):
        body = match.group(0)
        fill = " " if body.startswith("/") else "_"
        return re.sub(r"[^\n]", fill, body)
    return LITERAL.sub(blank, text)


def sites(path: str, text: str) -> list:
    found = []
    skipping = None  # a preprocessor line continued, or a static_assert not ended
    previous = ";"
    for number, (line, code) in enumerate(zip(text.split("\n"), mask(text).split("\n")), 1):
        stripped = code.strip()
        if skipping == "#" or stripped.startswith("#"):
            skipping = "#" if stripped.endswith("\\") else None
            continue
        if skipping or "static_assert" in code:
            skipping = None if ";" in code else "static_assert"
            continue
        if not stripped:
            continue

        def add(col, before, after):
            found.append(Mutant(path, number, col, before, after, line.strip()))

        for m in SPACED.finditer(code):
            add(m.start(), m.group(1), SWAPS[m.group(1)])
        for m in BOOLEAN.finditer(code):
            add(m.start(), m.group(1), "false" if m.group(1) == "true" else "true")
        for m in INTEGER.finditer(code):
            digits = m.group(1)
            hexadecimal = digits[:2].lower() == "0x"
            value = int(digits, 16 if hexadecimal else 10)
            for changed in (value + 1, value - 1) if value else (1,):
                if hexadecimal:
                    shown = f"{changed:0{len(digits) - 2}x}"
                    lower = any(c.islower() for c in digits[2:])
                    shown = digits[:2] + (shown if lower else shown.upper())
                else:
                    shown = str(changed)
                add(m.start(), digits, shown)
        for m in NOT.finditer(code):
            add(m.start(), "!", "")
        indent = len(code) - len(code.lstrip())
        starts = previous[-1] in ";{}:" and stripped.count("(") == stripped.count(")")
        if starts and (JUMP.match(stripped) or STATEMENT.fullmatch(stripped)):
            add(indent, line[indent:].rstrip(), "")
        elif m := TRAILING_JUMP.search(code.rstrip()):
            add(m.start(), line[m.start():m.end()], ";")
        previous = stripped
    # Several mutants of one site: sites in line order, then by what they change to.
    return sorted(found, key=lambda m: (m.line, m.col, m.after))


def candidates() -> list:
    listed = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-z", "--", *FOLDERS],
                            check=True, capture_output=True, text=True).stdout.split("\0")
    files = sorted(f for f in listed if f.endswith((".cpp", ".h")))
    return [m for f in files for m in sites(f, (ROOT / f).read_text(encoding="utf-8"))]


def apply(mutant: Mutant, original: bytes):
    lines = original.decode("utf-8").split("\n")
    line = lines[mutant.line - 1]
    end = mutant.col + len(mutant.before)
    if line[mutant.col:end] != mutant.before:
        raise SystemExit(f"{mutant.file}:{mutant.line} no longer holds '{mutant.before}'")
    lines[mutant.line - 1] = line[:mutant.col] + mutant.after + line[end:]
    (ROOT / mutant.file).write_bytes("\n".join(lines).encode("utf-8"))


def restore(path: Path, original: bytes):
    # A signal between truncating the file and writing it would leave it empty.
    held = {signal.SIGINT, signal.SIGTERM, signal.SIGHUP}
    signal.pthread_sigmask(signal.SIG_BLOCK, held)
    try:
        path.write_bytes(original)
    finally:
        signal.pthread_sigmask(signal.SIG_UNBLOCK, held)


def run(command: list, limit=None):
    """Runs `command` in a process group of its own, so that a time limit or Ctrl-C ends all of
    it; returns the exit status (None when the limit struck) and the output."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               stdin=subprocess.DEVNULL, text=True, errors="replace",
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=limit)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        return None, process.communicate()[0]
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


RESULT = re.compile(r"\s*\d+/\d+ Test +#\d+: (\S+) \.* *(.*?) +[\d.]+ sec$")


def suite(build: Path, timeout: int, limit: float):
    """Runs ctest and returns (status, failed tests, timed-out tests, the output's last line)."""
    status, output = run(["ctest", "--test-dir", str(build), "--parallel", "2", "--timeout",
                          str(timeout), "--no-tests=error"], limit)
    failed, timed_out = [], []
    for line in output.splitlines():
        if (m := RESULT.match(line)) and m.group(2) != "Passed" and "Skipped" not in m.group(2):
            failed.append(m.group(1))
            if "Timeout" in m.group(2):
                timed_out.append(m.group(1))
    return status, failed, timed_out, (output.strip().splitlines() or [""])[-1]


def judge(mutants: list, args) -> tuple:
    build = args.build_dir
    if not (build / "CMakeCache.txt").exists():
        # Debug compiles and links fastest, with no link-time optimisation. A deleted return that
        # lets a function run off its end is undefined behaviour, not a fault for the tests to
        # find: refusing it makes it a mutant that does not compile.
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        status, output = run(["cmake", "-S", str(ROOT), "-B", str(build), *generator,
                              "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS=-Werror=return-type",
                              "-DLETTRIX_TESTS=ON"])
        if status != 0:
            raise SystemExit(output + "\nconfiguring the build folder failed")
    compile_ = ["cmake", "--build", str(build), "--parallel", "2"]
    status, output = run(compile_)
    if status != 0:
        raise SystemExit(output + "\nthe unchanged tree does not build")
    started = time.monotonic()
    status, failed, _, last = suite(build, args.timeout, None)
    baseline = time.monotonic() - started
    if status != 0:
        raise SystemExit(f"the suite fails on the unchanged tree: {', '.join(failed) or last}")
    print(f"baseline: the suite passes in {baseline:.0f} s", flush=True)
    # A mutant that loops in code that every unit test runs would otherwise hold the sample for
    # the per-test timeout times the number of those tests.
    limit = 3 * baseline + args.timeout

    order = list(range(len(mutants)))
    random.Random(args.seed).shuffle(order)
    judged, skipped = [], []
    for index in order:
        if len(judged) == args.count:
            break
        mutant = mutants[index]
        path = ROOT / mutant.file
        original = path.read_bytes()
        try:
            apply(mutant, original)
            if run(compile_)[0] != 0:
                skipped.append(mutant)
                continue
            status, failed, timed_out, last = suite(build, args.timeout, limit)
        finally:
            restore(path, original)
        mutant.caught = status != 0
        mutant.killers = failed
        mutant.how = ("suite time limit" if status is None else "timeout" if timed_out
                      else "tests" if failed else f"ctest: {last}" if status else "")
        judged.append(mutant)
        print(f"{len(judged):3}/{args.count} {describe(mutant)}", flush=True)
    return judged, skipped


def describe(mutant: Mutant) -> str:
    text = f"{mutant.file}:{mutant.line}:{mutant.col + 1}  {mutant.change()}  "
    if not mutant.caught:
        return text + f"SURVIVED\n        {mutant.source}"
    names = ", ".join(mutant.killers[:3])
    more = f" (+{len(mutant.killers) - 3})" if len(mutant.killers) > 3 else ""
    how = "" if mutant.how == "tests" else f" [{mutant.how}]"
    return text + f"caught{how}: {names}{more}"


def compare(before_file: str, after_file: str) -> int:
    def load(name):
        data = json.loads(Path(name).read_text(encoding="utf-8"))
        return data, {Mutant(**m).key(): Mutant(**m) for m in data["mutants"]}
    before, before_mutants = load(before_file)
    after, after_mutants = load(after_file)
    if before["sources"] != after["sources"] or before["seed"] != after["seed"]:
        print("warning: the runs differ in seed or in the sources of core/ and app/")
    lost = 0
    for key, mutant in before_mutants.items():
        other = after_mutants.get(key)
        if mutant.caught and (other is None or not other.caught):
            lost += 1
            verdict = "not judged in B" if other is None else "SURVIVED in B"
            print(f"{mutant.file}:{mutant.line}:{mutant.col + 1}  {mutant.change()}  {verdict}")
    caught = sum(m.caught for m in before_mutants.values())
    print(f"{lost} of the {caught} faults caught in A are not caught in B")
    return 1 if lost else 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=2024)
    parser.add_argument("--count", type=int, default=30)
    parser.add_argument("--timeout", type=int, default=60, help="seconds per test")
    parser.add_argument("--build-dir", type=Path, default=ROOT / "build-mutation")
    parser.add_argument("--json", type=Path, help="also write the results here")
    parser.add_argument("--compare", nargs=2, metavar=("A.json", "B.json"))
    args = parser.parse_args()
    if args.compare:
        return compare(*args.compare)

    clean = ["git", "-C", str(ROOT), "diff", "--quiet", "HEAD", "--", *FOLDERS]
    if subprocess.run(clean).returncode != 0:
        raise SystemExit("core/ or app/ has changes: commit or stash them first")
    # SIGTERM and SIGHUP unwind like Ctrl-C, through the restore of the mutated file.
    for number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, signal.default_int_handler)
    mutants = candidates()
    trees = ["git", "-C", str(ROOT), "rev-parse", *(f"HEAD:{f}" for f in FOLDERS)]
    sources = subprocess.run(trees, check=True, capture_output=True, text=True).stdout.split()
    print(f"{len(mutants)} candidate mutants; seed {args.seed}, {args.count} drawn", flush=True)
    try:
        judged, skipped = judge(mutants, args)
    finally:
        left_changed = subprocess.run(clean).returncode != 0
        if left_changed:
            print("error: core/ or app/ is left changed", file=sys.stderr)
    if left_changed:
        return 2

    caught = sum(m.caught for m in judged)
    print(f"\n{len(judged)} mutants judged, {len(skipped)} drawn did not compile and were "
          f"replaced")
    for mutant in judged:
        print(describe(mutant))
    share = 100 * caught / len(judged) if judged else 0
    print(f"caught {caught} of {len(judged)} ({share:.1f} %), survived {len(judged) - caught}")
    if args.json:
        args.json.write_text(json.dumps({
            "seed": args.seed, "count": args.count, "sources": sources, "build_type": "Debug",
            "mutants": [asdict(m) for m in judged],
            "not_compiled": [asdict(m) for m in skipped]}, indent=1, ensure_ascii=False) + "\n",
            encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
