#!/usr/bin/env python3
"""Writes the seed corpus of the path-rules fuzz target (fuzz/corpus/path/).

Each seed is one byte of environment answers (bit 0: the file is present,
bit 1: folder creation fails), the root id as four little-endian bytes and
the relative path; a zero byte splits off a rename's target. The paths are
those of tests/data/benign-paths.txt and hostile-paths.txt, spread over the
root ids and answers, and a few rename pairs.

Usage: make_path_seeds.py [SOURCE-ROOT]
"""
import os
import pathlib
import re
import struct
import sys

ROOTS = [0, 1, 2, 257, -1, -2147483648, 2147483647, 3]


def decode(text):
    return re.sub(rb"%(%|[0-9A-Fa-f]{2})",
                  lambda m: b"%" if m.group(1) == b"%" else bytes([int(m.group(1), 16)]), text)


def paths(data_file):
    for line in data_file.read_bytes().split(b"\n"):
        line = line.rstrip(b"\r")
        if not line or line.startswith(b"#"):
            continue
        yield decode(line.split(b"\t")[0])


def seed(answers, root, path, target=None):
    body = struct.pack("<Bi", answers, root) + path
    return body + (b"\0" + target if target is not None else b"")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    out = root / "fuzz" / "corpus" / "path"
    out.mkdir(parents=True, exist_ok=True)
    for old in out.glob("seed-*"):
        old.unlink()
    seeds = []
    all_paths = list(paths(root / "tests" / "data" / "benign-paths.txt")) + \
        list(paths(root / "tests" / "data" / "hostile-paths.txt"))
    for i, path in enumerate(all_paths):
        seeds.append(seed(i % 4, ROOTS[i % len(ROOTS)], path))
    seeds += [
        seed(1, 0, b"notes\\today.txt", b"notes\\tomorrow.txt"),
        seed(1, 0, b"a.txt", b"..\\..\\outside.txt"),
        seed(1, 0, b"..\\..\\outside.txt", b"inside.txt"),
        seed(0, 0, b"new\\deeper\\file.txt"),
        seed(2, 0, b"new\\deeper\\file.txt"),
        seed(0, 0, b".\\fresh.txt"),
        seed(0, 1, b"a" * 300 + b"\\" + b"b" * 300),
    ]
    for i, data in enumerate(seeds):
        (out / ("seed-%03d" % i)).write_bytes(data)
    print("%d seeds in %s" % (len(seeds), out))


if __name__ == "__main__":
    main()
