#!/usr/bin/env python3
"""Writes the showcase's HUD images into a game folder's user files: a
framed panel, a gem with a magenta (transparent) background and a bar."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
import hud_support  # noqa: E402


def main():
    game = sys.argv[1]
    root = os.path.join(game, "Documents", "My Games", "Veldmark", "Korvel", "User Files", "Showcase")

    def panel(x, y):
        edge = x < 2 or y < 2 or x > 125 or y > 61
        return (200, 170, 90) if edge else (30, 40, 70)

    def gem(x, y):
        inside = abs(x - 15.5) + abs(y - 15.5) < 15
        return (40, 200, 120) if inside else (255, 0, 255)

    hud_support.write_bmp(os.path.join(root, "panel.bmp"), 128, 64, panel)
    hud_support.write_bmp(os.path.join(root, "gem.bmp"), 32, 32, gem)
    hud_support.write_bmp(os.path.join(root, "bar.bmp"), 64, 8, lambda x, y: (180, 30, 30))
    return 0


if __name__ == "__main__":
    sys.exit(main())
