"""The user text file commands in the stand-in game: the shared search in
files and folders mode and across scripts, whole-file reads of binary
content, renames, sizes past 2 GiB, appending and the script runner."""
import os
import unittest

from harness import GameTest, inside_folder, snapshot


class UserFilesTest(GameTest):
    def user(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files", *parts)

    def put(self, relative, data):
        path = self.user(*relative.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def read(self, relative):
        with open(self.user(*relative.split("/")), "rb") as f:
            return f.read()

    def test_search_with_one_file_ends_after_it(self):
        self.put("only.txt", b"x")
        os.makedirs(self.user("folder"))
        lines = self.run_ok(r"""
            set t to CreateString -1 "old"
            print FindFirstFile t
            printstr t
            print FindNextFile t
            printstr t
            print FindNextFile t
            """)
        self.assertEqual(lines, ["1", "only.txt", "0", "", "0"])

    def test_folders_mode_lists_dot_entries_and_survives_across_scripts(self):
        self.put("file.txt", b"x")
        for name in ("alpha", "beta"):
            os.makedirs(self.user(name))
        lines = self.run_ok(r"""
            mods Veldmark.esm A.esp B.esp
            as A.esp
            set t to CreateString -1 ""
            print FindFirstFile t -42 0 1
            printstr t
            as B.esp
            set u to CreateString -1 ""
            print FindNextFile u
            printstr u
            as none
            print FindNextFile t 1
            printstr t
            as A.esp
            print FindNextFile t
            printstr t
            print FindNextFile t
            printstr t
            """)
        self.assertEqual(lines[0::2], ["1", "1", "1", "1", "0"])
        self.assertEqual(sorted(lines[1::2][:4]), [".", "..", "alpha", "beta"])
        self.assertEqual(lines[9], "")

    def test_file_to_string_keeps_every_byte(self):
        data = bytes(range(256)) + b"\r\n\n\r\x00\x00end"
        self.put("in/bin.dat", data)
        lines = self.run_ok(r"""
            set f to CreateString -1 "in/bin.dat"
            set out to CreateString -1 "out/copy.dat"
            set t to CreateString -1 "old"
            FileToString f t
            print StringLen t
            StringToTxtFile out t 0
            set missing to CreateString -1 "missing.dat"
            FileToString missing t
            print StringLen t
            """)
        # A missing file leaves the string's text as it was.
        self.assertEqual(lines, [str(len(data)), str(len(data))])
        self.assertEqual(self.read("out/copy.dat"), data)

    def test_rename_never_replaces_a_file(self):
        self.put("a.txt", b"A")
        self.put("b.txt", b"B")
        lines = self.run_ok(r"""
            set a to CreateString -1 "a.txt"
            set b to CreateString -1 "b.txt"
            set c to CreateString -1 "../c.txt"
            print RenFile a b
            print RenFile a c
            print UserFileExists a
            print DelFile c
            print DelFile c
            """)
        self.assertEqual(lines, ["0", "1", "0", "1", "0"])
        self.assertEqual(self.read("b.txt"), b"B")
        self.assertFalse(os.path.exists(self.user("a.txt")))

    def test_sizes_past_two_gibibytes_are_minus_two(self):
        self.put("five.txt", b"12345")
        big = self.user("big.dat")
        with open(big, "wb") as f:
            f.truncate(3 * 1024 ** 3)  # sparse: takes no disk space
        lines = self.run_ok(r"""
            set big to CreateString -1 "big.dat"
            set five to CreateString -1 "f*.txt"
            set missing to CreateString -1 "none.txt"
            print GetFileSize big
            print GetFileSize five
            print GetFileSize missing
            """)
        self.assertEqual(lines, ["-2", "5", "-1"])

    def test_appending_creates_files_below_the_root(self):
        before = snapshot(self.game)
        lines = self.run_ok(r"""
            set s to CreateString -1 "hello"
            set fresh to CreateString -1 ".\\fresh.txt"
            set deep to CreateString -1 "new/deeper/file.txt"
            set escape to CreateString -1 "..\\..\\..\\escape.txt"
            StringToTxtFile fresh s
            StringToTxtFile fresh s 0
            StringToTxtFile deep s 0
            StringToTxtFile escape s
            print UserFileExists fresh
            print UserFileExists fresh 257
            """)
        self.assertEqual(lines, ["1", "0"])
        self.assertEqual(self.read("fresh.txt"), b"hello\r\nhello")
        self.assertEqual(self.read("new/deeper/file.txt"), b"hello")
        self.assertEqual(self.read("escape.txt"), b"hello\r\n")
        self.assertFalse(os.path.exists(self.path("Documents", "My Games", "escape.txt")))
        # Every file the run made, but the game's own (its program, the
        # script, the plug-in folder with the log), lies inside the root as
        # the host resolves it.
        own = (self.path("Veldmark.exe"), self.path("test-script.kvs"))
        made = [p for p, kind in snapshot(self.game).items()
                if kind[0] == "file" and p not in before and p not in own and
                not inside_folder(p, self.plugins())]
        self.assertIn(self.user("escape.txt"), made)
        self.assertEqual([p for p in made if not inside_folder(p, self.user())], [])

    def test_run_bat_string_runs_a_script_line(self):
        lines = self.run_ok(r"""
            set s to CreateString -1 "print LC 0 \"6*7\""
            RunBatString s
            set again to CreateString -1 "RunBatString again"
            RunBatString again
            echo the game goes on
            """)
        self.assertEqual(lines[:2], ['script line: print LC 0 "6*7"', "42"])
        # A line that runs itself ends at a bounded depth.
        self.assertEqual(lines[-1], "the game goes on")
        self.assertTrue(8 <= lines.count("script line: RunBatString again") <= 16)


if __name__ == "__main__":
    unittest.main()
