"""Numbers in text keep "." as their decimal separator when another module
of the game switches the C runtime it shares with the plug-ins to a locale
whose separator is ",": string conversions, INI floats, the calculator and
floats kept in the co-save give exactly what they give in the "C" locale."""
import os
import sys
import unittest

from harness import DIST, SOURCE, GameTest

sys.path.insert(0, os.path.join(SOURCE, "tests", "static"))
import check_pe  # noqa: E402

COMMA_LOCALE = 'locale "German_Germany.1252"'

# Every way a number becomes text or text a number, with what the "C"
# locale gives.
NUMBERS = [
    ('set s to CreateString -1 " -2.5e-1 "', None),
    ("print StringToFloat s", "-0.25"),
    ('SetString s "1234.5678"', None),
    ("print StringToFloat s", "1234.5678"),
    # The comma is no decimal separator, whatever the locale says.
    ('SetString s "1,5"', None),
    ("print StringToFloat s", "0"),
    ("FloatToString s 1.25 3", None),
    ("printstr s", "1.250"),
    ("FloatToString s -0.1", None),
    ("printstr s", "-0.1000000"),
    ("FloatToString s 12345678 2", None),
    ("printstr s", "1.234568E+7"),
    ('set f to CreateString -1 "numbers.ini"', None),
    ('set sec to CreateString -1 "N"', None),
    ('set k to CreateString -1 "tenth"', None),
    ("IniWriteFloat f sec k 0.1", None),
    ("print IniReadFloat f sec k 7", "0.10000000149011612"),
    ('SetString k "big"', None),
    ("IniWriteFloat f sec k -1.5e20", None),
    ("print IniReadFloat f sec k 7", "-150000003006131601408"),
    ('SetString k "small"', None),
    ("IniWriteFloat f sec k 0.0000125", None),
    ("print IniReadFloat f sec k 7", "1.249999968422344e-05"),
    ('SetString k "comma"', None),
    ("print IniReadFloat f sec k 7", "7"),
    ('print LC 0 "1.5 * 2.25"', "3.375"),
    ('print LC 1 "2.5 + 0.25"', "3"),
    ('print LC 0 "$0 / 8 - .125" 3', "0.25"),
    ('set e to CreateString -1 "0.5p2 + 1.75"', None),
    ("print StrLC 0 e", "2"),
    ("set a to CreateArray -1 2", None),
    ("SetFloatInArray a 0 0.1", None),
    ("SetFloatInArray a 1 -2.5", None),
    ('set n to CreateString -1 "3.75"', None),
    ("save Slot", None),
    ("load Slot", None),
    ("print IsKorvelDataReset", "0"),
    ("print GetInArray a 0", "0.10000000149011612"),
    ("print GetInArray a 1", "-2.5"),
    ("printstr n", "3.75"),
    ("print StringToFloat n", "3.75"),
]

# The INI file as written, apart from the key the script reads unwritten.
INI_LINES = ["[N]", "comma=2,5", "tenth=0.100000001490116", "big=-1.50000003006132E20",
             "small=0.0000124999996842234"]


class CommaLocale(GameTest):
    def user(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files", *parts)

    def run_numbers(self, folder, first_line):
        """Runs NUMBERS after first_line in a game folder of its own below
        this test's; returns the printed lines and the INI file's lines."""
        base = self.game
        self.game = os.path.join(base, folder)
        try:
            os.makedirs(self.user())
            with open(self.user("numbers.ini"), "wb") as f:
                f.write(b"[N]\r\ncomma=2,5\r\n")
            lines = self.run_ok("\n".join([first_line] + [line for line, _ in NUMBERS]) + "\n")
            with open(self.user("numbers.ini"), "rb") as f:
                ini = f.read().decode("latin-1").replace("\r\n", "\n").strip().split("\n")
        finally:
            self.game = base
        return lines, ini

    def test_numbers_read_and_write_alike_in_a_comma_locale(self):
        expected = [out for _, out in NUMBERS if out is not None]
        plain, plain_ini = self.run_numbers("plain", "echo C locale")
        self.assertEqual(plain, ["C locale"] + expected)
        comma, comma_ini = self.run_numbers("comma", COMMA_LOCALE)
        # The locale took in the shared runtime: its own printf writes a comma.
        self.assertEqual(comma[0], "game: locale German_Germany.1252, 1.5 prints as 1,5")
        self.assertEqual(comma[1:], expected)
        self.assertEqual(plain_ini, INI_LINES)
        self.assertEqual(comma_ini, plain_ini)

    def test_plug_in_and_game_share_one_c_runtime(self):
        # The directive changes msvcrt.dll's locale; it reaches the plug-in
        # only because the plug-in uses that same runtime.
        for name in ("Qarn_Tovi_Korvel.dll", "Veldmark.exe"):
            with open(os.path.join(DIST, name), "rb") as f:
                imports = [dll.lower() for dll in check_pe.Image(f.read()).imports()]
            self.assertIn("msvcrt.dll", imports, name)

    def test_a_locale_the_runtime_does_not_know_stops_the_script(self):
        status, _ = self.run_game('locale "Nowhere_Noland.9999"\n')
        self.assertEqual(status, 2)
        self.assertIn("does not know the locale Nowhere_Noland.9999", self.last_error)


if __name__ == "__main__":
    unittest.main()
