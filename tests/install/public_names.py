#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks that the names which the installed headers declare for a tool are the public names
that docs/library.md lists, header by header, and that each declaration says what it is for
(a /// comment before it, or ///< after it). Names in a `detail` namespace are not public.

Usage: public_names.py INCLUDE-DIR GUIDE
INCLUDE-DIR holds the installed core/ and platform/ folders."""

import re
import sys
from pathlib import Path

IDENTIFIER = re.compile(r"[A-Za-z_]\w*")


def statements(text):
    """(head, body, documented) of each declaration at namespace scope outside `detail`."""
    found = []
    hidden = []  # for each namespace entered: whether it is a detail one
    head, body, depth = "", "", 0
    doc = trailing = False

    def emit():
        nonlocal head, body, doc, trailing
        if not any(hidden):
            found.append((" ".join(head.split()), body, doc or trailing))
        head, body, doc, trailing = "", "", False, False

    for line in text.split("\n"):
        stripped = line.strip()
        if depth == 0 and not head.strip():
            if stripped.startswith("///"):
                doc = True
                continue
            if not stripped or stripped.startswith(("//", "#")):
                doc = doc and bool(stripped)
                continue
            match = re.match(r"namespace (\w+) \{$", stripped)
            if match:
                hidden.append(match.group(1) == "detail")
                doc = False
                continue
            if stripped.startswith("}  // namespace"):
                hidden.pop()
                continue
        if depth == 0 and "///<" in line:
            trailing = True
        code = re.sub(r"//.*", "", line)
        code = re.sub(r'"(\\.|[^"\\])*"', '""', code)
        code = re.sub(r"'(\\.|[^'\\])'", "''", code)
        for char in code:
            if depth == 0:
                # A brace inside a parameter list is a default argument's, not a body's.
                if char == "{" and head.count("(") <= head.count(")"):
                    depth = 1
                elif char == ";":
                    emit()
                else:
                    head += char
            elif char == "{":
                depth += 1
                body += char
            elif char == "}":
                depth -= 1
                if depth > 0:
                    body += char
                elif "(" in head.split("=")[0] and not re.match(r"\s*(struct|class|enum)\b", head):
                    emit()  # a function's body: no ';' follows
            else:
                body += char
        head += " "
    return found


def names_of(head, body):
    """The names that one declaration gives."""
    head = re.sub(r"\[\[\w+\]\]", "", head)
    head = re.sub(r"template\s*<[^>]*>", "", head).strip()
    match = re.match(r"(struct|class|using)\s+(\w+)", head)
    if match:
        return [match.group(2)]
    match = re.match(r"enum\s+(\w+)", head)
    if match:
        values = [re.match(r"\s*(\w+)", item).group(1)
                  for item in body.split(",") if item.strip() and re.match(r"\s*\w", item)]
        return [match.group(1)] + values
    before_call = head.split("(")[0] if "(" in head.split("=")[0] else None
    if before_call is not None:
        return [IDENTIFIER.findall(before_call)[-1]]
    names = []
    depth = 0
    part = ""
    for char in head + ",":
        if char in "<({":
            depth += 1
        elif char in ">)}":
            depth -= 1
        if char == "," and depth == 0:
            names.append(IDENTIFIER.findall(part.split("=")[0])[-1])
            part = ""
        else:
            part += char
    return names


def declared(include_dir):
    headers = {}
    for path in sorted(Path(include_dir).glob("*/*.h")):
        name = f"{path.parent.name}/{path.name}"
        headers[name] = {}
        for head, body, documented in statements(path.read_text(encoding="utf-8")):
            for found in names_of(head, body):
                headers[name][found] = documented
    return headers


def listed(guide):
    text = Path(guide).read_text(encoding="utf-8")
    section = text.split("## The public names", 1)[1].split("\n## ", 1)[0]
    headers = {}
    for row in re.findall(r"^\| `([\w/.]+\.h)` \| (.*) \|$", section, re.M):
        headers[row[0]] = set(re.findall(r"`(\w+)`", row[1]))
    return headers


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    headers, guide = declared(sys.argv[1]), listed(sys.argv[2])
    failures = []
    for header in sorted(set(headers) | set(guide)):
        have, want = headers.get(header, {}), guide.get(header, set())
        if header not in headers:
            failures.append(f"{header}: listed in the guide, not installed")
        elif header not in guide:
            failures.append(f"{header}: installed, not in the guide's list")
        for name in sorted(set(have) - want):
            failures.append(f"{header}: {name} is declared, not listed as public")
        for name in sorted(want - set(have)):
            failures.append(f"{header}: {name} is listed, not declared")
        for name, documented in sorted(have.items()):
            if not documented:
                failures.append(f"{header}: {name} says nothing of what it is for")
    for failure in failures:
        print(failure)
    count = sum(len(names) for names in headers.values())
    print(f"{count} public names in {len(headers)} headers, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
