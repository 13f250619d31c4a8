#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the benchmark command lines, NUL-separated, one file each, into the given folder."""

import sys
from pathlib import Path


def write(folder: Path, name: str, args: list) -> None:
    (folder / name).write_bytes(b"\0".join(a.encode() for a in args))


def main() -> None:
    folder = Path(sys.argv[1])
    write(folder, "small", ["-u", "abc"])
    write(folder, "pairs_96000", ["-u", "x"] * 96000)  # about 2 MB with its pointers
    words = " ".join("word" for _ in range(120 * 1024 // 5))
    write(folder, "reverse_120k", ["-w", words])
    write(folder, "proper_120k", ["-p", words])
    for n in (16000, 64000):
        write(folder, f"pairs_{n}", ["-u", "x"] * n)
        write(folder, f"distinct_{n}", [a for i in range(n) for a in ("-u", f"v{i}")])
        write(folder, f"words_{n}", ["-w", " ".join("x" for _ in range(n))])


if __name__ == "__main__":
    main()
