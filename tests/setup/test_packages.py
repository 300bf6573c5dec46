"""The set-up's package step against a stand-in package manager: a mirror
caught mid-sync, a version skew between architectures, and packages that
cannot be had at all."""
import os
import stat
import subprocess
import tempfile
import textwrap
import unittest

ROOT = os.environ.get("KORVEL_SOURCE", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))

# dpkg-query answers from the file "installed"; dpkg keeps the foreign
# architectures in "arches"; apt-get logs each call to "calls" and behaves as
# FAKE_APT says: update-fails, skew (installs only with -t), broken (never).
FAKES = {
    "dpkg-query": r'''
        pkg="${@: -1}"
        grep -qx -- "$pkg" "$FAKE_STATE/installed" && { printf 'install ok installed'; exit 0; }
        exit 1
    ''',
    "dpkg": r'''
        case "$1" in
          --print-foreign-architectures) cat "$FAKE_STATE/arches" ;;
          --add-architecture) echo "$2" >> "$FAKE_STATE/arches"; echo "dpkg $*" >> "$FAKE_STATE/calls" ;;
        esac
    ''',
    "apt-get": r'''
        echo "apt-get $*" >> "$FAKE_STATE/calls"
        case " $* " in
          *" update "*) case ",$FAKE_APT," in *,update-fails,*) echo "File has unexpected size" >&2; exit 100 ;; esac; exit 0 ;;
        esac
        case ",$FAKE_APT," in
          *,broken,*) echo "held broken packages" >&2; exit 100 ;;
          *,skew,*) case " $* " in *" -t "*) ;; *) echo "held broken packages" >&2; exit 100 ;; esac ;;
        esac
        for a in "$@"; do case "$a" in -*|install|bookworm|trixie|stable) ;; *) echo "$a" >> "$FAKE_STATE/installed" ;; esac; done
    ''',
    "sudo": r'''exec "$@"''',
}

COMMON = ["cmake", "g++", "make", "python3", "g++-mingw-w64-i686-posix", "g++-mingw-w64-x86-64-posix",
          "wine", "wine64", "xvfb", "googletest", "libbenchmark-dev", "clang", "libclang-rt-14-dev",
          "zlib1g-dev", "nlohmann-json3-dev"]


class Packages(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.state = os.path.join(self.folder.name, "state")
        self.bin = os.path.join(self.folder.name, "bin")
        os.makedirs(self.state)
        os.makedirs(self.bin)
        for name, body in FAKES.items():
            path = os.path.join(self.bin, name)
            with open(path, "w") as f:
                f.write("#!/usr/bin/env bash\n" + textwrap.dedent(body))
            os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
        for name in ("installed", "arches", "calls"):
            open(os.path.join(self.state, name), "w").close()

    def tearDown(self):
        self.folder.cleanup()

    def have(self, *packages):
        with open(os.path.join(self.state, "installed"), "a") as f:
            f.write("".join(p + "\n" for p in packages))

    def read(self, name):
        with open(os.path.join(self.state, name)) as f:
            return f.read().splitlines()

    def packages(self, apt="", run32="0"):
        env = dict(os.environ, PATH=self.bin + os.pathsep + os.environ["PATH"], FAKE_STATE=self.state,
                   FAKE_APT=apt, KORVEL_RUN32=run32, KORVEL_BUILD_DIR=os.path.join(self.folder.name, "build"))
        proc = subprocess.run([os.path.join(ROOT, "korvel"), "packages"], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=60)
        return proc.returncode, proc.stderr.splitlines()

    def test_nothing_missing_asks_nothing(self):
        self.have(*COMMON)
        self.assertEqual(self.packages(), (0, []))
        self.assertEqual(self.read("calls"), [])

    def test_a_failed_update_only_warns(self):
        self.have(*COMMON[1:])
        status, said = self.packages(apt="update-fails")
        self.assertEqual(status, 0, said)
        self.assertEqual(said[0], "korvel: installing: cmake")
        self.assertRegex(said[1], r"^korvel: warning: apt-get update failed .*going on")
        self.assertIn("cmake", self.read("installed"))

    def test_a_version_skew_is_retried_with_the_release_versions(self):
        self.have(*COMMON[2:])
        status, said = self.packages(apt="update-fails,skew")
        self.assertEqual(status, 0, said)
        self.assertRegex(said[-1], r"^korvel: installing failed; trying again with the release's own versions \(-t \w+\)$")
        installs = [c for c in self.read("calls") if " install " in c]
        self.assertEqual(len(installs), 2)
        self.assertNotIn(" -t ", installs[0])
        self.assertRegex(installs[1], r" -t \w+ cmake g\+\+$")

    def test_what_cannot_be_installed_is_named_once_with_the_command_to_try(self):
        self.have(*COMMON[2:])
        status, said = self.packages(apt="broken")
        self.assertEqual(status, 1)
        self.assertRegex(said[-1], r"^korvel: could not install cmake g\+\+ .*try: sudo apt-get install -t \w+ cmake g\+\+$")
        self.assertEqual(sum("could not install" in line for line in said), 1)

    def test_32_bit_wine_only_where_it_can_run(self):
        self.have(*COMMON)
        self.assertEqual(self.packages(run32="0"), (0, []))
        status, said = self.packages(run32="1")
        self.assertEqual((status, said[0]), (0, "korvel: installing: wine32:i386"))
        self.assertIn("dpkg --add-architecture i386", self.read("calls"))
        self.assertIn("wine32:i386", self.read("installed"))


if __name__ == "__main__":
    unittest.main()
