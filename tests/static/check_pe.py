#!/usr/bin/env python3
"""Static checks of a Windows DLL, run without Windows or Wine: its machine
and image kind, the functions it must export, the DLLs it must not import.

    check_pe.py FILE [--machine i386|x86-64] [--export NAME]... [--forbid-import PATTERN]...
    check_pe.py --product FILE...

--product applies the checks every shipped Korvel DLL must pass: a PE32
image for i386 that exports the host's two entry points and imports no
C++ runtime, libgcc, winpthread or D3DX9 (the HUD loads D3DX9 itself, at
run time).

Exit status 0 when every check holds, 1 with one line per broken check
otherwise, 2 when FILE is not a PE image.
"""
import argparse
import fnmatch
import struct
import sys

MACHINES = {"i386": (0x014C, 0x10B), "x86-64": (0x8664, 0x20B)}  # (machine, optional-header magic)


PRODUCT = {
    "machine": "i386",
    "exports": ("QarnPlugin_Query", "QarnPlugin_Load"),
    "forbidden": ("libstdc++*", "libgcc*", "libwinpthread*", "d3dx9*"),
}


class NotPE(Exception):
    pass


class Image:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise NotPE("no MZ header")
        (pe,) = self.unpack("<I", 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise NotPE("no PE signature")
        self.machine, sections, _, _, _, optional_size, self.characteristics = self.unpack("<HHIIIHH", pe + 4)
        optional = pe + 24
        (self.magic,) = self.unpack("<H", optional)
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.export_dir = self.unpack("<II", directories)
        self.import_dir = self.unpack("<II", directories + 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            vsize, vaddr, rsize, raddr = self.unpack("<IIII", table + 40 * i + 8)
            self.sections.append((vaddr, max(vsize, rsize), raddr, rsize))

    def unpack(self, fmt, offset):
        if offset < 0 or offset + struct.calcsize(fmt) > len(self.data):
            raise NotPE("header runs past the end of the file")
        return struct.unpack_from(fmt, self.data, offset)

    def offset(self, rva):
        for vaddr, size, raddr, rsize in self.sections:
            if vaddr <= rva < vaddr + size and rva - vaddr < rsize:
                return raddr + rva - vaddr
        raise NotPE("address %#x lies in no section" % rva)

    def text(self, rva):
        start = self.offset(rva)
        end = self.data.find(b"\0", start)
        if end < 0:
            raise NotPE("unterminated name")
        return self.data[start:end].decode("latin-1")

    def exports(self):
        rva, _ = self.export_dir
        if not rva:
            return []
        directory = self.offset(rva)
        (count,) = self.unpack("<I", directory + 24)
        (names,) = self.unpack("<I", directory + 32)
        return [self.text(self.unpack("<I", self.offset(names) + 4 * i)[0]) for i in range(count)]

    def imports(self):
        rva, _ = self.import_dir
        found = []
        entry = rva
        while entry:
            (name_rva,) = self.unpack("<I", self.offset(entry) + 12)
            if not name_rva:
                break
            found.append(self.text(name_rva))
            entry += 20
        return found


def check(path, machine=None, exports=(), forbidden=()):
    """Returns the list of broken checks (empty when the image is sound)."""
    with open(path, "rb") as f:
        image = Image(f.read())
    problems = []
    if not image.characteristics & 0x2000:
        problems.append("not a DLL")
    if machine:
        want_machine, want_magic = MACHINES[machine]
        if image.machine != want_machine or image.magic != want_magic:
            problems.append("not a %s image (machine %#06x, optional header %#05x)"
                            % ("PE32 i386" if machine == "i386" else "PE32+ x86-64", image.machine, image.magic))
    have = set(image.exports())
    for name in exports:
        if name not in have:
            problems.append("does not export %s" % name)
    for dll in image.imports():
        for pattern in forbidden:
            if fnmatch.fnmatch(dll.lower(), pattern.lower()):
                problems.append("imports %s" % dll)
                break
    return problems


def check_product(path):
    return check(path, PRODUCT["machine"], PRODUCT["exports"], PRODUCT["forbidden"])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("files", nargs="+", metavar="FILE")
    parser.add_argument("--product", action="store_true")
    parser.add_argument("--machine", choices=sorted(MACHINES))
    parser.add_argument("--export", action="append", default=[])
    parser.add_argument("--forbid-import", action="append", default=[])
    args = parser.parse_args()
    status = 0
    for path in args.files:
        try:
            if args.product:
                problems = check_product(path)
            else:
                problems = check(path, args.machine, args.export, args.forbid_import)
        except (OSError, NotPE) as e:
            print("%s: not a readable PE image: %s" % (path, e))
            status = 2
            continue
        for problem in problems:
            print("%s: %s" % (path, problem))
        if problems:
            status = max(status, 1)
    return status


if __name__ == "__main__":
    sys.exit(main())
