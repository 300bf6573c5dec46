"""Symbolic links inside the user-file root, made on the host side, with
the real file and profile services: every file and INI command through a
link that leads out of the root acts as on a missing file and changes
nothing outside, and links that stay inside the root keep working."""
import os
import unittest

from harness import GameTest, inside_folder, snapshot

# Commands that only look: their output for a path reached through a link
# leading out must be that for a path that names nothing.
READS = r"""
set p to CreateString -1 "{path}"
set t to CreateString -1 "old"
print UserFileExists p
FileToString p t
printstr t
print GetFileSize p
print IniReadInt p sec key 3
IniReadString t p sec key dflt
printstr t
print IniKeyExists p sec key
print IniKeyExists p sec
print IniSectionsCount p
IniGetNthSection t p 1
printstr t
print FindFirstFile t p
printstr t
print FindFirstFile t p 0 1
printstr t
"""
MISSING = ["0", "old", "-1", "3", "dflt", "0", "0", "0", "", "0", "", "0", ""]

# Commands that change files; through a link leading out they report
# failure where they report anything and change nothing anywhere.
WRITES = r"""
set p to CreateString -1 "{path}"
print RenFile p taken
print DelFile p
StringToTxtFile p text
IniWriteInt p sec key 1
IniWriteString p sec key2 text
IniDelKey p sec key
IniDelKey p sec
"""

PRELUDE = r"""
set sec to CreateString -1 "S"
set key to CreateString -1 "k"
set key2 to CreateString -1 "k2"
set dflt to CreateString -1 "dflt"
set text to CreateString -1 "written"
set taken to CreateString -1 "taken.txt"
"""


class UserFileLinksTest(GameTest):
    def setUp(self):
        super().setUp()
        self.root = self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files")
        korvel = os.path.dirname(self.root)
        self.outside = self.path("outside")
        self.files = {
            os.path.join(self.outside, "far.txt"): b"far away",
            os.path.join(self.outside, "far.ini"): b"[S]\r\nk=7\r\n",
            os.path.join(self.outside, "sub", "deep.txt"): b"deep",
            os.path.join(korvel, "User Files2", "near.txt"): b"near",
            os.path.join(korvel, "kept.ini"): b"[S]\r\nk=5\r\n",
            os.path.join(self.root, "inner", "mine.txt"): b"mine",
            os.path.join(self.root, "inner", "mine.ini"): b"[S]\r\nk=9\r\n",
        }
        for name, data in self.files.items():
            os.makedirs(os.path.dirname(name), exist_ok=True)
            with open(name, "wb") as f:
                f.write(data)
        links = {
            "out": self.outside,                                    # a folder outside
            "far.txt": os.path.join(self.outside, "far.txt"),       # a file outside
            "far.ini": os.path.join(self.outside, "far.ini"),
            "nowhere.txt": os.path.join(self.outside, "none.txt"),  # leads nowhere
            "nowhere.ini": os.path.join(self.outside, "none.ini"),
            "nowhere": os.path.join(self.outside, "none"),
            "up": "..",                                             # the root's parent
            "near": os.path.join("..", "User Files2"),              # a name the root's begins
            "alias": "inner",                                       # back inside
            "alias.txt": os.path.join("inner", "mine.txt"),
            "self": ".",
        }
        for name, target in links.items():
            os.symlink(target, os.path.join(self.root, name))
        # The folder the search is tried on: two links leading out among
        # entries that stay inside.
        listed = os.path.join(self.root, "listed")
        os.makedirs(os.path.join(listed, "plain"))
        with open(os.path.join(listed, "plain.txt"), "wb") as f:
            f.write(b"plain")
        os.symlink(os.path.join(self.outside, "far.txt"), os.path.join(listed, "far.txt"))
        os.symlink(self.outside, os.path.join(listed, "out"))
        os.symlink(os.path.join("..", "inner", "mine.txt"), os.path.join(listed, "mine.txt"))
        os.symlink(os.path.join("..", "inner"), os.path.join(listed, "inner"))
        # Everything beside the root, and the root itself with links not
        # followed, as it was before the game ran.
        self.beside = [self.outside, korvel]
        self.before = {top: snapshot(top, skip=self.root) for top in self.beside}

    def assert_nothing_changed_outside(self):
        for top in self.beside:
            self.assertEqual(snapshot(top, skip=self.root), self.before[top], top)
        for name, data in self.files.items():
            if not inside_folder(name, self.root):
                with open(name, "rb") as f:
                    self.assertEqual(f.read(), data, name)

    def run_script(self, body):
        return self.run_ok(PRELUDE + body)

    LEADING_OUT = ["far.txt", "far.ini", "out/far.txt", "out/far.ini", "out/sub/deep.txt",
                   "up/kept.ini", "near/near.txt", "self/up/kept.ini", "alias/../out/far.ini",
                   "nowhere.txt", "nowhere.ini", "out/*", "out/sub/*", "up/*"]

    def test_reads_through_links_leading_out_find_nothing(self):
        paths = ["missing.txt"] + self.LEADING_OUT
        lines = self.run_script("".join(READS.format(path=p) for p in paths))
        self.assertEqual(len(lines), len(MISSING) * len(paths))
        blocks = [lines[i:i + len(MISSING)] for i in range(0, len(lines), len(MISSING))]
        self.assertEqual(blocks[0], MISSING)
        for path, block in zip(paths[1:], blocks[1:]):
            self.assertEqual(block, MISSING, path)
        self.assert_nothing_changed_outside()

    def test_writes_through_links_leading_out_change_nothing(self):
        paths = self.LEADING_OUT[:8] + ["out/new.txt", "out/made/deeper/new.txt",
                                        "up/new.ini", "near/new.txt", "nowhere/new.txt",
                                        "nowhere.txt", "nowhere.ini"]
        lines = self.run_script("".join(WRITES.format(path=p) for p in paths) + r"""
            set mine to CreateString -1 "inner/mine.txt"
            set onto to CreateString -1 "out/moved.txt"
            print RenFile mine onto
            set onto to CreateString -1 "near/moved.txt"
            print RenFile mine onto
            """)
        self.assertEqual(lines, ["0", "0"] * len(paths) + ["0", "0"])
        self.assert_nothing_changed_outside()
        # Nothing was made through the links that lead nowhere, nor moved.
        for name in ("nowhere.txt", "nowhere.ini", "nowhere"):
            self.assertTrue(os.path.islink(os.path.join(self.root, name)), name)
        self.assertFalse(os.path.lexists(os.path.join(self.root, "taken.txt")))
        with open(os.path.join(self.root, "inner", "mine.txt"), "rb") as f:
            self.assertEqual(f.read(), b"mine")

    def test_the_search_passes_over_links_leading_out(self):
        lines = self.run_script(r"""
            set t to CreateString -1 ""
            set m to CreateString -1 "listed/*"
            print FindFirstFile t m
            printstr t
            print FindNextFile t
            printstr t
            print FindNextFile t
            printstr t
            print FindFirstFile t m 0 1
            printstr t
            print FindNextFile t
            printstr t
            print FindNextFile t
            printstr t
            print FindNextFile t
            printstr t
            print FindNextFile t
            printstr t
            set m to CreateString -1 "listed/f*"
            print GetFileSize m
            set m to CreateString -1 "listed/p*.txt"
            print GetFileSize m
            """)
        files, folders, sizes = lines[:6], lines[6:16], lines[16:]
        # The entries come in the order the file system keeps them.
        self.assertEqual(files[0::2], ["1", "1", "0"])
        self.assertEqual(sorted(files[1::2]), ["", "mine.txt", "plain.txt"])
        self.assertEqual(folders[0::2], ["1", "1", "1", "1", "0"])
        self.assertEqual(sorted(folders[1::2]), ["", ".", "..", "inner", "plain"])
        self.assertEqual(sizes, ["-1", "5"])

    def test_links_that_stay_inside_keep_working(self):
        with open(os.path.join(self.root, "inner", "other.txt"), "wb") as f:
            f.write(b"other")
        os.symlink(os.path.join("inner", "other.txt"), os.path.join(self.root, "other.txt"))
        lines = self.run_script(r"""
            set t to CreateString -1 ""
            set p to CreateString -1 "alias.txt"
            print UserFileExists p
            FileToString p t
            printstr t
            print GetFileSize p
            set p to CreateString -1 "self/alias/mine.txt"
            StringToTxtFile p text 0
            FileToString p t
            printstr t
            set p to CreateString -1 "alias/mine.ini"
            print IniReadInt p sec key 0
            IniWriteInt p sec key2 2
            print IniSectionsCount p
            set p to CreateString -1 "alias/made/new.ini"
            IniWriteInt p sec key 4
            set p to CreateString -1 "self/made/new.txt"
            StringToTxtFile p text 0
            set p to CreateString -1 "other.txt"
            set q to CreateString -1 "renamed.txt"
            print RenFile p q
            print DelFile q
            """)
        self.assertEqual(lines, ["1", "mine", "4", "minewritten", "9", "1", "1", "1"])
        inner = os.path.join(self.root, "inner")
        with open(os.path.join(inner, "mine.ini"), "rb") as f:
            self.assertEqual(f.read().replace(b"\r\n", b"\n").strip(), b"[S]\nk=9\nk2=2")
        with open(os.path.join(inner, "made", "new.ini"), "rb") as f:
            self.assertEqual(f.read().replace(b"\r\n", b"\n").strip(), b"[S]\nk=4")
        with open(os.path.join(self.root, "made", "new.txt"), "rb") as f:
            self.assertEqual(f.read(), b"written")
        # Renaming and deleting go through (Windows acts on the link itself,
        # Wine on the file it leads to); either way within the root.
        self.assertFalse(os.path.lexists(os.path.join(self.root, "renamed.txt")))
        with open(os.path.join(inner, "mine.txt"), "rb") as f:
            self.assertEqual(f.read(), b"minewritten")
        # Whatever the script made lies inside the root as the host sees it.
        for folder, _, names in os.walk(self.root):
            for name in names:
                self.assertTrue(inside_folder(os.path.join(folder, name), self.root) or
                                os.path.islink(os.path.join(folder, name)), name)
        self.assert_nothing_changed_outside()


if __name__ == "__main__":
    unittest.main()
