"""Everything a mod keeps survives saving and loading through the co-save,
across load-order changes, old and damaged co-saves."""
import os
import struct
import unittest
import zlib

from harness import GameTest

MODS = "mods Veldmark.esm Alpha.esp Beta.esp Gamma.esp\n"
FORMS = """
form #01000ABC "Iron Sword"
form #02000DEF "Old Shield"
form #03000123 "Gamma Helm"
"""


class SaveLoad(GameTest):
    def saves(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Saves", *parts)

    def test_every_registry_round_trips(self):
        self.run_ok(MODS + FORMS + """
            as Alpha.esp
            set s to CreateString -1 "alpha text"
            set p to CreateString -1 "protected" 1
            set a to CreateArray -1 3
            SetInArray a 0 -5
            SetFloatInArray a 1 0.1
            SetRefInArray a 2 #02000DEF
            FixName #01000ABC s
            as Beta.esp
            set t to CreateString -1 "beta" 0 1
            save Slot1
        """)
        self.assertTrue(os.path.exists(self.saves("Slot1.korvel")))
        lines = self.run_ok(MODS + FORMS + """
            reset
            printname #01000ABC
            print IsKorvelDataReset
            load Slot1
            print IsKorvelDataReset
            printstr 0
            printstr 1
            printstr 2
            printstr 3
            print StringProtect 1
            print StringEsp 2
            print GetInArray 0 0
            print GetInArray 0 1
            printhex GetInArray 0 2
            print GetTypeInArray 0 2
            print ArraySize 0
            printname #01000ABC
            print HasFixedName #01000ABC
        """)
        self.assertEqual(lines, ["Iron Sword", "1", "0", "alpha text", "protected", "beta", "<none>",
                                 "1", "2", "-5", "0.10000000149011612", "02000DEF", "1", "3",
                                 "alpha text", "1"])

    def test_load_order_change_remaps_and_reassigns(self):
        self.run_ok(MODS + FORMS + """
            as Beta.esp
            set a to CreateArray -1 2
            SetRefInArray a 0 #02000DEF
            SetRefInArray a 1 #01000ABC
            FixName #02000DEF -1
            as Alpha.esp
            set s to CreateString -1 "alpha"
            as Gamma.esp
            set g to CreateString -1 "gamma"
            save Slot2
        """)
        # Alpha is gone; New comes in front and takes the EspID Alpha left free.
        lines = self.run_ok("""
            mods Veldmark.esm New.esp Gamma.esp Beta.esp
            form #03000DEF "Old Shield"
            form #02000123 "Gamma Helm"
            load Slot2
            print GetEsp "New.esp"
            print GetEsp "Gamma.esp"
            print GetEsp "Beta.esp"
            printhex GetInArray 0 0
            printhex GetInArray 0 1
            print StringLen 0
            printstr 1
            print HasFixedName #03000DEF
            printname #03000DEF
        """)
        # String 0 of the gone Alpha now belongs to New, which took Alpha's EspID.
        self.assertEqual(lines, ["1", "3", "2", "03000DEF", "00000000", "5", "gamma", "1", ""])

    def test_peek_changes_nothing_and_missing_co_save_leaves_reset(self):
        self.run_ok(MODS + "save Empty.ess\nset s to CreateString -1 \"kept\"\nsave WithData\n")
        lines = self.run_ok(MODS + """
            set s to CreateString -1 "now"
            peek WithData
            printstr 0
            load WithData
            printstr 0
            print IsKorvelDataReset
            load Empty
            print StringLen 0
            print IsKorvelDataReset
        """)
        self.assertEqual(lines, ["now", "kept", "0", "-1", "1"])

    def write_co_save(self, name, data):
        with open(self.saves(name), "wb") as f:
            f.write(data)

    @staticmethod
    def seal(body, match=None):
        if match is not None:
            body += struct.pack("<I", match)
        body += struct.pack("<i", len(body))
        return body + struct.pack("<I", zlib.crc32(body) & 0xFFFFFFFF)

    def test_damaged_newer_and_mismatched_co_saves(self):
        self.run_ok(MODS + "save Bad\nsave Newer\nsave Other\n")
        self.write_co_save("Bad.korvel", b"KorvelSave" + b"\x01\x00\x05\x01" + b"\x00" * 30)
        self.write_co_save("Newer.korvel", self.seal(b"KorvelSave" + struct.pack("<i", 0x01060000), 0))
        self.write_co_save("Other.korvel", self.seal(b"KorvelSave" + struct.pack("<i", 0x01050001), 0x1234))
        lines = self.run_ok(MODS + """
            load Bad
            print IsKorvelDataReset
            load Newer
            load Other
            load Other
            print IsKorvelDataReset
        """)
        self.assertEqual(lines[0], 'message box "": Bad.korvel could not be read (file is probably corrupted). '
                                   'Please try a different save.')
        self.assertEqual(lines[1], "1")
        self.assertEqual(lines[2], 'message box "": Newer.korvel has an unknown Korvel savefile version! '
                                   'Please update Korvel.')
        self.assertTrue(lines[3].startswith('message box "": Other.korvel\\r\\n\\r\\nKorvel co-save doesn\'t seem '
                                            'to match\\r\\n\\r\\nOther.ess\\r\\n\\r\\n\\r\\nThe Korvel data'))
        self.assertTrue(lines[3].endswith("just press OK and the game will load properly. [OK]"))
        self.assertEqual(lines[4:], ["1"])  # the mismatch is shown once
        log = self.log_lines()
        self.assertEqual(log.count("Opening stream"), 4)
        self.assertEqual(log.count("Closing stream"), 4)

    def test_saved_screen_size(self):
        self.run_ok(MODS + "save Screen\n")
        body = b"KorvelSave" + struct.pack("<i", 0x01050001) + b"\x04" + struct.pack("<ii", 1280, 1024)
        self.write_co_save("Screen.korvel", self.seal(body, 0xFFFFFFFF))
        lines = self.run_ok(MODS + """
            print ScreenInfo 2
            load Screen
            print ScreenInfo 2
            print ScreenInfo 3
            print ScreenInfo 0
            print ScreenInfo 4
            print IsKorvelDataReset
        """)
        self.assertEqual(lines, ["0", "1280", "1024", "0", "0", "0"])

    def test_old_version_co_save_is_read(self):
        self.run_ok(MODS + "save Old\n")
        body = b"KorvelSave" + struct.pack("<i", 0x01000000)
        body += b"\x00" + struct.pack("<i", 1) + struct.pack("<i", 1) + b"\x01" + struct.pack("<i", 9) + b"Alpha.esp"
        body += b"\x01" + struct.pack("<i", 1) + struct.pack("<ii", 4, 1) + struct.pack("<i", 3) + b"old"
        self.write_co_save("Old.korvel", self.seal(body))
        lines = self.run_ok(MODS + "load Old\nprintstr 4\nprint StringEsp 4\nprint IsKorvelDataReset\n")
        self.assertEqual(lines, ["old", "1", "0"])

    def test_a_co_save_many_read_buffers_long_reads_back_whole(self):
        # A text several times the load's read buffer, thousands of short
        # strings and an array whose items span many buffers: the load
        # reads the file a piece at a time and must join every piece.
        folder = self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files")
        os.makedirs(folder)
        big = bytes((i * 7 + i // 251) % 256 for i in range(300 * 1024))
        with open(os.path.join(folder, "big.bin"), "wb") as f:
            f.write(big)
        script = [MODS, "as Alpha.esp", 'set f to CreateString -1 "big.bin"',
                  'set s to CreateString -1 ""', "FileToString f s"]
        script += ['CreateString -1 "short string number %d"' % i for i in range(3000)]
        script += ["set a to CreateArray -1 9000"]
        script += ["SetInArray a %d %d" % (i, i * 37 - 5000) for i in range(0, 9000, 3)]
        script += ["save Big"]
        self.run_ok("\n".join(script) + "\n")
        self.assertGreater(os.path.getsize(self.saves("Big.korvel")), 4 * 64 * 1024)
        lines = self.run_ok(MODS + """
            reset
            load Big
            print IsKorvelDataReset
            print StringLen 1
            printstr 2
            printstr 3001
            print ArraySize 0
            print GetInArray 0 0
            print GetInArray 0 8997
            print GetInArray 0 8998
            set out to CreateString -1 "back.bin"
            StringToTxtFile out 1 0
        """)
        self.assertEqual(lines, ["0", str(len(big)), "short string number 0", "short string number 2999",
                                 "9000", "-5000", str(8997 * 37 - 5000), "0"])
        with open(os.path.join(folder, "back.bin"), "rb") as f:
            self.assertEqual(f.read(), big)


if __name__ == "__main__":
    unittest.main()
