"""The text commands in the stand-in game: compare, search, edit, sanitize,
scan codes, hexadecimal and formatted text."""
import unittest

from harness import GameTest

MODS = "mods Veldmark.esm Alpha.esp Beta.esp\n"


class SearchAndCompare(GameTest):
    def test_compare_and_position_rules(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set abc to CreateString -1 "abc"
            set abd to CreateString -1 "abd"
            set up to CreateString -1 "ABC"
            set ab to CreateString -1 "ab"
            set e to CreateString -1 ""
            set b to CreateString -1 "b"
            set bb to CreateString -1 "B"
            set abcabc to CreateString -1 "abcabc"
            set aa to CreateString -1 "aa"
            set aaaa to CreateString -1 "aaaa"
            print StringCmp abc abd
            print StringCmp abc up
            print StringCmp abc up 1
            print StringCmp ab abc
            print StringCmp e -1
            print StringCmp abc 999
            print StringPos b abcabc
            print StringPos b abcabc 3
            print StringPos b abcabc 1 -1 0 1
            print StringPos b abcabc 1 4 0 1
            print StringPos b abcabc 0
            print StringPos bb abc
            print StringPos bb abc 1 -1 1
            print StringPos aa aaaa 1 -1 0 1
            print StringPos -1 abc
            print StringPos -98 abcabc 1 -1 0 1
        """)
        self.assertEqual(lines, ["3", "0", "1", "3", "0", "1",
                                 "2", "5", "5", "2", "0", "0", "2", "3", "0", "5"])


class Edits(GameTest):
    def test_insert_replace_and_sanitize(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set xy to CreateString -1 "XY"
            set s to CreateString -1 "abcdef"
            StringIns xy s 3
            printstr s
            SetString s "abcdef"
            StringIns xy s 3 2
            printstr s
            SetString s "abcdef"
            StringIns xy s 10
            printstr s
            StringIns xy s 0
            StringIns xy s 1 -1
            printstr s
            set a to CreateString -1 "a"
            set b to CreateString -1 "b"
            SetString s "aaa"
            StringRep a b s
            printstr s
            SetString s "aaa"
            StringRep a b s 1 -1 0 1
            printstr s
            SetString s "aaa"
            StringRep a b s 2 -1 0 1
            printstr s
            SetString s "aaa"
            StringRep -1 b s 1 -1 0 1
            printstr s
            StringRep a b s 0 -1 0 1
            printstr s
            SetString s "Hello, World!"
            SanString s -10000
            printstr s
            SetString s "Hello, World!"
            SanString s -10000 -1 1
            printstr s
            SetString s "Hello, World!"
            SanString s -10000 3
            printstr s
            SanString s
            printstr s
        """)
        self.assertEqual(lines, ["abXYcdef", "abXYef", "abcdefXY", "abcdefXY",
                                 "baa", "bbb", "abb", "aaa", "aaa",
                                 "elloorld", "HelloWorld", "ell", ""])

    def test_replace_ignoring_case_uses_the_locale_and_stops_at_code_zero(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set s to CreateString -1 "Caf\\xE9 CAF\\xC9 caf\\xE9"
            set from to CreateString -1 "caf\\xC9"
            set to to CreateString -1 "tea"
            StringRep from to s 1 -1 1 1
            printstr s
            SetString s "a"
            StringCat s -256 -97
            StringRep -97 -98 s 1 -1 0 1
            print StringPos -98 s
            print StringPos -97 s 2
            print StringLen s
        """)
        self.assertEqual(lines, ["tea tea tea", "1", "3", "3"])

    def test_others_protected_strings_stay_unchanged(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set p to CreateString -1 "keep" 1
            as Beta.esp
            StringIns -97 p 1 0 1
            StringRep -107 -97 p 1 -1 0 1 1
            SanString p -1 -1 0 1
            IntToHex p 255 4 1 1
            csc 16 0 p 1 1
            FromNyxa p 1 1
            printstr p
        """)
        self.assertEqual(lines, ["keep"])


class ScanCodes(GameTest):
    def test_scan_codes_both_ways_on_two_layouts(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set s to CreateString -1 ""
            print csc 256
            print csc -1 0 s
            print csc 16
            printstr s
            print csc 16 1 s
            print csc 2 1 s
            printstr s
            print csc 21 0 s 0
            printstr s
            SetString s "q!"
            print rcsc s
            print rcsc s 2
            print rcsc s 0
            print rcsc s 3
            keyboard de
            print csc 21
            SetString s "z"
            print rcsc s
            keyboard us
            print rcsc s
        """)
        self.assertEqual(lines, ["-1", "-1", "113", "", "81", "33", "Q!", "121", "y",
                                 "16", "258", "0", "0", "122", "21", "44"])


class Formatted(GameTest):
    def test_int_to_hex(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set s to CreateString -1 ""
            IntToHex s 255
            printstr s
            IntToHex s 255 2
            printstr s
            IntToHex s 255 0
            printstr s
            IntToHex s 255 4 0 1
            printstr s
            IntToHex s -1 3
            printstr s
            IntToHex s -1 10
            printstr s
            IntToHex s 0 0
            printstr s
            IntToHex s 0 40
            printstr s
        """)
        self.assertEqual(lines, ["000000FF", "FF", "FF", "0x00FF", "FFFFFFFF", "00FFFFFFFF", "0", "0"])

    def test_fmt_string_language(self):
        lines = self.run_ok(MODS + """
            as Alpha.esp
            set s to CreateString -1 "before"
            FmtString s 0 "hp %.0f of %5.1f, %d%% [%-4d] %+.2e" 12.4 100 7.9 3 1500
            printstr s
            FmtString s 0 "no variables"
            printstr s
            FmtString s 0 "%g and %03d" 0.5 -7
            printstr s
            FmtString s 0 "%f" 
            printstr s
            FmtString s 0 "%s" 1
            printstr s
            FmtString s 0 "%.21f" 1
            printstr s
            FmtString s 0 "%" 1
            printstr s
            as none
            FmtString -2000 0 "temp %.1f" 2.75
            as Alpha.esp
            SetString s ""
            StringCat s -2000
            printstr s
        """)
        self.assertEqual(lines, ["hp 12 of 100.0, 7% [3   ] +1.50e+03", "no variables",
                                 "0.5 and -07", "0.5 and -07", "0.5 and -07", "0.5 and -07",
                                 "0.5 and -07", "temp 2.8"])


if __name__ == "__main__":
    unittest.main()
