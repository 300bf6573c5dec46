"""The INI commands in the stand-in game with the real profile services:
every value format, folders made on demand, sections in file order, keys
and sections tested and deleted, roots, and a read-only file."""
import os
import stat
import unittest

from harness import GameTest

STRINGS = """
set f to CreateString -1 "{file}"
set sec to CreateString -1 "{section}"
"""


class IniTest(GameTest):
    def user(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files", *parts)

    def put(self, path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def test_written_values_read_back_in_their_formats(self):
        lines = self.run_ok(STRINGS.format(file="sub/dir/my.ini", section="Main") + r"""
            form #0001A2B3 "Thing"
            set ki to CreateString -1 "i"
            set kf to CreateString -1 "f"
            set kr to CreateString -1 "r"
            set ks to CreateString -1 "s"
            set text to CreateString -1 "some text"
            set none to 0
            IniWriteInt f sec ki -42
            IniWriteFloat f sec kf 0.1
            IniWriteRef f sec kr #0001A2B3
            IniWriteString f sec ks text
            print IniReadInt f sec ki 7
            print IniReadFloat f sec kf 7
            printhex IniReadRef f sec kr none
            set t to CreateString -1 "old"
            IniReadString t f sec ks -1
            printstr t
            """)
        self.assertEqual(lines, ["-42", "0.10000000149011612", "0001A2B3", "some text"])
        text = self.read(self.user("sub", "dir", "my.ini")).decode("latin-1").replace("\r\n", "\n")
        self.assertEqual(text.strip().split("\n"),
                         ["[Main]", "i=-42", "f=0.100000001490116", "r=0001A2B3", "s=some text"])

    def test_each_format_row_reads_or_falls_back(self):
        self.put(self.user("v.ini"), b"[V]\r\nhex=0x1F\r\ndollar=$1F\r\nbad=1F\r\nneg=-2.5\r\n"
                 b"big=5E39\r\nabc=abc\r\nref=0001a2b3\r\nshort=1A2B3\r\n")
        script = STRINGS.format(file="v.ini", section="V") + 'form #00000ABC "Fallback"\n'
        for key in ("hex", "dollar", "bad", "neg", "big", "abc", "none"):
            script += 'set k to CreateString -1 "%s"\nprint IniReadInt f sec k -1\n' % key
            script += "print IniReadFloat f sec k -1\n"
        for key in ("ref", "short"):
            script += 'set k to CreateString -1 "%s"\nprinthex IniReadRef f sec k #00000ABC\n' % key
        lines = self.run_ok(script)
        self.assertEqual(lines, ["31", "-1", "31", "-1", "-1", "-1", "-1", "-2.5", "-1", "-1",
                                 "-1", "-1", "-1", "-1", "0001A2B3", "00000ABC"])

    def test_sections_in_file_order_and_key_tests(self):
        self.put(self.user("s.ini"), b"[Zeta]\r\na=1\r\n[Alpha]\r\nB=2\r\n[Empty]\r\n")
        lines = self.run_ok(STRINGS.format(file="s.ini", section="Alpha") + r"""
            set t to CreateString -1 ""
            print IniSectionsCount f
            IniGetNthSection t f 0
            printstr t
            IniGetNthSection t f 1
            printstr t
            IniGetNthSection t f 2
            printstr t
            IniGetNthSection t f 3
            printstr t
            IniGetNthSection t f 4
            printstr t
            set kb to CreateString -1 "b"
            print IniKeyExists f sec kb
            print IniKeyExists f sec
            set empty to CreateString -1 "Empty"
            print IniKeyExists f empty
            set missing to CreateString -1 "Missing"
            print IniKeyExists f missing
            IniDelKey f sec kb
            print IniKeyExists f sec kb
            set zeta to CreateString -1 "Zeta"
            IniDelKey f zeta
            print IniSectionsCount f
            """)
        self.assertEqual(lines, ["3", "", "Zeta", "Alpha", "Empty", "", "1", "1", "0", "0", "0", "2"])

    def test_root_id_low_bits_choose_the_data_folder(self):
        self.install()
        self.put(self.path("Data", "d.ini"), b"[S]\r\nk=11\r\n")
        lines = self.run_ok(STRINGS.format(file="d.ini", section="S") + r"""
            set k to CreateString -1 "k"
            print IniReadInt f sec k 0 1
            print IniReadInt f sec k 0 257
            print IniReadInt f sec k 0 0
            print IniKeyExists f sec k 1
            IniWriteInt f sec k 5
            print IniReadInt f sec k 0 1
            print IniReadInt f sec k 0
            """)
        self.assertEqual(lines, ["11", "11", "0", "1", "11", "5"])

    def test_a_read_only_file_refuses_writes_and_keeps_its_bytes(self):
        original = b"[S]\r\nk=1\r\n"
        path = self.user("ro.ini")
        self.put(path, original)
        os.chmod(path, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        try:
            lines = self.run_ok(STRINGS.format(file="ro.ini", section="S") + r"""
                set k to CreateString -1 "k"
                IniWriteInt f sec k 2
                print IniReadInt f sec k 0
                IniDelKey f sec k
                IniDelKey f sec
                print IniKeyExists f sec k
                """)
            self.assertEqual(lines, ["1", "1"])
            self.assertEqual(self.read(path), original)
        finally:
            os.chmod(path, stat.S_IRUSR | stat.S_IWUSR)


if __name__ == "__main__":
    unittest.main()
