"""LC and StrLC in the stand-in game: the worked examples, variables and
rounding, and a 1 MB expression that finishes while the game goes on."""
import os
import unittest

from harness import GameTest


class CalcTest(GameTest):
    def test_worked_examples(self):
        cases = [("0", "1 + 2 * 3", "", "7"), ("0", "(1+2)*3", "", "9"), ("0", "2p3p2", "", "64"),
                 ("0", "7%4*2", "", "7"), ("0", "-7%3", "", "-1"), ("0", "10/0", "", "10"),
                 ("0", "$0+$1", " 3 4", "7"), ("0", "$12", "", "2"), ("0", "1..5", "", "0"),
                 ("0", "(1+2", "", "3"), ("0", "2*-3", "", "-6"), ("1", "5/2", "", "2"),
                 ("1", "-7/2", "", "-4"), ("0", "abc", "", "0")]
        script = ""
        for rounded, expression, variables, _ in cases:
            script += 'print LC %s "%s"%s\n' % (rounded, expression, variables)
            script += 'set s to CreateString -1 "%s"\nprint StrLC %s s%s\n' % (expression, rounded, variables)
        lines = self.run_ok(script)
        expected = []
        for case in cases:
            expected += [case[3], case[3]]
        self.assertEqual(lines, expected)

    def test_a_one_megabyte_expression_finishes_and_the_game_goes_on(self):
        folder = self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files")
        os.makedirs(folder)
        chain = "1+" * (512 * 1024 - 1) + "1"
        depth = 256 * 1024 - 1
        nested = "(" * depth + "2" + ")" * depth
        for name, text in (("chain.txt", chain), ("nested.txt", nested)):
            with open(os.path.join(folder, name), "w") as f:
                f.write(text)
        lines = self.run_ok(r"""
            set f to CreateString -1 "chain.txt"
            set s to CreateString -1 ""
            FileToString f s
            print StringLen s
            print StrLC 0 s
            set f to CreateString -1 "nested.txt"
            FileToString f s
            print StrLC 0 s
            print LC 0 "6*7"
            """)
        self.assertEqual(lines, [str(len(chain)), str(512 * 1024), "2", "42"])


if __name__ == "__main__":
    unittest.main()
