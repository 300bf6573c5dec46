"""Book plug-ins written into the game's data folder, read back by a reader
of the record format written here, and the string exchange with the
sibling plug-in Nyxa."""
import os
import re
import shutil
import struct
import unittest

from harness import DIST, SOURCE, GameTest

MODS = "mods Veldmark.esm Alpha.esp\n"
PLACEHOLDER = b"0123456789ABCDEF"


def read_records(data):
    """Top-level records and groups: a list of (type, header fields, fields)
    where fields are (type, bytes) in file order; groups hold their records."""
    out, at = [], 0
    while at < len(data):
        kind = data[at:at + 4]
        if kind == b"GRUP":
            size, label, group_type, stamp = struct.unpack_from("<I4siI", data, at + 4)
            inner = read_records(data[at + 20:at + size])
            out.append((b"GRUP", (size, label, group_type, stamp), inner))
            at += size
            continue
        size, flags, form_id, vc = struct.unpack_from("<IIII", data, at + 4)
        body, fields, f = data[at + 20:at + 20 + size], [], 0
        assert len(body) == size, "record runs past the end"
        while f < len(body):
            ftype, fsize = body[f:f + 4], struct.unpack_from("<H", body, f + 4)[0]
            fields.append((ftype, body[f + 6:f + 6 + fsize]))
            f += 6 + fsize
        assert f == len(body), "fields do not fill the record"
        out.append((kind, (size, flags, form_id, vc), fields))
        at += 20 + size
    return out


class Books(GameTest):
    def data_files(self):
        return sorted(f for f in os.listdir(self.path("Data")) if f.endswith(".esp") or ".tmp" in f)

    def template(self):
        with open(os.path.join(SOURCE, "book", "KorvelCreatedBook.bin"), "rb") as f:
            return f.read()

    def test_book_matches_the_template_and_reads_back(self):
        self.run_ok(MODS + """
            set p to CreateString -1 "Folder\\\\MyBook.txt"
            set n to CreateString -1 "The Red Book"
            set t to CreateString -1 "Chapter one.\\r\\nIt was late."
            print CreateEspBook p n t
        """)
        self.assertEqual(self.data_files(), ["MyBook.esp"])
        with open(self.path("Data", "MyBook.esp"), "rb") as f:
            book = f.read()
        suffix = re.search(rb"KorvelCreatedBookScript([0-9A-F]{16})\0", book).group(1)
        self.assertNotEqual(suffix, PLACEHOLDER)
        self.assertEqual(book.count(suffix), 6)
        texts = [b"The Red Book", b"Clutter\\Books\\folio03.nif", b"Clutter\\iconbook2.dds",
                 b"Chapter one.\r\nIt was late."]
        tpl = self.template()
        # Byte for byte: the template with the suffix, the four texts and the
        # two sizes put in.
        expected = bytearray(tpl.replace(PLACEHOLDER, suffix))
        rebuilt = bytes(expected[:0x238])
        rebuilt += b"FULL" + struct.pack("<H", len(texts[0]) + 1) + texts[0] + b"\0"
        rebuilt += b"MODL" + struct.pack("<H", len(texts[1]) + 1) + texts[1] + b"\0"
        rebuilt += bytes(expected[0x267:0x271])
        rebuilt += b"ICON" + struct.pack("<H", len(texts[2]) + 1) + texts[2] + b"\0"
        rebuilt += b"DESC" + struct.pack("<H", len(texts[3]) + 1) + texts[3] + b"\0"
        rebuilt += bytes(expected[0x29C:])
        book_size = 94 + sum(len(t) for t in texts)
        rebuilt = bytearray(rebuilt)
        struct.pack_into("<I", rebuilt, 0x200, book_size)
        struct.pack_into("<I", rebuilt, 0x1EC, book_size + 40)
        self.assertEqual(book, bytes(rebuilt))

        records = read_records(book)
        self.assertEqual([r[0] for r in records], [b"VMRK", b"GRUP", b"GRUP", b"GRUP"])
        self.assertEqual([g[1][1] for g in records[1:]], [b"SCPT", b"BOOK", b"QUST"])
        header = dict(records[0][2])
        self.assertEqual(header[b"CNAM"], b"Korvel\0")
        self.assertEqual(struct.unpack("<fII", header[b"HEDR"]), (1.0, 6, 0x1C7C))
        script = records[1][2][0]
        source = dict(script[2])[b"SCTX"].split(b"\r\n")
        self.assertEqual(source[0], b"scn KorvelCreatedBookScript" + suffix)
        self.assertEqual(source[3], b"\tPlayer.AddItem KorvelCreatedBook" + suffix + b" 1")
        self.assertEqual(source[4], b"\tStopQuest KorvelCreatedBookQuest" + suffix)
        book_record = records[2][2][0]
        self.assertEqual(book_record[1][:3], (book_size, 0x400, 0x01000ED5))
        self.assertEqual(records[2][1][0], book_size + 40)
        bf = dict(book_record[2])
        self.assertEqual(bf[b"EDID"], b"KorvelCreatedBook" + suffix + b"\0")
        self.assertEqual([bf[k] for k in (b"FULL", b"MODL", b"ICON", b"DESC")],
                         [t + b"\0" for t in texts])
        quest = records[3][2][0]
        self.assertEqual(dict(quest[2])[b"EDID"], b"KorvelCreatedBookQuest" + suffix + b"\0")
        self.assertEqual(dict(quest[2])[b"SCRI"], struct.pack("<I", 0x01000ED3))

    def test_second_book_of_one_name_empty_texts_and_refusals(self):
        self.run_ok(MODS + """
            set p to CreateString -1 "MyBook"
            CreateEspBook p
            CreateEspBook p
            set long to CreateString -1 ""
            StringLen long 65535
            set q to CreateString -1 "LongBook"
            CreateEspBook q long
            CreateEspBook q -1 -1 long
            CreateEspBook q 999
            set dir to CreateString -1 "Folder\\\\"
            CreateEspBook dir
            StringLen long 65534
            set r to CreateString -1 "Longest"
            CreateEspBook r long
        """)
        files = self.data_files()
        self.assertIn("MyBook.esp", files)
        self.assertIn("Longest.esp", files)
        others = [f for f in files if f not in ("MyBook.esp", "Longest.esp")]
        self.assertEqual(len(others), 1, files)
        self.assertRegex(others[0], r"^KorvelCreatedBook[0-9A-F]{16}\.esp$")
        with open(self.path("Data", "MyBook.esp"), "rb") as f:
            first = dict(read_records(f.read())[2][2][0][2])
        self.assertEqual((first[b"FULL"], first[b"DESC"]), (b"\0", b"\0"))
        self.assertEqual(first[b"MODL"], b"Clutter\\Books\\folio03.nif\0")
        with open(self.path("Data", others[0]), "rb") as f:
            second = f.read()
        self.assertIn(others[0][:-4].encode()[len("KorvelCreatedBook"):], second)
        self.assertEqual(os.path.getsize(self.path("Data", "Longest.esp")), 787 - 156 + 94 + 65534 + 25 + 21)


class Nyxa(GameTest):
    def install_nyxa(self, source="Nyxa_1_2_0_416.dll", name="Nyxa_1_2_0_416.dll"):
        self.install()
        shutil.copyfile(os.path.join(DIST, source), self.plugins(name))

    SCRIPT = MODS + """
        set s to CreateString -1 "old"
        FromNyxa s 1
        printstr s
        print ToNyxa -10002
        print ToNyxa 999
        FromNyxa s 2
        printstr s
        SetString s "x"
        FromNyxa s 77
        printstr s
        FromNyxa -2000 1
        StringCat s -2000
        printstr s
    """

    def test_exchange_with_the_sibling(self):
        self.install_nyxa()
        lines = self.run_ok(self.SCRIPT)
        self.assertEqual(lines, ["nyxa one", "nyxa: set 2: 0123456789", "2", "-1",
                                 "0123456789", "", "nyxa one"])

    def test_sibling_texts_go_only_where_the_caller_may_write(self):
        self.install_nyxa()
        lines = self.run_ok("""
            mods Veldmark.esm Alpha.esp Beta.esp
            as Alpha.esp
            set p to CreateString -1 "locked" 1
            set o to CreateString -1 "open"
            as Beta.esp
            FromNyxa p 1 1
            FromNyxa o 1
            printstr p
            printstr o
            FromNyxa o 1 1
            printstr o
        """)
        self.assertEqual(lines, ["locked", "open", "nyxa one"])

    def test_without_a_usable_sibling_nothing_changes(self):
        for source, name in [(None, None), ("Nyxa_1_2_0_416.dll", "Nyxa_1_1_0_300.dll"),
                             ("nyxa-incomplete.dll", "Nyxa_1_2_0_416.dll")]:
            with self.subTest(name=name):
                self.tearDown()
                self.setUp()
                if source:
                    self.install_nyxa(source, name)
                lines = self.run_ok(self.SCRIPT)
                self.assertEqual(lines, ["old", "-1", "-1", "old", "x", "x"])


if __name__ == "__main__":
    unittest.main()
