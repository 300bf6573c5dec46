#!/usr/bin/env python3
"""Writes the seed corpus of the script-arguments fuzz target
(fuzz/corpus/script/) from the command catalogue (core/catalogue.def).

A seed is a run of calls; each call is the command's catalogue index (two
bytes, little-endian), the calling script (0 own mod, 1 other mod, 2 none,
3 a mod not loaded), the number of arguments given, and per argument a
selector byte with the bytes it takes (fuzz/script_args_target.h):
integers and floats pick from the hostile values by a selector below their
table's size, or read four raw bytes after a larger one; texts are empty
(selector % 4 == 0), a few bytes (1), a length-prefixed run (2) or a
pattern repeated to a 16-bit length (3); forms pick null, own, foreign or
base form by selector % 4.

Every command but Halt gets three seeds: all arguments at the hostile
values of one rotation, with a 16 KB text where it takes one. A few seeds
chain calls on the same ids.

Usage: make_script_seeds.py [SOURCE-ROOT]
"""
import os
import pathlib
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue_rows  # noqa: E402

INT_TABLE = 24
FLOAT_TABLE = 16


def catalogue(root):
    return [(c.name, [p.kind for p in c.params]) for c in catalogue_rows.catalogue(root)]


def argument(kind, k):
    if kind == "Integer":
        return bytes([(k * 5 + 1) % INT_TABLE])
    if kind == "Float":
        return bytes([(k * 3) % FLOAT_TABLE])
    if kind == "String":
        if k % 3 == 0:
            return bytes([3]) + struct.pack("<H", 16384) + b"ab.\\"  # 16 KB of a 4-byte pattern
        if k % 3 == 1:
            return bytes([1 + 4 * 7]) + b"..\\x%s\\/"  # 8 bytes as they stand
        return bytes([0])
    return bytes([k % 4])


def call(index, caller, kinds, k, given=None):
    given = len(kinds) if given is None else given
    body = struct.pack("<HBB", index, caller, given)
    for i, kind in enumerate(kinds[:given]):
        body += argument(kind, k + i)
    return body


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    out = root / "fuzz" / "corpus" / "script"
    out.mkdir(parents=True, exist_ok=True)
    for old in out.glob("seed-*"):
        old.unlink()
    commands = catalogue(root)
    index = {name: i for i, (name, _) in enumerate(commands)}
    seeds = []
    for i, (name, kinds) in enumerate(commands):
        if name == "Halt":
            continue
        for k in range(3):
            seeds.append(call(i, k % 4, kinds, k))
    # Chains on the same ids: create, change, destroy, then use the freed id.
    def by_name(name, caller, args):
        return struct.pack("<HBB", index[name], caller, len(args)) + b"".join(args)
    int_of = lambda k: bytes([k])  # selector into the hostile integers
    # Selectors 1, 2, 4, 5, 6 and 14 are -1, 0, 2, 3, INT_MAX and 0x7FFFFF;
    # the create reuses the freed id 2.
    seeds.append(by_name("CreateArray", 0, [int_of(1), int_of(5)]) +
                 by_name("SetInArray", 0, [int_of(4), int_of(2), int_of(6)]) +
                 by_name("DestroyArray", 0, [int_of(4)]) +
                 by_name("GetInArray", 0, [int_of(4), int_of(2)]))
    seeds.append(by_name("CreateString", 0, [int_of(1), bytes([1]) + b"x"]) +
                 by_name("StringCat", 0, [int_of(4), int_of(2)]) +
                 by_name("DestroyString", 0, [int_of(4)]) +
                 by_name("StringLen", 0, [int_of(4)]))
    seeds.append(by_name("ArraySize", 0, [int_of(2), int_of(6)]) +
                 by_name("ArraySize", 0, [int_of(2), int_of(14)]) +
                 by_name("PackArray", 0, [int_of(2)]))
    for n, data in enumerate(seeds):
        (out / ("seed-%03d" % n)).write_bytes(data)
    print("%d seeds for %d commands in %s" % (len(seeds), len(commands), out))


if __name__ == "__main__":
    main()
