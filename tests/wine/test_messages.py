"""The message and engine commands as the player sees them: messages,
message boxes and their owner, the pause box, closing menus, references as
numbers, and references of a mod whose EspID differs from its load-order
index."""
import unittest

from harness import GameTest

MODS = "mods Veldmark.esm Alpha.esp Beta.esp\n"
FORMS = """
form #01000ABC "Iron Sword"
form #01000DEF "Marker" flags 0x4000
form #FF000123 "Made in play"
"""


class Messages(GameTest):
    def test_message_line_console_and_empty_text(self):
        lines = self.run_ok(MODS + """
            set s to CreateString -1 "hello"
            StringMsg s
            StringMsg s 1
            StringMsg -1
            StringMsg -1 1
            set e to CreateString -1 ""
            StringMsg e
            StringMsg 999
            print StringMsg s
        """)
        self.assertEqual(lines, ["message: hello", "console: hello", "message: hello", "0"])

    def test_pause_box_and_message_boxes(self):
        lines = self.run_ok(MODS + FORMS + """
            as Alpha.esp
            PauseBox
            set s to CreateString -1 "Wait"
            PauseBox s
            PauseBox 999
            set yes to CreateString -1 "Yes"
            StringMsgBox s yes -1 -78
            StringMsgBox s yes 999
            as Alpha.esp on #01000ABC
            StringMsgBox s yes
            as Alpha.esp on #01000DEF
            StringMsgBox s
        """)
        self.assertEqual(lines, [
            'message box "": PAUSE',
            'message box "": Wait',
            'message box "": Wait [Yes] [N]',
            "message box owner: #01000D01",
            'message box "": Wait [Yes]',
            "message box owner: #01000ABC",
            'message box "": Wait',
            "message box owner: #01000D01",
        ])


class EngineCommands(GameTest):
    def test_kill_menu_and_references_as_numbers(self):
        lines = self.run_ok(MODS + FORMS + """
            print KillMenu 1012
            print KillMenu 66559
            print KillMenu 5000
            print RefToLong #01000ABC
            print RefToLong #FF000123
            printhex LongToRef -16776925
            printhex LongToRef 16779964
        """)
        self.assertEqual(lines, ["menu closed: 1012", "0", "menu closed: 1023", "0",
                                 "menu closed: 5000", "1", "16779964", "-16776925",
                                 "FF000123", "01000ABC"])

    def test_mod_ref_esp_follows_a_mod_to_its_new_index(self):
        before = "mods Veldmark.esm M1.esp M2.esp M3.esp M4.esp Mover.esp M6.esp M7.esp\n"
        self.run_ok(before + """
            as Mover.esp
            print GetEsp
            set s to CreateString -1 "keep"
            save Slot
        """)
        after = "mods Veldmark.esm M1.esp M2.esp M3.esp M4.esp M6.esp M7.esp Mover.esp\n"
        lines = self.run_ok(after + """
            form #05000ABC "Mover's sword"
            load Slot
            as Mover.esp
            print GetEsp
            printhex ModRefEsp #05000ABC
            printhex ModRefEsp #05000ABC 1
            as M6.esp
            printhex ModRefEsp #05000ABC
        """)
        self.assertEqual(lines, ["5", "07000ABC", "01000ABC", "05000ABC"])


if __name__ == "__main__":
    unittest.main()
