#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the console examples of README.md, docs/*.md and the manual page against a built
Lettrix."""
# Usage: python3 tests/docs/check_examples.py [--tool NAME=PATH ...] build/Lettrix
#
# An example is a line "$ Lettrix ..." (a trailing backslash continues it on the next line)
# followed by what it writes on standard output, up to the next "$ " line or the end of the
# block. The blocks are the ```console blocks of README.md and docs/*.md, and the manual page's
# .nf/.fi blocks. A "$ " line in any other fenced block fails, for it would go unchecked; README.md
# and the manual page must hold examples, a document in docs/ may hold none.
# The library guide's examples run its example tools, Bytecount, Wordstat and excerpt: each given
# with --tool runs where it is named, and the examples of one not given are counted as skipped.
# Each command runs in bash, where Lettrix names the program under test, with standard input
# from /dev/null and LC_ALL=C. Its standard output, with CR LF read as LF, must equal the lines
# shown; an exit code is stated the shell's way ("; echo $?") and is then part of that output,
# and a command that states none must end with exit code 0.
import glob
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ROFF_ESCAPES = {"-": "-", "&": "", "e": "\\", " ": " ", "(aq": "'", "(dq": '"', "(ga": "`",
                "(rs": "\\"}


def unroff(line):
    """The text a roff line in no-fill mode shows, for the escapes the manual page uses."""
    def replace(match):
        escape = match.group(1)
        if escape.startswith("f"):
            return ""
        if escape not in ROFF_ESCAPES:
            sys.exit(f"check_examples: unknown roff escape \\{escape} in: {line}")
        return ROFF_ESCAPES[escape]
    return re.sub(r"\\(f[BIRP]|\(..|.)", replace, line)


def markdown_blocks(path):
    """Each ```console block as a list of (line number, text)."""
    fence, block, blocks = None, None, []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if fence is None and line.strip().startswith("```"):
                fence = line.strip()[3:]
                block = []
            elif fence is not None and line.strip() == "```":
                if fence == "console":
                    blocks.append(block)
                fence = None
            elif fence == "console":
                block.append((number, line))
            elif fence is not None and line.startswith("$ "):
                sys.exit(f"check_examples: {os.path.relpath(path, ROOT)}:{number}: an example "
                         f"outside a ```console block would go unchecked: {line}")
    return blocks


# Documents whose code blocks of a language are excerpts of one source, line for line, so that
# what they show is what is built and run.
EXCERPTS = {"docs/library.md": {
    "cpp": ["examples/bytecount/main.cpp", "examples/wordstat/main.cpp",
            "examples/excerpt/main.cpp"],
    "cmake": ["examples/bytecount/CMakeLists.txt"]}}


def excerpt_failures(name):
    """The blocks of `name` that are not excerpts of the source their language names."""
    sources = EXCERPTS.get(name, {})
    failures = []
    fence, block, start = None, [], 0
    with open(os.path.join(ROOT, name), encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if fence is None and line.startswith("```"):
                fence, block, start = line[3:], [], number
            elif fence is not None and line == "```":
                if fence in sources:
                    wholes = []
                    for path in sources[fence]:
                        with open(os.path.join(ROOT, path), encoding="utf-8") as source:
                            wholes.append("\n" + source.read())
                    excerpt = "\n" + "".join(text + "\n" for text in block)
                    if not any(excerpt in whole for whole in wholes):
                        failures.append(f"{name}:{start}: not an excerpt of "
                                        + " or ".join(sources[fence]))
                fence = None
            elif fence is not None:
                block.append(line)
    return failures


def manual_blocks(path):
    """Each .nf/.fi block as a list of (line number, shown text); requests are left out."""
    block, blocks = None, []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith(".nf"):
                block = []
            elif line.startswith(".fi") and block is not None:
                blocks.append(block)
                block = None
            elif block is not None and not line.startswith((".", "'")):
                block.append((number, unroff(line)))
    return blocks


def examples(blocks):
    """(line number, command, expected output) of every example in the blocks."""
    found = []
    for block in blocks:
        for number, text in block:
            if text.startswith("$ "):
                found.append([number, text[2:], []])
            elif found and found[-1][1].endswith("\\") and not found[-1][2]:
                found[-1][1] += "\n" + text
            elif found:
                found[-1][2].append(text)
    return found


def run(program, tools, command):
    env = dict(os.environ, LC_ALL="C", LETTRIX=program)
    script = 'Lettrix() { "$LETTRIX" "$@"; }\n'
    for name, path in tools.items():
        env["TOOL_" + name.upper()] = path
        script += f'{name}() {{ "$TOOL_{name.upper()}" "$@"; }}\n'
    script += command
    done = subprocess.run(["bash", "-c", script], env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    text = done.stdout.replace(b"\r\n", b"\n").decode("utf-8", "backslashreplace")
    return text, done.returncode


def main():
    arguments = sys.argv[1:]
    tools = {}
    while len(arguments) >= 3 and arguments[0] == "--tool" and "=" in arguments[1]:
        name, path = arguments[1].split("=", 1)
        tools[name] = os.path.abspath(path)
        arguments = arguments[2:]
    if len(arguments) != 1:
        sys.exit("usage: check_examples.py [--tool NAME=PATH ...] <path to Lettrix>")
    program = os.path.abspath(arguments[0])
    documents = sorted(os.path.relpath(path, ROOT)
                       for path in glob.glob(os.path.join(ROOT, "docs", "*.md")))
    sources = [("README.md", markdown_blocks, True), ("man/Lettrix.1.in", manual_blocks, True)]
    sources += [(name, markdown_blocks, False) for name in documents]
    checked = failed = skipped = 0
    for name, read, required in sources:
        for failure in excerpt_failures(name):
            print(f"FAIL {failure}")
            failed += 1
        found = examples(read(os.path.join(ROOT, name)))
        if required and not found:
            print(f"FAIL {name}: no examples found")
            failed += 1
        for number, command, lines in found:
            expected = "".join(line + "\n" for line in lines)
            if any(re.search(rf"\b{name}\b", command)
                   for name in ("Bytecount", "Wordstat", "excerpt") if name not in tools):
                skipped += 1
                continue
            got, status = run(program, tools, command)
            checked += 1
            shown = re.sub(r"\\\n\s*", "", command)
            if got == expected and status == 0:
                print(f"ok   {name}:{number}: {shown}")
                continue
            failed += 1
            print(f"FAIL {name}:{number}: {shown}")
            if status != 0:
                print(f"     exit code {status}, and the document states none")
            if got != expected:
                # Each line between bars, so that a space at either end shows.
                print("     the document shows:")
                print("".join(f"       |{line}|\n" for line in expected.splitlines()), end="")
                print("     the program writes:")
                print("".join(f"       |{line}|\n" for line in got.splitlines()), end="")
                if got and not got.endswith("\n"):
                    print("     (and no line end after its last line)")
    print(f"{checked} examples checked, {failed} failed"
          + (f", {skipped} of the example tools skipped" if skipped else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
