#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the benchmark command lines, NUL-separated, one file each, into the given folder.

Each shape comes at N and 4N arguments; the 4N size of each fills most of the kernel's 2 MiB
argument limit (the texts and their pointers). One more line is Wordstat's, for the CLI11
yardstick (bench/yardstick.sh): 50,000 -c texts."""

import random
import string
import sys
from pathlib import Path


def write(folder: Path, name: str, args: list) -> None:
    (folder / name).write_bytes(b"\0".join(a.encode() for a in args))


def distinct_words(count: int, length: int, seed: int) -> list:
    """`count` different random lower-case words of `length` letters."""
    chooser = random.Random(seed)
    seen = set()
    while len(seen) < count:
        seen.add("".join(chooser.choice(string.ascii_lowercase) for _ in range(length)))
    words = sorted(seen)
    chooser.shuffle(words)
    return words


def short_texts(count: int, seed: int) -> list:
    """`count` texts of one to three words such as people count: plain words, names, numbers,
    versions and punctuation, some of them accented or in Greek, Cyrillic or Japanese."""
    words = ["the", "quick", "brown", "fox", "jumps", "over", "a", "lazy", "dog", "hello",
             "world", "Lettrix", "report", "draft", "final", "line", "count", "words", "of",
             "and", "in", "to", "Monday", "Paris", "O'Brien", "don't", "e-mail", "C++20",
             "v1.2.3", "2024-05-17", "42", "3.14", "50%", "(yes)", "TODO:", "README.md",
             "café", "naïve", "Straße", "déjà", "vu", "Ελληνικά", "мир", "日本語", "🙂"]
    chooser = random.Random(seed)
    return [" ".join(chooser.choices(words, k=chooser.randint(1, 3))) for _ in range(count)]


def main() -> None:
    folder = Path(sys.argv[1])
    write(folder, "small", ["-u", "abc"])
    words = " ".join("word" for _ in range(120 * 1024 // 5))
    write(folder, "reverse_120k", ["-w", words])
    write(folder, "proper_120k", ["-p", words])
    # Repeated pairs, values that share their prefixes, values that share nothing, and bare
    # words that no switch takes (a glob passed by mistake: exit 65 and a report of them all).
    shapes = {
        "pairs": (24000, lambda n: ["-u", "x"] * n),
        "distinct": (16000, lambda n: [a for i in range(n) for a in ("-u", f"v{i}")]),
        "random": (15000,
                   lambda n: [a for w in distinct_words(n, 12, n) for a in ("-u", w)]),
        "invalid": (25000, lambda n: distinct_words(n, 8, n)),
    }
    for name, (n, make) in shapes.items():
        write(folder, f"{name}_n", make(n))
        write(folder, f"{name}_4n", make(4 * n))
    for n, size in ((16000, "n"), (64000, "4n")):
        write(folder, f"words_{size}", ["-w", " ".join("x" for _ in range(n))])
    write(folder, "wordstat_50k", [a for text in short_texts(50000, 50000) for a in ("-c", text)])


if __name__ == "__main__":
    main()
