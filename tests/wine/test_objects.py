"""Strings, arrays and fixed names used by game scripts of several mods,
through the real DLL in the stand-in game."""
import unittest

from harness import GameTest

MODS = "mods Veldmark.esm Alpha.esp Beta.esp\n"


class Strings(GameTest):
    def test_ownership_protection_and_global_across_mods(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set open to CreateString -1 "open"
            set locked to CreateString -1 "locked" 1
            as Beta.esp
            SetString open "beta without global"
            printstr open
            SetString open "beta with global" 1
            printstr open
            SetString locked "beta" 1
            printstr locked
            DestroyString locked 1
            printstr locked
            print StringProtect open 1
            print StringEsp locked 2 1
            as Alpha.esp
            print StringEsp locked 2
            DestroyAllStrings
            printstr open
        """)
        self.assertEqual(lines, ["open", "beta with global", "locked", "locked", "0", "1", "2", "<none>"])

    def test_temporary_strings_refuse_zero_and_scripts_without_form_id(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            SetString -2000 "from alpha"
            print CreateString -1 "" 0 1
            print CreateString
            as Beta.esp
            set s to CreateString -1 "beta: "
            StringCat s -2000
            printstr s
            as none
            print CreateString
            print GetEsp
            print CreateString 1 "for alpha"
            SetString s "from none"
            printstr s
            SetString s "from none" 1
            printstr s
        """)
        self.assertEqual(lines, ["1", "0", "beta: from alpha", "-1", "-1", "3", "beta: from alpha", "from none"])

    def test_get_esp_and_the_mod_list(self):
        lines = self.run_ok(MODS + """
            as Beta.esp
            print GetEsp
            print GetEsp "alpha.ESP"
            print GetEsp "Missing.esp"
            set s to CreateString
            EspToString s 1
            printstr s
            EspToString s 1 0 0
            printstr s
        """)
        self.assertEqual(lines, ["2", "1", "-1", "alpha.esp", "Alpha.esp"])
        log = self.log_lines()
        start = log.index("/////  ModIndex Filename  /////")
        self.assertEqual(log[start + 1:start + 4], ["00 Veldmark.esm", "01 Alpha.esp", "02 Beta.esp"])

    def test_long_literals_and_absurd_lengths_change_nothing(self):
        long_text = "x" * 5000
        lines = self.run_ok(MODS + f"""
            as Alpha.esp
            set s to CreateString -1 "{long_text}"
            print StringLen s
            print StringLen s 2000000000
            StringCat s s s s s s s s s s s s s s s s s s s s s
            print StringLen s
        """)
        self.assertEqual(lines, ["4096", "4096", str(4096 * 21)])

    def test_number_texts_in_the_game_runtime(self):
        # The game's C runtime formats and parses here, not the host's.
        lines = self.run_ok("""
            set s to CreateString -1 ""
            FloatToString s 123456.25 1
            printstr s
            FloatToString s 12345685 0
            printstr s
            FloatToString s 0.1 7
            printstr s
            FloatToString s -2.5 0
            printstr s
            SetString s " 1.5e3 "
            print StringToFloat s
            SetString s "1e400"
            print StringToFloat s
            SetString s "$7FFFFFFF"
            print StringToInt s
        """)
        self.assertEqual(lines, ["123456.3", "1.234569E+7", "0.1000000", "-3", "1500", "0", "2147483647"])

    def test_wrong_script_lines_never_reach_the_plug_in(self):
        status, lines = self.run_game(MODS + "as Alpha.esp\nset s to CreateString -1 \"ok\"\nSetString s 5\n")
        self.assertEqual(status, 2)
        self.assertIn("line 4: argument 2 (String) is a quoted text", self.last_error)
        status, lines = self.run_game(MODS + "as Nobody.esp\n")
        self.assertEqual(status, 2)
        status, lines = self.run_game("NoSuchCommand 1\n")
        self.assertEqual(status, 2)


class Arrays(GameTest):
    def test_arrays_across_two_mods(self):
        lines = self.run_ok(MODS + """
            form #01000ABC "Iron Sword"
            as Alpha.esp
            set a to CreateArray -1 3 1
            SetFloatInArray a 0 0.1
            SetRefInArray a 1 #01000ABC
            SetInArray a 2 -7
            as Beta.esp
            SetInArray a 2 99 0 1
            print GetInArray a 2
            set b to CopyArray a
            print ArrayCmp a b
            print ArrayEsp b
            print ArrayProtect b
            SetInArray b 2 99
            print ArrayCmp a b
            print ArrayCmp a 77 1
            print ArrayCmp 76 77 1
            print ArrayCmp 76 77
            print GetInArray b 0
            print FindFloatInArray b 0.1
            printhex GetInArray b 1
            print FindRefInArray b #01000ABC
            print DestroyArray a 1
            as Alpha.esp
            print DestroyArray a
        """)
        self.assertEqual(lines, ["-7", "1", "2", "1", "0", "-2", "-3", "0", "0.10000000149011612", "0",
                                 "01000ABC", "1", "0", "-1"])


class OutOfMemory(GameTest):
    """A game whose address space is nearly used up: a command that cannot
    get its memory changes nothing and the game goes on."""

    def test_failed_growth_leaves_objects_whole(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set a to CreateArray -1 10 0
            SetInArray a 9 5
            set s to CreateString -1 "kept"
            squeeze 20
            ; room for the type row of 8388607 slots, not for the value row:
            ; the array stays as it was and the result is its size after the step
            print ArraySize a 8388607
            print ArraySize a -1
            print SetInArray a 8000000 1 1
            print ArraySize a -1
            print StringLen s 30000000
            printstr s
            print CreateArray -1 8388607
            print GetInArray a 9
            squeeze 1024
            print ArraySize a 8388607
            SetInArray a 8388606 7
            print GetInArray a 8388606
        """)
        self.assertEqual(lines, ["game: 20 MiB of address space left", "10", "10", "0", "10", "4", "kept",
                                 "-1", "5", "game: 1024 MiB of address space left", "8388607", "7"])


class Names(GameTest):
    def test_fixed_names(self):
        lines = self.run_ok(MODS + """
            form #01000ABC "Iron Sword"
            form #01000F00 "Guard" base #01000ABC
            as Alpha.esp on #01000F00
            set a to CreateString -1 "First"
            set b to CreateString -1 "Second"
            FixName #01000ABC a
            FixName #01000ABC b
            StringSetName #01000ABC a
            printname #01000ABC
            ResetName #01000ABC
            printname #01000ABC
            print HasFixedName #01000ABC
            FixNameEx b
            printname #01000F00
            set ending to CreateString -1 "!"
            KrvlSpcl 1 16781056 -1 ending
            printname #01000F00
            print HasFixedName
        """)
        self.assertEqual(lines, ["First", "Iron Sword", "0", "Second", "Second!", "1"])


if __name__ == "__main__":
    unittest.main()
