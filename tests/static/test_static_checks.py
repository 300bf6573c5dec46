"""The static checks of the shipped DLLs: the real variants pass them, and
each check refuses a DLL that breaks it."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_pe  # noqa: E402

DIST = os.environ["KORVEL_DIST"]
SAMPLES = os.environ["KORVEL_STATIC_SAMPLES"]
VARIANTS = ("Qarn_Tovi_Korvel.dll", "Qarn_Tovi_Korvel_HUD.dll")


def run_checker(*args):
    return subprocess.run([sys.executable, os.path.join(HERE, "check_pe.py")] + list(args),
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


class ShippedVariants(unittest.TestCase):
    def test_both_variants_pass_every_check(self):
        proc = run_checker("--product", *[os.path.join(DIST, v) for v in VARIANTS])
        self.assertEqual((proc.returncode, proc.stdout), (0, ""))


class BrokenImages(unittest.TestCase):
    def setUp(self):
        with open(os.path.join(DIST, VARIANTS[0]), "rb") as f:
            self.plain = f.read()
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, data):
        path = os.path.join(self.folder.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_a_dll_linked_to_the_shared_runtime_is_refused(self):
        proc = run_checker("--product", os.path.join(SAMPLES, "shared_runtime.dll"))
        self.assertEqual(proc.returncode, 1)
        self.assertIn("imports libstdc++-6.dll", proc.stdout)
        self.assertIn("imports libgcc_s_dw2-1.dll", proc.stdout)

    def test_an_image_for_another_machine_is_refused(self):
        pe = int.from_bytes(self.plain[0x3C:0x40], "little")
        data = bytearray(self.plain)
        data[pe + 4:pe + 6] = (0x8664).to_bytes(2, "little")
        problems = check_pe.check_product(self.write("other-machine.dll", bytes(data)))
        self.assertEqual(problems, ["not a PE32 i386 image (machine 0x8664, optional header 0x10b)"])

    def test_missing_entry_points_are_named(self):
        companion = os.path.join(DIST, "Qarn_Tovi_Korvel.dlx")
        self.assertEqual(check_pe.check_product(companion),
                         ["does not export QarnPlugin_Query", "does not export QarnPlugin_Load"])

    def test_a_forbidden_import_matches_whatever_its_case(self):
        needle = b"msvcrt.dll\0"
        at = self.plain.find(needle)
        self.assertGreater(at, 0)
        data = self.plain[:at] + b"D3DX9_27.d\0" + self.plain[at + len(needle):]
        problems = check_pe.check_product(self.write("d3dx-import.dll", data))
        self.assertEqual(problems, ["imports D3DX9_27.d"])

    def test_damaged_files_are_not_images(self):
        for name, data in (("empty.dll", b""), ("text.dll", b"MZ" + b"x" * 100),
                           ("cut.dll", self.plain[:0x100])):
            with self.subTest(name=name):
                proc = run_checker("--product", self.write(name, data))
                self.assertEqual(proc.returncode, 2, proc.stdout)
                self.assertIn("not a readable PE image", proc.stdout)


if __name__ == "__main__":
    unittest.main()
