"""The co-save tool on co-saves the library wrote in the game: each verb,
and a pruned co-save that the game loads."""
import json
import os
import subprocess
import unittest

from harness import BUILD, GameTest, sim

MODS = "mods Veldmark.esm Alpha.esp Beta.esp\n"
TOOL = os.path.join(BUILD, "korvel-cosave.exe")


class CoSaveTool(GameTest):
    def saves(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Saves", *parts)

    def tool(self, *args):
        """Runs the tool under Wine; returns (status, output)."""
        windows = [sim.windows_path(a) if os.path.isabs(a) else a for a in args]
        proc = subprocess.run([sim.wine_loader(TOOL), sim.windows_path(TOOL)] + windows, env=sim.wine_env(TOOL),
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=60)
        return proc.returncode, proc.stdout.decode("utf-8").replace("\r\n", "\n")

    def test_every_verb_on_a_co_save_of_the_game(self):
        self.run_ok(MODS + """
            form #01000ABC "Iron Sword"
            as Alpha.esp
            set a to CreateString -1 "Alpha's caf\\xE9 \\x80"
            StringProtect a 1
            set n to CreateArray -1 4 0
            SetInArray n 0 7
            SetFloatInArray n 1 0.1
            FixName #01000ABC a
            as Beta.esp
            set b to CreateString -1 "Beta's"
            set m to CreateArray -1 3 0
            SetInArray m 2 a
            save Tool
        """)
        korvel = self.saves("Tool.korvel")
        with open(korvel, "rb") as f:
            original = f.read()

        self.assertEqual(self.tool("verify", korvel), (0, korvel.replace("/", "\\").join(["Z:", ""]) + ": sound\n"))
        status, dumped = self.tool("dump", korvel)
        self.assertEqual(status, 0, dumped)
        image = json.loads(dumped)
        self.assertEqual([m["name"] for m in image["mods"]], ["Veldmark.esm", "Alpha.esp", "Beta.esp"])
        self.assertIn("Alpha's café €", [s["text"] for s in image["strings"]])
        self.assertEqual(image["names"], [{"form_id": "0x01000ABC", "name": "Alpha's café €"}])
        with open(self.path("tool.json"), "w", encoding="utf-8") as f:
            f.write(dumped)
        self.assertEqual(self.tool("build", self.path("tool.json"), self.path("Rebuilt.korvel"))[0], 0)
        with open(self.path("Rebuilt.korvel"), "rb") as f:
            self.assertEqual(f.read(), original)

        status, stats = self.tool("stats", korvel)
        self.assertEqual(status, 0, stats)
        total = [line for line in stats.splitlines() if line.startswith("total")]
        self.assertEqual(total[0].split()[-1], str(len(original)))

        status, pruned = self.tool("prune", korvel, "--mod", "Alpha.esp")
        self.assertEqual(status, 0, pruned)
        self.assertIn("warning: array 1 of Beta.esp (EspID 2) holds 0 at 2, the id of a removed string", pruned)
        self.assertEqual(self.tool("diff", korvel + ".bak", korvel)[0], 1)
        # The game loads the pruned co-save: Alpha's objects are gone, Beta's stay.
        lines = self.run_ok(MODS + """
            form #01000ABC "Iron Sword"
            load Tool
            printstr 0
            printstr 1
            printname #01000ABC
            print ArraySize 0 -1
            print GetInArray 1 2
        """)
        self.assertEqual(lines, ["<none>", "Beta's", "Iron Sword", "-1", "0"])


if __name__ == "__main__":
    unittest.main()
