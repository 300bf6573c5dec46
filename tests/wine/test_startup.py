"""Start-up, query and load of both variants in the stand-in game."""
import os
import shutil
import unittest

from harness import DIST, SOURCE, GameTest

GOLDEN = os.path.join(SOURCE, "tests", "wine", "golden")


def golden(name):
    with open(os.path.join(GOLDEN, name), "rb") as f:
        return f.read()


class NormalStart(GameTest):
    def test_plain_variant_log_is_exact(self):
        self.run_ok("")
        self.assertEqual(self.log_bytes(), golden("start-plain.log"))

    def test_hud_variant_log_is_exact(self):
        self.run_ok("", variant="hud")
        self.assertEqual(self.log_bytes(), golden("start-hud.log"))

    def test_each_start_recreates_the_log(self):
        self.run_ok("")
        first = self.log_bytes()
        self.run_ok("")
        self.assertEqual(self.log_bytes(), first)

    def test_mod_list_follows_the_load_order(self):
        self.run_ok("mods Veldmark.esm Alpha.esp \"Beta Gamma.esp\"\n")
        lines = self.log_lines()
        start = lines.index("/////  ModIndex Filename  /////")
        self.assertEqual(lines[start:start + 6], [
            "/////  ModIndex Filename  /////", "00 Veldmark.esm", "01 Alpha.esp", "02 Beta Gamma.esp",
            "///////////////////////////////", ""])

    def test_file_name_check_ignores_letter_case(self):
        os.makedirs(self.plugins())
        shutil.copyfile(os.path.join(DIST, "Qarn_Tovi_Korvel.dll"), self.plugins("QARN_TOVI_KORVEL.DLL"))
        shutil.copyfile(os.path.join(DIST, "Qarn_Tovi_Korvel.dlx"), self.plugins("Qarn_Tovi_Korvel.dlx"))
        lines = self.run_ok("")
        self.assertEqual(lines, [])
        self.assertIn("Korvel Filename: QARN_TOVI_KORVEL.DLL", self.log_lines())

    def test_editor_skips_the_companion(self):
        self.install()
        os.remove(self.plugins("Qarn_Tovi_Korvel.dlx"))
        # The editor compiles the script: only its parse lines take effect.
        status, lines = self.run_game("print GetEsp\nparse GetEsp\n", editor="1.2")
        self.assertEqual((status, lines), (0, ["parse: editor 1.2", "parse result: 1"]))
        log = self.log_lines()
        self.assertEqual(log[3:6], ["Qarn Version: 21", "Editor Version: 1.2", ""])
        self.assertNotIn("Veldmark Version: 1.2.0416", log)
        self.assertIn("Korvel command list:", log)

    def test_editor_1_0(self):
        status, lines = self.run_game("parse StringCat\n", editor="1.0")
        self.assertEqual((status, lines), (0, ["parse: editor 1.0", "parse result: 1"]))
        self.assertEqual(self.log_lines()[4], "Editor Version: 1.0")

    def test_game_compiles_with_its_own_parse_routine(self):
        self.assertEqual(self.run_ok("parse KrvlSpcl\n"), ["parse: game", "parse result: 1"])


class Catalogue(GameTest):
    def test_every_name_at_its_opcode(self):
        lines = self.run_ok("opcodes\n")
        table = {int(l[:4], 16): l[5:].split(" ") for l in lines}
        self.assertEqual(len(table), 126)
        self.assertEqual(table[0x2330], ["GetEsp"])
        self.assertEqual(table[0x233E], ["CopyArray", "DupArray"])
        self.assertEqual(table[0x234F], ["UserFileExists", "TxtFileExists"])
        self.assertEqual(table[0x2378], ["RenFile", "RenTxtFile"])
        self.assertEqual(table[0x2397], ["LC"])
        self.assertEqual(table[0x23B0], ["FromNyxa"])
        self.assertEqual(table[0x23EC], ["IsKorvelDataReset"])
        self.assertEqual(table[0x23FF], ["KrvlSpcl"])
        for gap in list(range(0x2350, 0x2378)) + list(range(0x2398, 0x23B0)) + list(range(0x23ED, 0x23FF)):
            self.assertNotIn(gap, table)
        self.assertEqual(min(table), 0x2330)
        self.assertEqual(max(table), 0x23FF)


class FailedQuery(GameTest):
    """Each failed check shows one "Error" box (style 16) and ends the game;
    the info record is filled before any check."""

    INFO = 'host: info record 1 "Qarn_Tovi_Korvel" 125, message box style 16'

    def assert_fails_with(self, message, lines, status):
        self.assertNotEqual(status, 0)
        self.assertEqual(lines, [self.INFO, 'message box "Error": ' + message])

    def test_both_variants_installed(self):
        self.install()
        shutil.copyfile(os.path.join(DIST, "Qarn_Tovi_Korvel_HUD.dll"), self.plugins("Qarn_Tovi_Korvel_HUD.dll"))
        status, lines = self.run_game("")
        # The host loads both; the first query ends the game.
        self.assert_fails_with("Detected both HUD (.._HUD.dll) and non_HUD (...dll) Korvel dll files. "
                               "Please remove one and try again.", lines, status)

    def test_renamed_library(self):
        self.install()
        os.rename(self.plugins("Qarn_Tovi_Korvel.dll"), self.plugins("Korvel.dll"))
        status, lines = self.run_game("")
        self.assert_fails_with("Korvel file must not be renamed to work correctly!", lines, status)
        log = self.log_lines()
        self.assertEqual(log[1], "Korvel Filename: Korvel.dll")
        self.assertFalse(any(line.startswith("Qarn Version") for line in log))

    def test_old_host(self):
        status, lines = self.run_game("", host_version=14)
        self.assert_fails_with("Korvel cannot be loaded!", lines, status)
        self.assertEqual(self.log_lines()[3], "Qarn Version: 14")
        self.assertEqual(len(self.log_lines()), 5)

    def test_other_game_version(self):
        status, lines = self.run_game("", game_version="010201A1")
        self.assert_fails_with("Korvel requires Veldmark Version 1.2.0416!", lines, status)
        self.assertNotIn("Veldmark Version: 1.2.0416", self.log_lines())

    def test_executable_without_engine_table(self):
        status, lines = self.run_game("print GetEsp\n", engine_table=False)
        self.assert_fails_with("Korvel requires Veldmark Version 1.2.0416!", lines, status)
        self.assertNotIn("Veldmark Version: 1.2.0416", self.log_lines())

    def test_editor_without_engine_table(self):
        status, lines = self.run_game("parse GetEsp\n", editor="1.2", engine_table=False)
        self.assert_fails_with("Korvel cannot be loaded!", lines, status)
        self.assertEqual(self.log_lines()[3:6], ["Qarn Version: 21", "Editor Version: 1.2", ""])

    def test_unknown_editor(self):
        status, lines = self.run_game("", editor="01010000")
        self.assert_fails_with("Korvel cannot be loaded!", lines, status)
        self.assertEqual(self.log_lines()[3:5], ["Qarn Version: 21", ""])

    def test_companion_missing(self):
        self.install()
        os.remove(self.plugins("Qarn_Tovi_Korvel.dlx"))
        status, lines = self.run_game("")
        self.assert_fails_with("Qarn_Tovi_Korvel.dlx is missing!", lines, status)

    def test_companion_incomplete(self):
        self.install()
        shutil.copyfile(os.path.join(DIST, "companion-incomplete.dlx"), self.plugins("Qarn_Tovi_Korvel.dlx"))
        status, lines = self.run_game("")
        self.assert_fails_with("Cannot load properly Qarn_Tovi_Korvel.dlx!", lines, status)

    def test_companion_of_another_version(self):
        self.install()
        shutil.copyfile(os.path.join(DIST, "companion-version-121.dlx"), self.plugins("Qarn_Tovi_Korvel.dlx"))
        status, lines = self.run_game("")
        self.assert_fails_with("Qarn_Tovi_Korvel.dlx is not the correct version!", lines, status)
        self.assertEqual(self.log_lines()[4], "Veldmark Version: 1.2.0416")


if __name__ == "__main__":
    unittest.main()
