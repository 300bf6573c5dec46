"""The game's save traffic: co-saves follow renames and deletes, peeks
change nothing, and the data-reset flag follows loads and resets."""
import os
import unittest

from harness import GameTest


class SaveFiles(GameTest):
    def saves(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Saves", *parts)

    def plant(self, name, data=b"stale co-save"):
        os.makedirs(self.saves(), exist_ok=True)
        with open(self.saves(name), "wb") as f:
            f.write(data)

    def listing(self):
        return sorted(os.listdir(self.saves()))

    def test_rename_and_delete_carry_the_co_save(self):
        self.run_ok("save Quick\n")
        self.plant("Quick.korvel", b"A")
        self.plant("Old.bak.korvel", b"B")
        self.plant("Old.bak")
        self.run_ok("""
            rename Quick.ess Quick.bak
            rename Old.bak Older.bak
        """)
        self.assertEqual(self.listing(), ["Older.bak", "Older.bak.korvel", "Quick.bak", "Quick.bak.korvel"])
        with open(self.saves("Quick.bak.korvel"), "rb") as f:
            self.assertEqual(f.read(), b"A")
        self.run_ok("delete Quick.bak\n")
        self.assertEqual(self.listing(), ["Older.bak", "Older.bak.korvel"])
        self.run_ok("save Upper.ESS\n")
        self.plant("Upper.korvel")
        self.run_ok("delete Upper.ESS\n")
        self.assertNotIn("Upper.korvel", self.listing())

    def test_a_backup_put_back_as_a_save_keeps_its_co_save(self):
        lines = self.run_ok("""
            set s to CreateString -1 "kept across renames"
            save Quick
            rename Quick.ess Quick.bak
            rename Quick.bak Back.ess
            reset
            load Back
            print IsKorvelDataReset
            printstr 0
        """)
        self.assertIn("Back.korvel", self.listing())
        self.assertEqual(lines, ["0", "kept across renames"])

    def test_other_extensions_pass_untouched(self):
        self.plant("notes.txt")
        self.plant("notes.korvel")
        self.run_ok("rename notes.txt moved.txt\ndelete moved.txt\n")
        self.assertEqual(self.listing(), ["notes.korvel"])

    def test_saving_with_empty_registries_removes_a_stale_co_save(self):
        self.plant("Slot1.korvel")
        self.run_ok("save Slot1\n")
        self.assertEqual(self.listing(), ["Slot1.ess"])

    def test_data_reset_flag(self):
        lines = self.run_ok("""
            print IsKorvelDataReset
            save NoCoSave
            load NoCoSave
            print IsKorvelDataReset
            reset
            print IsKorvelDataReset
        """)
        self.assertEqual(lines, ["1", "1", "1"])


if __name__ == "__main__":
    unittest.main()
