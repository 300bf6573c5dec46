#!/usr/bin/env python3
"""Checks that every include between source folders points down the layers.

The layers are the folder lists of CMakeLists.txt, in order: KORVEL_BASE,
KORVEL_SPINE, KORVEL_FAMILIES (each family may include the ones listed
before it) and KORVEL_TOP. Prints each include that points up or sideways
and exits 1 when there is one.
"""
import pathlib
import re
import sys


def layer_order(cmake_text):
    order = []
    for name in ("KORVEL_BASE", "KORVEL_SPINE", "KORVEL_FAMILIES", "KORVEL_TOP"):
        match = re.search(r"set\(%s\b(.*?)\)" % name, cmake_text, re.S)
        if not match:
            sys.exit("CMakeLists.txt has no %s list" % name)
        body = re.sub(r"#[^\n]*", "", match.group(1))
        order += body.split()
    return order


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    order = layer_order((root / "CMakeLists.txt").read_text())
    rank = {folder: i for i, folder in enumerate(order)}
    wrong = []
    for folder in order:
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".h", ".cpp", ".def"):
                continue
            for target in re.findall(r'#include "([^"/]+)/', path.read_text()):
                if target in rank and target != folder and rank[target] > rank[folder]:
                    wrong.append("%s/%s includes from %s/" % (folder, path.name, target))
    for line in wrong:
        print(line)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
