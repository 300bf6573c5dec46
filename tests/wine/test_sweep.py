"""Every catalogue command called by the stand-in game through the host's
registered records with hostile arguments: extreme integers, NaN and
infinite floats, empty and 16 KB texts, path tricks, null and foreign
forms, and ids that are invalid, another mod's protected object or freed.

The calls are generated from core/catalogue.def, so a command added later
joins by itself; the DLL's own opcode list must name the same commands.
Before every call the world is made again (the game's reset point, then an
own, a protected foreign and a freed array and string). After every call
the game must go on: the next line runs, another mod's protected array and
string read as before, an invalid array or HUD id gives the command's
preset result (ArrayCmp its validity answer), and a NaN result comes only
where a NaN argument went in. A call that crashes the game or hangs it is reported and the
sweep goes on after it in a new game, so one run names every such call.
Both variants run: the HUD commands do their real work only in the HUD
variant."""
import math
import os
import subprocess
import sys
import threading
import time
import unittest

from harness import DIST, GameTest, SOURCE, sim

sys.path.insert(0, os.path.join(SOURCE, "tools"))
import catalogue_rows  # noqa: E402

# Ids 0, 1 and 2 of each registry: the caller's own object, another mod's
# protected one, and a freed one.
OWN, FOREIGN, FREED = 0, 1, 2
INTS = ["-2147483648", "-1", str(OWN), str(FOREIGN), str(FREED), "2147483647"]
FLOATS = ["nan", "inf", "-inf", "0", "-1", "3e38"]
TEXTS = [b"", b"x" * (16 * 1024), b"%s%n%d\\..\\..\\x", b"..\\..\\..\\outside.txt"]
OWN_FORM, FOREIGN_FORM = "#01000ABC", "#7F000001"
FORMS = ["nullref", OWN_FORM, FOREIGN_FORM]
BENIGN = {"Integer": str(OWN), "Float": "1", "String": b"a"}

# An id naming no object: an invalid array or HUD id leaves the command's
# preset result, except ArrayCmp's validity answer.
INVALID_IDS = {"-2147483648", "-1", str(FREED), "2147483647"}
ID_PARAMS = {"ArrayID", "HudSID", "HudTID"}

# Halt ends the game on purpose; test_startup covers it.
SKIPPED = {"Halt"}

HEADER = """mods Base.esm A.esp B.esp
form #01000ABC "Sword"
form #7F000001 "Stray"
set nullref to 0
"""

# The same world before every call; its own lines print nothing.
WORLD = """reset
as A.esp
CreateArray -1 4
CreateString -1 "mine"
as B.esp
CreateArray -1 4 1
SetInArray 1 0 77
CreateString -1 "theirs" 1
as A.esp
CreateArray -1 4
CreateString -1 "gone"
DestroyArray 2
DestroyString 2
"""
# What the foreign objects read after a call; the line before them marks
# the end of the call's own output.
PROBES = "echo ~\nprint GetInArray 1 0\nprintstr 1\n"
FOREIGN_READS = ["77", "theirs"]

# Seconds a game may stay silent before it counts as hung: one call and
# its probes print within milliseconds.
HANG_SECONDS = 10


def quoted(text):
    out = '"'
    for byte in text:
        c = chr(byte)
        if c in '"\\':
            out += "\\" + c
        elif 0x20 <= byte < 0x7F:
            out += c
        else:
            out += "\\x%02X" % byte
    return out + '"'


def spelled(param, value):
    return quoted(value) if param.kind == "String" else value


def values(kind):
    return {"Integer": INTS, "Float": FLOATS, "String": TEXTS}.get(kind, FORMS)


def benign(kind):
    return BENIGN.get(kind, OWN_FORM)


def argument_sets(command):
    """The required arguments alone; every argument at the k-th hostile
    value at once; each argument alone at each value, the others benign."""
    params = command.params
    sets = [[benign(p.kind) for p in params[:command.required()]]]
    for k in range(6):
        sets.append([values(p.kind)[k % len(values(p.kind))] for p in params])
    for i, p in enumerate(params):
        for v in values(p.kind):
            sets.append([v if j == i else benign(q.kind) for j, q in enumerate(params)])
    return sets


class Call:
    def __init__(self, command, args):
        self.command = command
        self.args = args
        self.nan_given = any(a == "nan" for a in args)

    def result_for_invalid_id(self):
        """The result the call must give because an id argument names no
        object; None when no id argument is invalid."""
        params = self.command.params
        invalid = [i < len(self.args) and p.name in ID_PARAMS and self.args[i] in INVALID_IDS
                   for i, p in enumerate(params)]
        if self.command.name == "ArrayCmp":
            # -1 when the first is invalid, -2 the second, -3 both, when
            # CheckValidity asks; else 0.
            missing = -(1 if invalid[0] else 0) - (2 if invalid[1] else 0)
            check = int(self.args[2]) if len(self.args) > 2 else 0
            return None if missing == 0 else float(missing if check != 0 else 0)
        return self.command.preset if any(invalid) else None

    def line(self):
        spelled_args = [spelled(p, a) for p, a in zip(self.command.params, self.args)]
        return " ".join(["print", self.command.name] + spelled_args)

    def describe(self):
        shown = []
        for a in self.args:
            if isinstance(a, bytes):
                shown.append(quoted(a) if len(a) <= 40 else "%s...(%d bytes)" % (quoted(a[:8]), len(a)))
            else:
                shown.append(a)
        return " ".join([self.command.name] + shown)


def calls_of(commands):
    calls = []
    for command in commands:
        if command.name in SKIPPED:
            continue
        for args in argument_sets(command):
            calls.append(Call(command, args))
    return calls


def script(calls, first):
    lines = [HEADER]
    for n in range(first, len(calls)):
        lines.append(WORLD)
        lines.append("echo @%d\n%s\n%s" % (n, calls[n].line(), PROBES))
    lines.append("echo @end\n")
    return "".join(lines)


class Sweep(GameTest):
    def setUp(self):
        super().setUp()
        self.commands = catalogue_rows.catalogue(SOURCE)

    def test_the_catalogue_is_what_the_library_registers(self):
        lines = self.run_ok("opcodes\n")
        registered = " ".join(lines)
        missing = [c.name for c in self.commands if c.name not in registered]
        self.assertEqual(missing, [])
        self.assertEqual(len(self.commands), 126)

    def sweep(self, variant):
        calls = calls_of(self.commands)
        broken = {}
        outcomes = {}
        first = 0
        started = time.monotonic()
        while first < len(calls):
            with open(self.path("sweep.kvs"), "w", newline="\n") as f:
                f.write(script(calls, first))
            status, lines = self.run_sweep_game(variant)
            last = self.read_outcomes(lines, outcomes)
            if status == 0 and lines and lines[-1] == "@end":
                break
            # The call after the last one that finished crashed or hung the
            # game; the sweep goes on after it in a new game.
            at = first if last is None else last + 1
            if at >= len(calls):
                broken[at] = "the game did not end normally after the last call (status %s)" % status
                break
            broken[at] = "hung" if status is None else "ended the game with status %s" % status
            first = at + 1
        elapsed = time.monotonic() - started
        findings = ["%s: %s" % (calls[n].describe() if n < len(calls) else "end", why)
                    for n, why in sorted(broken.items())]
        nan_returned = invalid_checked = 0
        for n, call in enumerate(calls):
            if n in broken:
                continue
            if n not in outcomes:
                findings.append("%s: the game did not go on after it" % call.describe())
                continue
            result, reads = outcomes[n]
            if reads != FOREIGN_READS:
                findings.append("%s: another mod's protected objects now read %s" % (call.describe(), reads))
            expected = call.result_for_invalid_id()
            invalid_checked += expected is not None
            nan_returned += result.lstrip("-") == "nan"
            if expected is not None and float(result) != expected:
                findings.append("%s: gave %s for an invalid id, not %s" % (call.describe(), result, expected))
            # NaN comes back only where it was given: a NaN preset, or a NaN
            # argument a command hands back (a read's default value).
            if result.lstrip("-") == "nan" and not call.nan_given and not math.isnan(call.command.preset):
                findings.append("%s: a NaN result nobody gave" % call.describe())
        commands = len({c.command.name for c in calls})
        print("sweep (%s): %d commands, %d calls, %d games, %.1f s" %
              (variant, commands, len(calls), len(broken) + 1, elapsed))
        self.assertEqual(findings, [])
        # The checks had something to check: calls with invalid ids, and a
        # NaN argument that reached the library (a read's NaN default).
        self.assertGreater(invalid_checked, 100)
        self.assertGreater(nan_returned, 0)

    def run_sweep_game(self, variant):
        """Runs sweep.kvs; (exit status, output lines), the status None when
        the game printed nothing for HANG_SECONDS and was ended."""
        sim.install(self.game, DIST, variant)
        exe = os.path.join(self.game, "Veldmark.exe")
        proc = subprocess.Popen(sim.command(self.game, self.path("sweep.kvs")), env=sim.wine_env(exe),
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        lines = []
        heard = [time.monotonic()]

        def read():
            for raw in proc.stdout:
                lines.append(raw.decode("latin-1").rstrip("\r\n"))
                heard[0] = time.monotonic()

        reader = threading.Thread(target=read, daemon=True)
        reader.start()
        while proc.poll() is None:
            if time.monotonic() - heard[0] > HANG_SECONDS:
                proc.kill()
                proc.wait()
                reader.join()
                proc.stdout.close()
                return None, lines
            time.sleep(0.05)
        reader.join()
        proc.stdout.close()
        return proc.returncode, lines

    @staticmethod
    def read_outcomes(lines, outcomes):
        """Fills outcomes[n] = (result line, foreign reads) for every call
        whose probes ran; returns the number of the last such call."""
        last = None
        n = None
        own = []
        for i, line in enumerate(lines):
            if line.startswith("@") and line[1:].isdigit():
                n = int(line[1:])
                own = []
            elif line == "~" and n is not None:
                reads = lines[i + 1:i + 1 + len(FOREIGN_READS)]
                if len(reads) == len(FOREIGN_READS) and own:
                    outcomes[n] = (own[-1], reads)
                    last = n
                n = None
            elif n is not None:
                own.append(line)
        return last

    def test_every_command_under_hostile_arguments_plain(self):
        self.sweep("plain")

    def test_every_command_under_hostile_arguments_hud(self):
        self.sweep("hud")


if __name__ == "__main__":
    unittest.main()
