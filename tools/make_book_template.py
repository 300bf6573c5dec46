#!/usr/bin/env python3
"""Writes book/KorvelCreatedBook.bin, the 787-byte plug-in template that the
library embeds as the RCDATA resource "KorvelCreatedBook". The file is kept
in the source tree; this script is how its bytes were laid out and lets a
reviewer rebuild and compare them."""
import os
import struct
import sys

PLACEHOLDER = b"0123456789ABCDEF"


def field(kind, data):
    return kind + struct.pack("<H", len(data)) + data


def record(kind, flags, form_id, vc, data):
    return kind + struct.pack("<IIII", len(data), flags, form_id, vc) + data


def group(label, body):
    return b"GRUP" + struct.pack("<I", 20 + len(body)) + label + struct.pack("<iI", 0, 0x4102) + body


def template():
    header = record(b"VMRK", 0, 0, 0,
                    field(b"HEDR", struct.pack("<fII", 1.0, 6, 0x1C7C))
                    + field(b"CNAM", b"Korvel\0")
                    + field(b"SNAM", b"Plugin generated from Korvel by script request.\0")
                    + field(b"DATA", bytes(8)))
    source = b"\r\n".join([
        b"scn KorvelCreatedBookScript" + PLACEHOLDER,
        b"",
        b"Begin GameMode",
        b"\tPlayer.AddItem KorvelCreatedBook" + PLACEHOLDER + b" 1",
        b"\tStopQuest KorvelCreatedBookQuest" + PLACEHOLDER,
        b"End",
    ])
    script = record(b"SCPT", 0, 0x01000ED3, 0,
                    field(b"EDID", b"KorvelCreatedBookScript" + PLACEHOLDER + b"\0")
                    + field(b"SCHR", bytes.fromhex("00000000030000002D0000000000000001000000"))
                    + field(b"SCDA", bytes.fromhex(
                        "1D000000100006000000 1F0000001C00010002100A0002007202006E010000003710050001007203001100 0000".replace(" ", "")))
                    + field(b"SCTX", source)
                    + field(b"SCRO", struct.pack("<I", 0x14))
                    + field(b"SCRO", struct.pack("<I", 0x01000ED5))
                    + field(b"SCRO", struct.pack("<I", 0x01000ED4)))
    book = record(b"BOOK", 0x400, 0x01000ED5, 0x4102,
                  field(b"EDID", b"KorvelCreatedBook" + PLACEHOLDER + b"\0")
                  + field(b"FULL", b"Bookname\0")
                  + field(b"MODL", b"Clutter\\Books\\folio03.nif\0")
                  + field(b"MODB", bytes(4))
                  + field(b"ICON", b"Clutter\\iconbook2.dds\0")
                  + field(b"DESC", b"BookText\0")
                  + field(b"DATA", bytes.fromhex("00FF0000000000000000")))
    quest = record(b"QUST", 0, 0x01000ED4, 0,
                   field(b"EDID", b"KorvelCreatedBookQuest" + PLACEHOLDER + b"\0")
                   + field(b"SCRI", struct.pack("<I", 0x01000ED3))
                   + field(b"DATA", bytes([0x01, 0x3C])))
    data = header + group(b"SCPT", script) + group(b"BOOK", book) + group(b"QUST", quest)
    assert len(data) == 787, len(data)
    assert data.count(PLACEHOLDER) == 6
    return data


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "book", "KorvelCreatedBook.bin")
    with open(out, "wb") as f:
        f.write(template())
