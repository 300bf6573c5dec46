#!/usr/bin/env python3
"""Runs the stand-in game in a game folder under Wine.

Used by `./korvel sim` and by the Wine tests. A game folder holds the
stand-in executable, Data\\Qarn\\Plugins\\ with the plug-ins, and the
documents folder (user files, saves) the plug-in sees.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

VARIANTS = {"plain": "Qarn_Tovi_Korvel.dll", "hud": "Qarn_Tovi_Korvel_HUD.dll"}


def plugin_folder(game_dir):
    return os.path.join(game_dir, "Data", "Qarn", "Plugins")


def install(game_dir, dist, variant="plain"):
    """Installs the variant's DLL and the companion unless the game folder
    already has a plug-in folder; always refreshes the game executable."""
    plugins = plugin_folder(game_dir)
    if not os.path.isdir(plugins):
        os.makedirs(plugins)
        shutil.copyfile(os.path.join(dist, VARIANTS[variant]), os.path.join(plugins, VARIANTS[variant]))
        shutil.copyfile(os.path.join(dist, "Qarn_Tovi_Korvel.dlx"), os.path.join(plugins, "Qarn_Tovi_Korvel.dlx"))
    shutil.copyfile(os.path.join(dist, "Veldmark.exe"), os.path.join(game_dir, "Veldmark.exe"))


def windows_path(path):
    """The Wine path of a Unix path (drive Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


BUILD_ROOT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "build")


def is_x86_64(exe):
    """True when exe is an x86-64 Windows program (PE machine 0x8664)."""
    with open(exe, "rb") as f:
        head = f.read(4096)
    if len(head) < 0x40 or head[:2] != b"MZ":
        return False
    (pe,) = struct.unpack_from("<I", head, 0x3C)
    if pe + 6 > len(head) or head[pe:pe + 4] != b"PE\0\0":
        return False
    (machine,) = struct.unpack_from("<H", head, pe + 4)
    return machine == 0x8664


def wine_loader(exe):
    """The Wine loader for exe: 64-bit Wine for x86-64 programs (it runs on
    machines that refuse 32-bit code), the usual `wine` otherwise."""
    if os.environ.get("KORVEL_WINE"):
        return os.environ["KORVEL_WINE"]
    if is_x86_64(exe):
        for candidate in ("/usr/lib/wine/wine64", "/usr/lib64/wine/wine64"):
            if os.access(candidate, os.X_OK):
                return candidate
        return shutil.which("wine64") or "wine"
    return "wine"


def wine_env(exe):
    env = dict(os.environ)
    # Never the user's own Wine prefix: the project keeps one per word size
    # in its build tree.
    env.setdefault("WINEPREFIX", os.path.join(BUILD_ROOT, "wineprefix64" if is_x86_64(exe) else "wineprefix"))
    env.setdefault("WINEDEBUG", "-all")
    env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d;mscoree=d;mshtml=d"
    return env


def command(game_dir, script=None, host_version=None, game_version=None, editor=None, engine_table=True,
            resolution=None):
    exe = os.path.join(game_dir, "Veldmark.exe")
    cmd = [wine_loader(exe), windows_path(exe)]
    if host_version is not None:
        cmd += ["--host-version", str(host_version)]
    if game_version is not None:
        cmd += ["--game-version", str(game_version)]
    if editor is not None:
        cmd += ["--editor", str(editor)]
    if not engine_table:
        cmd.append("--no-engine-table")
    if resolution is not None:
        cmd += ["--resolution", str(resolution)]
    if script is not None:
        cmd.append(windows_path(script))
    return cmd


def run(game_dir, dist, script=None, variant="plain", timeout=60, **options):
    """Runs the game once; returns (exit status, standard output, standard error)."""
    install(game_dir, dist, variant)
    exe = os.path.join(game_dir, "Veldmark.exe")
    proc = subprocess.run(command(game_dir, script, **options), env=wine_env(exe), stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    out = proc.stdout.decode("latin-1").replace("\r\n", "\n")
    err = proc.stderr.decode("latin-1").replace("\r\n", "\n")
    return proc.returncode, out, err


def main():
    parser = argparse.ArgumentParser(prog="korvel sim", description="Run a script in the stand-in game.")
    parser.add_argument("--game-dir")
    parser.add_argument("--variant", choices=sorted(VARIANTS), default="plain")
    parser.add_argument("--host-version")
    parser.add_argument("--game-version")
    parser.add_argument("--editor")
    parser.add_argument("--no-engine-table", action="store_true")
    parser.add_argument("--resolution", help="WxH of the game's back buffer (default 800x600)")
    parser.add_argument("script", nargs="?")
    parser.add_argument("--dist", required=True, help=argparse.SUPPRESS)
    args = parser.parse_args()
    game_dir = args.game_dir
    if not game_dir:
        game_dir = tempfile.mkdtemp(prefix="korvel-game-")
        print("game folder: " + game_dir, file=sys.stderr)
    os.makedirs(game_dir, exist_ok=True)
    if args.script and not os.path.isfile(args.script):
        print("korvel sim: no script " + args.script, file=sys.stderr)
        return 2
    install(game_dir, args.dist, args.variant)
    cmd = command(game_dir, args.script, args.host_version, args.game_version, args.editor,
                  not args.no_engine_table, args.resolution)
    return subprocess.call(cmd, env=wine_env(os.path.join(game_dir, "Veldmark.exe")), stdin=subprocess.DEVNULL)


if __name__ == "__main__":
    sys.exit(main())
