"""Which Windows trees ./korvel runs under Wine: both where the machine runs
32-bit x86 code, the 64-bit one alone where it does not, and what
KORVEL_RUN32 forces."""
import os
import subprocess
import tempfile
import unittest

ROOT = os.environ.get("KORVEL_SOURCE", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))

# An i386 Linux program of the same kind as the script's probe, written here
# independently: ELF header, one loadable segment, then
# mov eax,1 / mov ebx,7 / int 0x80 (exit with status 7).
ELF_HEADER = (b"\x7fELF\x01\x01\x01" + bytes(9) + (2).to_bytes(2, "little") + (3).to_bytes(2, "little")
              + (1).to_bytes(4, "little") + (0x08048054).to_bytes(4, "little") + (52).to_bytes(4, "little")
              + bytes(8) + (52).to_bytes(2, "little") + (32).to_bytes(2, "little") + (1).to_bytes(2, "little")
              + bytes(6))
SEGMENT = b"".join(v.to_bytes(4, "little") for v in (1, 0, 0x08048000, 0x08048000, 0x60, 0x60, 5, 0x1000))
CODE = b"\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80"


def machine_runs_32bit():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "exit7")
        with open(path, "wb") as f:
            f.write(ELF_HEADER + SEGMENT + CODE)
        os.chmod(path, 0o755)
        try:
            return subprocess.run([path]).returncode == 7
        except OSError:
            return False


def trees(run32=None):
    env = dict(os.environ)
    env.pop("KORVEL_RUN32", None)
    if run32 is not None:
        env["KORVEL_RUN32"] = run32
    proc = subprocess.run([os.path.join(ROOT, "korvel"), "trees"], env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=60)
    return proc.returncode, proc.stdout.split(), proc.stderr


class WineTrees(unittest.TestCase):
    def test_forced_answers_choose_the_matching_trees(self):
        for run32, expected in (("1", ["win32", "win64"]), ("0", ["win64"])):
            with self.subTest(KORVEL_RUN32=run32):
                status, chosen, said = trees(run32)
                self.assertEqual((status, chosen), (0, expected))
                self.assertEqual(said, "korvel: KORVEL_RUN32=%s\n" % run32)

    def test_the_probe_agrees_with_what_the_machine_does(self):
        status, chosen, said = trees()
        self.assertEqual(status, 0)
        if machine_runs_32bit():
            self.assertEqual(chosen, ["win32", "win64"])
            self.assertEqual(said, "korvel: a 32-bit x86 program ran\n")
        else:
            self.assertEqual(chosen, ["win64"])
            self.assertRegex(said, r"^korvel: the kernel refuses 32-bit x86 programs \(status \d+\)\n$")

    def test_the_64_bit_tree_always_runs(self):
        # Whatever the machine, the 64-bit path is exercised, so it never rots.
        for run32 in (None, "0", "1"):
            with self.subTest(KORVEL_RUN32=run32):
                self.assertIn("win64", trees(run32)[1])


if __name__ == "__main__":
    unittest.main()
