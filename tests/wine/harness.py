"""Shared set-up of the Wine tests: game folders under the build tree and
runs of the stand-in game through tools/sim.py."""
import os
import shutil
import sys
import tempfile
import textwrap
import unittest

SOURCE = os.environ.get("KORVEL_SOURCE", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
DIST = os.environ.get("KORVEL_DIST", os.path.join(SOURCE, "build", "win32", "dist"))
BUILD = os.environ.get("KORVEL_BUILD", os.path.join(SOURCE, "build", "win32"))
sys.path.insert(0, os.path.join(SOURCE, "tools"))
import sim  # noqa: E402



class GameTest(unittest.TestCase):
    """Each test gets its own game folder below the build tree."""

    def setUp(self):
        root = os.path.join(BUILD, "test-games")
        os.makedirs(root, exist_ok=True)
        self.game = tempfile.mkdtemp(prefix=self.id().split(".")[-1] + "-", dir=root)

    def tearDown(self):
        if not getattr(self, "_keep", False):
            shutil.rmtree(self.game, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.game, *parts)

    def plugins(self, *parts):
        return self.path("Data", "Qarn", "Plugins", *parts)

    def install(self, variant="plain"):
        sim.install(self.game, DIST, variant)

    def run_game(self, script=None, variant="plain", **options):
        """Runs the game with an optional script text; returns (status, output lines)."""
        script_file = None
        if script is not None:
            script_file = self.path("test-script.kvs")
            with open(script_file, "w", newline="\n") as f:
                f.write(textwrap.dedent(script).lstrip("\n"))
        status, out, err = sim.run(self.game, DIST, script_file, variant, **options)
        self.last_error = err
        return status, out.splitlines()

    def run_ok(self, script, **options):
        status, lines = self.run_game(script, **options)
        self.assertEqual(status, 0, "game ended with %d: %s" % (status, self.last_error))
        return lines

    def log_bytes(self, name="Qarn_Tovi_Korvel.log"):
        with open(self.plugins(name), "rb") as f:
            return f.read()

    def log_lines(self):
        return self.log_bytes().decode("latin-1").split("\r\n")


def inside_folder(path, folder):
    """Whether path lies in folder (or is it) once the host resolves every
    link in both, whole components compared: worked out on the host side,
    apart from anything the plug-in does."""
    real, top = os.path.realpath(path), os.path.realpath(folder)
    return os.path.commonpath([real, top]) == top


def snapshot(top, skip=None):
    """Every file, folder and link below top, links not followed: files
    with their bytes, links with what they point to. The folder skip (a
    path below top) is left out with everything in it."""
    skip = os.path.normpath(skip) if skip else None
    seen = {}
    for folder, dirs, names in os.walk(top):
        dirs[:] = [d for d in dirs if os.path.normpath(os.path.join(folder, d)) != skip]
        for name in dirs + names:
            path = os.path.join(folder, name)
            if os.path.islink(path):
                seen[path] = ("link", os.readlink(path))
            elif os.path.isdir(path):
                seen[path] = ("folder",)
            else:
                with open(path, "rb") as f:
                    seen[path] = ("file", f.read())
    return seen
