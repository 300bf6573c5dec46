"""The HUD as the player sees it: surfaces and texts drawn by the HUD variant
on the stand-in game's Direct3D 9 device, checked pixel by pixel in
screenshots, across situations, passes and device resets."""
import os
import re
import unittest

import hud_support
from harness import GameTest

display = hud_support.Display()


def setUpModule():
    display.start()


def tearDownModule():
    display.stop()


RED, GREEN, BLUE, WHITE, BLACK = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255), (0, 0, 0)
MAGENTA = (255, 0, 255)

# Every image as a StringID, for the lines of a scene.
NAMES = """
set red to CreateString -1 "red.bmp"
set green to CreateString -1 "green.bmp"
set blue to CreateString -1 "blue.bmp"
set white to CreateString -1 "white.bmp"
set keyed to CreateString -1 "keyed.bmp"
set text to CreateString -1 "MMMMMMMM"
set arial to CreateString -1 "Arial"
"""


class HudTest(GameTest):
    def setUp(self):
        super().setUp()
        root = self.path("Documents", "My Games", "Veldmark", "Korvel", "User Files")
        hud_support.write_bmp(os.path.join(root, "red.bmp"), 16, 16, hud_support.solid(RED))
        hud_support.write_bmp(os.path.join(root, "green.bmp"), 32, 32, hud_support.solid(GREEN))
        hud_support.write_bmp(os.path.join(root, "blue.bmp"), 16, 16, hud_support.solid(BLUE))
        hud_support.write_bmp(os.path.join(root, "white.bmp"), 16, 16, hud_support.solid(WHITE))
        # Left half opaque magenta, right half white.
        hud_support.write_bmp(os.path.join(root, "keyed.bmp"), 32, 16,
                              lambda x, y: MAGENTA if x < 16 else WHITE)

    def scene(self, lines, allowed=("game: device references",), **options):
        """Runs a scene in the HUD variant; the game must report no failure
        other than the allowed ones."""
        out = self.run_ok(NAMES + lines, variant="hud", **options)
        self.assertFalse([l for l in out if l.startswith("game:") and not l.startswith(allowed)], out)
        self.last_output = out
        return out

    def shot(self, name):
        return hud_support.Image(self.path(name))

    def region(self, image, left, top, right, bottom):
        """The set of colours in a rectangle (inclusive)."""
        return {image.pixel(x, y) for y in range(top, bottom + 1) for x in range(left, right + 1)}

    def assertNear(self, colour, want, tolerance=3):
        self.assertTrue(all(abs(a - b) <= tolerance for a, b in zip(colour, want)), (colour, want))


class Drawing(HudTest):
    SCENE = """
        set a to NewHudS red 0 1 0 0 500 1 100 15      ; centred
        set b to NewHudS blue 0 1 0 0 500 1 100 10     ; bottom-right corner
        set c to NewHudS white 0 1 100 100 500 1 0     ; opacity 0
        set d to NewHudS white 0 1 140 100 500 1 50    ; half
        set e to NewHudS keyed 0 1 200 100             ; magenta is transparent
        ; layers: a text of L 5 over a surface of L 5, under a surface of L 6
        set low to NewHudS green 0 1 300 300 5 3     ; 96 x 96
        set high to NewHudS blue 0 1 300 300 6 2
        set t to NewHudT 300 300 200 40 5
        SetHudT t text arial 1 40 0 900 0 255 255 0
        frame
        screenshot before.png
        reset-device
        frame
        screenshot after.png
    """

    def check(self, image):
        self.assertEqual((image.width, image.height), (800, 600))
        self.assertEqual(image.box(RED), (392, 292, 407, 307))
        self.assertEqual(image.box(BLUE, 0)[2:], (799, 599))
        self.assertEqual(self.region(image, 784, 584, 799, 599), {BLUE})
        self.assertEqual(self.region(image, 100, 100, 115, 115), {BLACK})
        for colour in self.region(image, 140, 100, 155, 115):
            self.assertNear(colour, (127, 127, 127))
        self.assertEqual(self.region(image, 200, 100, 213, 115), {BLACK})
        self.assertEqual(self.region(image, 218, 100, 231, 115), {WHITE})
        # Where the blue surface of L 6 lies (300..331), no text shows; where
        # only the green surface of L 5 lies, the text shows over it.
        covered = self.region(image, 300, 300, 331, 331)
        self.assertEqual(covered, {BLUE})
        beside = self.region(image, 332, 300, 395, 331)
        self.assertIn(GREEN, beside)
        self.assertTrue(any(c[0] > 200 and c[1] > 200 and c[2] < 60 for c in beside), beside)

    def test_alignment_opacity_colour_key_and_layers_before_and_after_a_reset(self):
        self.scene(self.SCENE)
        self.check(self.shot("before.png"))
        self.check(self.shot("after.png"))

    def test_a_text_is_drawn_only_after_SetHudT(self):
        self.scene("""
            set t to NewHudT 10 10 300 60
            frame
            screenshot unstyled.png
            SetHudT t text arial 1 40 0 700 0 255 255 255
            frame
            screenshot styled.png
        """)
        self.assertEqual(self.shot("unstyled.png").box(WHITE), None)
        box = self.shot("styled.png").box(WHITE)
        self.assertIsNotNone(box)
        self.assertTrue(box[0] >= 10 and box[1] >= 10 and box[2] < 310 and box[3] < 70, box)

    def test_show_bits_across_situations_and_the_early_pass(self):
        # One 16 x 16 spot per Show value, left to right.
        shows = [1, 2, 4, 8 + 2 + 4, 16 + 1, 8, 6]
        lines = "".join("NewHudS white 0 %d %d 0\n" % (show, 20 * i) for i, show in enumerate(shows))
        states = {"s1": "0 0 0 0", "s2": "1 0 0 0", "s6": "1 0 0 1", "s4": "1 1 0 1", "none": "1 1 0 0"}
        for name, state in states.items():
            lines += "engine-state %s\nframe\nscreenshot %s.png\n" % (state, name)
        self.scene(lines)
        drawn = {name: [self.shot(name + ".png").pixel(20 * i + 8, 8) == WHITE for i in range(len(shows))]
                 for name in states}
        #                    1      2      4      14     17     8      6
        self.assertEqual(drawn["s1"], [True, False, False, False, True, False, False])
        self.assertEqual(drawn["s2"], [False, True, False, True, False, False, True])
        self.assertEqual(drawn["s6"], [False, False, False, True, False, False, True])
        self.assertEqual(drawn["s4"], [False, False, True, True, False, False, True])
        self.assertEqual(drawn["none"], [True, True, True, False, True, False, True])

    def test_the_early_pass_lies_under_the_final_pass(self):
        self.scene("""
            NewHudS green 0 17 0 0 1000
            NewHudS red 0 1 0 0 1
            frame
            screenshot passes.png
        """)
        image = self.shot("passes.png")
        self.assertEqual(self.region(image, 0, 0, 15, 15), {RED})
        self.assertEqual(self.region(image, 16, 0, 31, 31), {GREEN})


class DeviceResets(HudTest):
    def test_a_hundred_resets_keep_drawing_without_growth(self):
        # A frame every 25 resets: the first draw after a reset is slow under
        # Wine's software renderer, the resets themselves are not.
        resets = ("reset-device\n" * 24 + "reset-device\nframe\n") 
        self.scene("""
            NewHudS red 0 1 10 10
            set t to NewHudT 100 10 300 60
            SetHudT t text arial 1 30 0 700 0 255 255 255
            frame
            reset-device
            frame
            frame-stats
        """ + resets + "frame-stats\n" + resets * 3 + """
            frame-stats
            screenshot resets.png
        """)
        image = self.shot("resets.png")
        self.assertEqual(image.box(RED), (10, 10, 25, 25))
        self.assertIsNotNone(image.box(WHITE))
        stats = [re.findall(r"\d+", l) for l in self.last_output if l.startswith("game: device references")]
        self.assertEqual(len(stats), 3)
        refs = [int(s[0]) for s in stats]
        memory = [int(s[1]) for s in stats]
        self.assertEqual(refs[0], refs[1])
        self.assertEqual(refs[1], refs[2])
        self.assertLess(memory[2] - memory[1], 4 * 1024 * 1024, memory)

    def test_a_failed_reset_draws_nothing_until_a_good_one(self):
        self.scene("""
            NewHudS red 0 1 10 10
            reset-device fail
            frame
            screenshot lost.png
            reset-device
            frame
            screenshot back.png
        """, allowed=("game: device reset failed",))
        self.assertIsNone(self.shot("lost.png").box(RED))
        self.assertEqual(self.shot("back.png").box(RED), (10, 10, 25, 25))


class SavedHud(HudTest):
    def saves(self, *parts):
        return self.path("Documents", "My Games", "Veldmark", "Saves", *parts)

    def test_a_hud_saved_at_1280x1024_comes_back_scaled_by_half_at_640x512(self):
        self.scene("""
            set s to NewHudS red 0 1 200 100 7 2          ; autoscaled
            set k to NewHudS blue 0 1 40 40 500 1 100 5 0 ; not autoscaled
            set t to NewHudT 100 300 400 80
            SetHudT t text arial 1 40 0 700 0 255 255 255
            save Scaled
        """, resolution="1280x1024")
        self.assertTrue(os.path.exists(self.saves("Scaled.korvel")))
        out = self.scene("""
            load Scaled
            print ScreenInfo 0
            print ScreenInfo 2
            print HudsInfo 1 5
            print HudsInfo 1 10
            print HudsInfo 1 7
            print HudsInfo 2 5
            print HudsInfo 2 10
            print HudTInfo 1 17
            print HudTInfo 1 0
            print IsKorvelDataReset
            frame
            screenshot scaled.png
        """, resolution="640x512")
        self.assertEqual(out, ["640", "1280", "100", "1", "7", "40", "1", "20", "200", "0"])
        image = self.shot("scaled.png")
        self.assertEqual((image.width, image.height), (640, 512))
        self.assertEqual(image.box(RED), (100, 50, 115, 65))
        self.assertEqual(image.box(BLUE), (40, 40, 55, 55))

    def test_reset_and_load_clear_the_hud_and_an_empty_hud_saves_nothing(self):
        out = self.run_ok("""
            print IsHUDEnabled
            set f to CreateString -1 "red.bmp"
            set s to NewHudS f 0 1 0 0 321
            DestroyAllStrings
            save Full
            reset
            print HudsInfo s 7
            set f to CreateString -1 "red.bmp"
            NewHudS f 0 1 0 0 9
            load Full
            print HudsInfo 1 7
            print HudsInfo 2 7
            DelHudS 1
            save Empty
        """, variant="hud")
        self.assertEqual(out, ["1", "0", "321", "0"])
        self.assertTrue(os.path.exists(self.saves("Full.korvel")))
        self.assertFalse(os.path.exists(self.saves("Empty.korvel")))


class PlainVariant(GameTest):
    def test_hud_commands_leave_their_presets_in_the_plain_variant(self):
        out = self.run_ok("""
            set f to CreateString -1 "red.bmp"
            print IsHUDEnabled
            print NewHudS f
            print NewHudT
            print HudS_X 1 5
            print HudSEsp 1
            print HudTProtect 1
            print HudsInfo 1 0
            print ScreenInfo 0
        """)
        self.assertEqual(out, ["0", "-1", "-1", "0", "-1", "-1", "0", "0"])


if __name__ == "__main__":
    unittest.main()
