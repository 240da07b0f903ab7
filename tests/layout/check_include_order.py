#!/usr/bin/env python3
"""Fails when a source file includes a folder it may not include.

Usage: check_include_order.py SRC_ROOT RULE... where each RULE is
PATH=FOLDER,FOLDER,...: every file below PATH (relative to the repository,
e.g. src/scheme or tests/model) may include headers of the listed folders of
src/ only. A quoted include that names no folder of src/ is allowed only in
files outside src/ (a test's own headers); inside src/ every include names its
folder. Prints each offending include and exits 1; exits 0 when all follow the
rules.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = (".cpp", ".h")


def files_below(path):
    for folder, _, names in os.walk(path):
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(folder, name)


def offences(repo, src_folders, path, allowed):
    inside_src = os.path.normpath(path).split(os.sep)[0] == "src"
    for file in files_below(os.path.join(repo, path)):
        with open(file, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for match in INCLUDE.finditer(text):
            included = match.group(1)
            folder = included.split("/")[0] if "/" in included else None
            line = text.count("\n", 0, match.start()) + 1
            where = f"{os.path.relpath(file, repo)}:{line}"
            if folder in src_folders:
                if folder not in allowed:
                    yield f'{where}: includes "{included}"; {path} may include only {", ".join(allowed)}'
            elif inside_src:
                yield f'{where}: includes "{included}", which names no folder of src/'


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    repo = os.path.abspath(argv[1])
    src_folders = {d for d in os.listdir(os.path.join(repo, "src")) if os.path.isdir(os.path.join(repo, "src", d))}
    rules = {}
    for rule in argv[2:]:
        path, _, folders = rule.partition("=")
        rules[path] = [f for f in folders.split(",") if f]

    # Every folder of src/ has a rule: a new folder must take its place in the order.
    unruled = sorted(f for f in src_folders if f"src/{f}" not in rules)
    found = [f"src/{f}: a folder with no place in the include order" for f in unruled]
    for path, allowed in rules.items():
        found.extend(offences(repo, src_folders, path, allowed))

    for line in found:
        print(line)
    if found:
        return 1
    print(f"{len(rules)} folders checked: every include follows the order")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
