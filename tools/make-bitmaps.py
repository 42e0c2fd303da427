#!/usr/bin/python3
"""Draws Verselane's pictures into assets/ as PNG files.

    tools/make-bitmaps.py                 # writes every picture into assets/ (and the help's
                                          # picture of the screen into assets/help/)
    tools/make-bitmaps.py --preview FILE  # also composes the game screen as it looks in play

Needs Debian's python3-pil and the IPAex and DejaVu fonts (tools/packages.sh, the asset tool
packages). The output depends only on this script and those fonts: running it again gives the same
files, so a changed picture in `git diff` always comes from a change here.

The game screen is drawn by copying pictures onto the background without blending, so every
picture that is copied onto it (digits, colon, icons, marker, time bar) is drawn on the very colour
the background has where it lands, and the background keeps those places flat.

The game screen's pictures are also drawn at twice and three times their size ("bitmap-130@2x.png",
"bitmap-130@3x.png"): the game picks them when the screen is shown larger (its zoom, or a desktop
drawn at a scale), so that it stays sharp. Every coordinate below is in the pixels of the 1x picture;
`k` is the factor a picture is drawn at.
"""

import argparse
import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")

FONT_GOTHIC = "/usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf"
FONT_MINCHO = "/usr/share/fonts/opentype/ipaexfont-mincho/ipaexm.ttf"
FONT_DIGITS = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"
FONT_DIGITS_LARGE = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"

# A calm palette: washi paper, sumi ink, vermilion, indigo and pine green.
DESK = (236, 228, 209)        # the washi sheet the cards lie on
DESK_FIBRE = (246, 241, 228)  # lighter fibres in it
PAPER = (252, 249, 242)       # the cards; every copied picture is drawn on this colour
CARD_EDGE = (206, 192, 167)
CARD_SHADOW = (220, 209, 187)
INK = (52, 46, 42)
INK_SOFT = (104, 93, 83)     # labels
INK_FAINT = (214, 204, 186)   # rules on the cards
VERMILION = (196, 64, 44)
INDIGO = (38, 66, 112)
PINE = (62, 110, 70)
GOLD = (188, 150, 72)
TRACK = (231, 223, 205)       # the groove of the time bar
TRACK_EDGE = (204, 191, 168)

# Where the game draws on the screen (x, y, width, height).
PROMPT_ICON = (23, 11, 25, 25)
ANSWER_ICON = (23, 55, 25, 25)
PROMPT_TEXT = (76, 8, 308, 42)
ANSWER_BOX = (76, 60, 308, 28)
MARKER = (70, 62, 7, 25)
TIME_BAR = (81, 103, 312, 9)       # left cap at 81, body from 87, right cap at 387
CORRECT_DIGITS = (45, 98, 3)       # right edge, top, most digits
ASKED_DIGITS = (52, 126, 3)
RATE_DIGITS = (137, 126, 3)
SCORE_DIGITS = (260, 132, 6)
CLOCK_LEFT = (320, 132)

SMALL_DIGIT = (9, 11)
LARGE_DIGIT = (14, 15)
COLON = (7, 11)

# The cards of the background (left, top, right, bottom, inclusive).
PROMPT_CARD = (62, 5, 393, 52)
ANSWER_CARD = (62, 56, 393, 94)
COUNTER_CARD = (5, 96, 77, 145)
STATUS_CARD = (81, 114, 393, 146)
TRACK_BOX = (80, 102, 393, 112)


def font(path, size):
    return ImageFont.truetype(path, size)


def supersampled(size, scale, paint, k=1):
    """Paints at `scale` times `k` times the size onto a transparent image and scales it down
    smoothly to `k` times the size."""
    width, height = size[0] * k, size[1] * k
    big = Image.new("RGBA", (width * scale, height * scale), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), scale * k)
    return big.convert("RGBa").resize((width, height), Image.BOX).convert("RGBA")


def scaled_box(box, k):
    """An inclusive (left, top, right, bottom) box of 1x pixels in the pixels of a k-times picture."""
    left, top, right, bottom = box
    return (left * k, top * k, (right + 1) * k - 1, (bottom + 1) * k - 1)


def over(base, layer, position=(0, 0)):
    """Lays an RGBA layer over an RGB or RGBA picture."""
    mode = base.mode
    canvas = base.convert("RGBA")
    canvas.alpha_composite(layer, position)
    return canvas.convert(mode)


def text_layer(size, text, font_path, font_size, fill, position, anchor="la"):
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).text(position, text, font=font(font_path, font_size), fill=fill, anchor=anchor)
    return layer


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# ---------------------------------------------------------------------------------------------
# Background 130


def rounded_card(draw, box, fill=PAPER, edge=CARD_EDGE, shadow=CARD_SHADOW, k=1):
    left, top, right, bottom = box
    draw.rounded_rectangle(scaled_box((left + 1, top + 1, right + 1, bottom + 1), k), 3 * k, fill=shadow)
    draw.rounded_rectangle(scaled_box(box, k), 3 * k, fill=fill, outline=edge, width=k)


def washi_texture(rng, size, k=1):
    """Soft clouds and long fibres, as an RGBA layer to lay over the desk colour (`size` at 1x)."""
    width, height = size
    big = (width * k, height * k)
    layer = Image.new("RGBA", big, (0, 0, 0, 0))
    clouds = Image.new("L", (width // 10 + 2, height // 10 + 2))
    clouds.putdata([rng.randint(0, 255) for _ in range(clouds.width * clouds.height)])
    clouds = clouds.resize(((width + 20) * k, (height + 20) * k), Image.BICUBIC).crop(
        (10 * k, 10 * k, (width + 10) * k, (height + 10) * k))
    dark = Image.new("RGBA", big, (196, 180, 150, 0))
    dark.putalpha(clouds.point(lambda v: max(0, v - 150) // 6))
    layer.alpha_composite(dark)
    fibres = Image.new("RGBA", (width * 2 * k, height * 2 * k), (0, 0, 0, 0))
    draw = ImageDraw.Draw(fibres)
    for _ in range(170):
        x, y = rng.uniform(0, width * 2), rng.uniform(0, height * 2)
        angle = rng.uniform(0, math.pi)
        length = rng.uniform(8, 40)
        bend = rng.uniform(-0.05, 0.05)
        points = []
        for step in range(12):
            t = step / 11 * length
            a = angle + bend * t
            points.append(((x + math.cos(a) * t) * k, (y + math.sin(a) * t) * k))
        colour = DESK_FIBRE if rng.random() < 0.7 else (214, 200, 172)
        draw.line(points, fill=colour + (rng.randint(70, 150),), width=k)
    layer.alpha_composite(fibres.convert("RGBa").resize(big, Image.BOX).convert("RGBA"))
    return layer


def label(image, text, position, size=10, fill=INK_SOFT, anchor="la", k=1):
    x, y = position
    return over(image, text_layer(image.size, text, FONT_GOTHIC, size * k, fill, (x * k, y * k), anchor))


def vertical_label(image, text, centre_x, top, size=10):
    """Writes `text` top to bottom, one character under the other, centred on `centre_x`."""
    for index, character in enumerate(text):
        image = label(image, character, (centre_x, top + index * size), size, anchor="mt")
    return image


def make_background(k=1):
    rng = random.Random(130)
    image = Image.new("RGB", (400 * k, 150 * k), DESK)
    image = over(image, washi_texture(rng, (400, 150), k))
    draw = ImageDraw.Draw(image)

    def fill(box, colour):  # a filled box, or a straight line one pixel wide, in 1x pixels
        draw.rectangle(scaled_box(box, k), fill=colour)

    # A thin frame round the sheet, like the edge of a card.
    draw.rectangle(scaled_box((0, 0, 399, 149), k), outline=(214, 200, 174), width=k)
    draw.rectangle(scaled_box((1, 1, 398, 148), k), outline=(244, 238, 224), width=k)

    # The icons' places: a fine vermilion line down the left column ties them together.
    for x in (13,):
        fill((x, 8, x, 86), mix(DESK, VERMILION, 0.35))
    for (x, y, w, h) in (PROMPT_ICON, ANSWER_ICON):
        fill((x - 2, y - 2, x + w + 1, y + h + 1), mix(DESK, CARD_SHADOW, 0.6))
        fill((x - 1, y - 1, x + w, y + h), PAPER)
        fill((13, y + h // 2, x - 3, y + h // 2), mix(DESK, VERMILION, 0.35))

    for card in (PROMPT_CARD, ANSWER_CARD, COUNTER_CARD, STATUS_CARD):
        rounded_card(draw, card, k=k)

    # The answer line: a faint rule under the box, as on writing paper.
    ax, ay, aw, ah = ANSWER_BOX
    fill((ax, ay + ah + 1, ax + aw - 1, ay + ah + 1), INK_FAINT)

    # The time bar's groove.
    draw.rectangle(scaled_box(TRACK_BOX, k), fill=TRACK, outline=TRACK_EDGE, width=k)

    # Correct answers over questions asked, as a fraction.
    fill((11, 117, 71, 117), INK_FAINT)
    image = label(image, "正解", (49, 104), anchor="lm", k=k)
    image = label(image, "出題", (56, 132), anchor="lm", k=k)

    # The status card: correct rate, score and clock, each named in a short vertical line.
    draw = ImageDraw.Draw(image)
    for x in (155, 283):
        fill((x, 119, x, 142), INK_FAINT)
    image = label(image, "正答率", (85, 115), k=k)
    image = label(image, "得点", (161, 115), k=k)
    image = label(image, "時間", (289, 115), k=k)
    image = over(image, text_layer(image.size, "%", FONT_DIGITS_LARGE, 13 * k, VERMILION, (139 * k, 141 * k), "ls"))
    image = over(image, text_layer(image.size, "pt", FONT_DIGITS, 11 * k, INK_SOFT, (263 * k, 142 * k), "ls"))
    return image


# ---------------------------------------------------------------------------------------------
# Digits 132, 133, 134 and colon 135


def digit_strip(cell, font_path, font_size, colour, baseline, k=1):
    width, height = cell[0] * k, cell[1] * k
    image = Image.new("RGB", (width * 10, height), PAPER)
    draw = ImageDraw.Draw(image)
    face = font(font_path, font_size * k)
    for digit in range(10):
        centre = digit * width + width / 2
        draw.text((centre, baseline * k), str(digit), font=face, fill=colour, anchor="ms")
    return image


def make_colon(k=1):
    image = Image.new("RGB", (COLON[0] * k, COLON[1] * k), PAPER)
    layer = supersampled(COLON, 8, lambda d, s: [
        d.ellipse((2.0 * s, y * s, 5.0 * s, (y + 3.0) * s), fill=INK) for y in (2.5, 6.5)], k)
    return over(image, layer)


# ---------------------------------------------------------------------------------------------
# Icons 136, 137, 138: seals for the upper phrase, the lower phrase and the poet


def seal(colour, glyph, seed, glyph_size=15, k=1):
    """A square seal stamped in `colour`, the character cut out of it in the paper's colour."""
    rng = random.Random(seed)
    size = (25 * k, 25 * k)
    scale = 8 * k
    image = Image.new("RGB", size, PAPER)
    image = over(image, supersampled((25, 25), 8, lambda d, s: d.rounded_rectangle(
        (1 * s, 1 * s, 24 * s, 24 * s), 2 * s, fill=colour + (255,)), k))
    glyph_layer = Image.new("RGBA", (25 * scale, 25 * scale), (0, 0, 0, 0))
    ImageDraw.Draw(glyph_layer).text((12.5 * scale, 13 * scale), glyph, font=font(FONT_GOTHIC, glyph_size * scale),
                                     fill=PAPER + (255,), anchor="mm", stroke_width=4 * k,
                                     stroke_fill=PAPER + (255,))
    image = over(image, glyph_layer.convert("RGBa").resize(size, Image.BOX).convert("RGBA"))
    # The worn look of a stamp: a few paler specks in the colour, each a 1x pixel.
    pixels = image.load()
    for _ in range(8):
        x, y = rng.randint(3, 21), rng.randint(3, 21)
        for px, py in [(x * k + i, y * k + j) for i in range(k) for j in range(k)]:
            if pixels[px, py] == colour:
                pixels[px, py] = mix(colour, PAPER, 0.18)
    return image


# ---------------------------------------------------------------------------------------------
# Input marker 139: five frames of a small pointer that slides towards the answer box


def make_marker(k=1):
    frames = Image.new("RGB", (35 * k, 25 * k), PAPER)
    for frame in range(5):
        offset = (0.0, 0.45, 0.9, 1.35, 1.8)[frame]
        strength = (0.35, 0.5, 0.65, 0.82, 1.0)[frame]
        colour = mix(PAPER, VERMILION, strength)

        def paint(draw, s, offset=offset, colour=colour):
            x = 0.8 + offset
            draw.polygon([(x * s, 7.5 * s), ((x + 4.2) * s, 12.5 * s), (x * s, 17.5 * s)], fill=colour + (255,))
        layer = supersampled((7, 25), 8, paint, k)
        tile = over(Image.new("RGB", (7 * k, 25 * k), PAPER), layer)
        frames.paste(tile, (frame * 7 * k, 0))
    return frames


# ---------------------------------------------------------------------------------------------
# Time bar 142, 143, 144: left cap, body, right cap; one colour for each question mode


BAR_COLOURS = (VERMILION, INDIGO, PINE)  # Normal, Reverse, Poet


def bar_shade(colour, row):
    """The bar's colour in each of its 9 rows: a light edge at the top, a darker foot."""
    light = mix(colour, (255, 255, 255), 0.45)
    dark = mix(colour, (0, 0, 0), 0.25)
    return [mix(colour, dark, 0.3), light, mix(light, colour, 0.5), colour, colour, colour,
            mix(colour, dark, 0.4), dark, mix(dark, (0, 0, 0), 0.15)][row]


def bar_column(colour, k=1):
    column = Image.new("RGB", (k, 9 * k))
    for row in range(9 * k):
        for x in range(k):
            column.putpixel((x, row), bar_shade(colour, row // k))
    return column


def bar_cap(colour, right, k=1):
    """A 6 x 9 rounded end of the bar, drawn on the groove's colour."""
    size = (6 * k, 9 * k)
    body = Image.new("RGB", size)
    for x in range(6):
        body.paste(bar_column(colour, k), (x * k, 0))
    mask = supersampled((6, 9), 8, lambda d, s: d.rounded_rectangle(
        ((-6 if right else 0) * s, 0, (6 if right else 12) * s - 1, 9 * s - 1), 4.5 * s, fill=(255, 255, 255, 255)), k)
    cap = Image.new("RGB", size, TRACK)
    cap.paste(body, (0, 0), mask.split()[3])
    return cap


def make_time_bar(k=1):
    left = Image.new("RGB", (18 * k, 9 * k))
    body = Image.new("RGB", (3 * k, 9 * k))
    right = Image.new("RGB", (18 * k, 9 * k))
    for mode, colour in enumerate(BAR_COLOURS):
        left.paste(bar_cap(colour, False, k), (mode * 6 * k, 0))
        body.paste(bar_column(colour, k), (mode * k, 0))
        right.paste(bar_cap(colour, True, k), (mode * 6 * k, 0))
    return left, body, right


# ---------------------------------------------------------------------------------------------
# Portraits 141: the seven characters who comment on a finished run, 45 x 45 each


class Pen:
    """Draws in the 45 x 45 units of a portrait on a canvas `scale` times larger."""

    def __init__(self, draw, scale):
        self.draw = draw
        self.s = scale

    def _box(self, box):
        return tuple(v * self.s for v in box)

    def _points(self, points):
        return [(x * self.s, y * self.s) for x, y in points]

    def _width(self, width):
        return max(1, round(width * self.s))

    def ellipse(self, box, fill=None, outline=INK, width=0.9):
        self.draw.ellipse(self._box(box), fill=_rgba(fill), outline=_rgba(outline) if width else None,
                          width=self._width(width) if width else 0)

    def polygon(self, points, fill=None, outline=INK, width=0.9):
        points = self._points(points)
        if fill is not None:
            self.draw.polygon(points, fill=_rgba(fill))
        if outline is not None and width:
            self.draw.line(points + [points[0]], fill=_rgba(outline), width=self._width(width), joint="curve")

    def line(self, points, fill=INK, width=0.9):
        self.draw.line(self._points(points), fill=_rgba(fill), width=self._width(width), joint="curve")

    def arc(self, box, start, end, fill=INK, width=0.9):
        self.draw.arc(self._box(box), start, end, fill=_rgba(fill), width=self._width(width))

    def chord(self, box, start, end, fill=None, outline=INK, width=0.9):
        self.draw.chord(self._box(box), start, end, fill=_rgba(fill), outline=_rgba(outline) if width else None,
                        width=self._width(width) if width else 0)

    def pieslice(self, box, start, end, fill=None, outline=INK, width=0.9):
        self.draw.pieslice(self._box(box), start, end, fill=_rgba(fill),
                           outline=_rgba(outline) if width else None, width=self._width(width) if width else 0)

    def rect(self, box, fill=None, outline=INK, width=0.9, radius=0):
        self.draw.rounded_rectangle(self._box(box), radius * self.s, fill=_rgba(fill),
                                    outline=_rgba(outline) if width else None,
                                    width=self._width(width) if width else 0)

    def text(self, position, text, size, fill, font_path=FONT_GOTHIC):
        self.draw.text(self._points([position])[0], text, font=font(font_path, round(size * self.s)),
                       fill=_rgba(fill), anchor="mm")


def _rgba(colour):
    if colour is None:
        return None
    return colour if len(colour) == 4 else colour + (255,)


SKIN = (243, 212, 178)
SKIN_TANNED = (210, 156, 110)
CHEEK = (236, 140, 130, 110)
WHITE = (250, 250, 246)
HAIR_BLACK = (44, 38, 38)
HAIR_WHITE = (232, 230, 224)


def backdrop(pen, top, bottom):
    for row in range(45):
        pen.rect((0, row, 45, row + 1.05), fill=mix(top, bottom, row / 44), outline=None, width=0)


def eyes_dots(pen, y=24.5, spread=4.6, size=1.3):
    for x in (22.5 - spread, 22.5 + spread):
        pen.ellipse((x - size, y - size * 1.2, x + size, y + size * 1.2), fill=INK, width=0)


def eyes_closed_smiling(pen, y=24.5, spread=4.6, width=3.2):
    for x in (22.5 - spread, 22.5 + spread):
        pen.arc((x - width / 2, y - 1.2, x + width / 2, y + 1.6), 200, 340, width=0.9)


def cheeks(pen, y=28.5, spread=7.2, colour=CHEEK):
    for x in (22.5 - spread, 22.5 + spread):
        pen.ellipse((x - 2.2, y - 1.3, x + 2.2, y + 1.3), fill=colour, width=0)


def kimono(pen, colour, collar=WHITE, top=36.5):
    pen.polygon([(5, 46), (8, top + 1.5), (16, top - 1), (29, top - 1), (37, top + 1.5), (40, 46)], fill=colour)
    pen.polygon([(16.5, top - 0.5), (22.5, 45.5), (28.5, top - 0.5)], fill=collar, width=0.7)
    pen.line([(17.5, top), (22.5, 44)], fill=mix(colour, INK, 0.4), width=0.7)


def face(pen, skin=SKIN, box=(12, 12.5, 33, 37)):
    pen.rect((19.5, box[3] - 3, 25.5, box[3] + 1.5), fill=skin, outline=None, width=0)  # neck
    pen.ellipse(box, fill=skin)


def portrait_fisherman(pen):
    backdrop(pen, (126, 176, 186), (82, 134, 156))
    for cx in (2, 12, 34, 44):  # waves
        for radius in (7, 4.5):
            pen.arc((cx - radius, 41 - radius, cx + radius, 41 + radius), 180, 360, fill=(226, 240, 240), width=0.8)
    kimono(pen, INDIGO, collar=(236, 232, 220))
    face(pen, SKIN_TANNED)
    pen.polygon([(12.3, 21), (13, 13), (16, 15.5), (18, 10.5), (21, 13.5), (24, 9.5), (26.5, 13), (29.5, 10.5),
                 (30.5, 14.5), (33.5, 13.5), (32.7, 21)], fill=HAIR_BLACK)
    # the twisted towel round the head, knotted at the side
    pen.polygon([(11.6, 18.5), (33.4, 17), (33.6, 20.7), (11.8, 22.2)], fill=WHITE)
    for x in range(13, 33, 3):
        pen.line([(x, 21.8), (x + 2, 17.6)], fill=(70, 96, 140), width=0.6)
    pen.polygon([(32.5, 17.5), (38.5, 13.5), (39.5, 16.5), (35, 19.5), (39.8, 22.5), (37.5, 24.5), (32.8, 20.8)],
                fill=WHITE)
    pen.line([(16, 23.2), (20.5, 22.4)], width=1.3)  # bold eyebrows
    pen.line([(24.5, 22.4), (29, 23.2)], width=1.3)
    eyes_dots(pen, 25.8, 4.4, 1.2)
    pen.chord((17.5, 28.5, 27.5, 34), 0, 180, fill=WHITE)  # a wide grin
    for x, y in ((15.5, 31.5), (17, 33.5), (28, 33.5), (29.5, 31.5), (20, 35), (25, 35), (22.5, 35.6)):
        pen.ellipse((x - 0.45, y - 0.45, x + 0.45, y + 0.45), fill=(120, 84, 60), width=0)


def portrait_elder(pen):
    backdrop(pen, (232, 200, 206), (206, 164, 178))
    for x, y in ((6, 8), (39, 11), (36, 5), (8, 36)):  # plum blossoms
        for k in range(5):
            a = k * 2 * math.pi / 5 - math.pi / 2
            px, py = x + math.cos(a) * 1.6, y + math.sin(a) * 1.6
            pen.ellipse((px - 1.3, py - 1.3, px + 1.3, py + 1.3), fill=(250, 236, 240), width=0)
        pen.ellipse((x - 0.6, y - 0.6, x + 0.6, y + 0.6), fill=(230, 170, 60), width=0)
    kimono(pen, (104, 78, 122))
    pen.ellipse((16, 3.5, 29, 13), fill=HAIR_WHITE)  # the bun
    pen.line([(14, 8), (31, 6)], fill=GOLD, width=1.0)  # its hairpin
    face(pen)
    pen.chord((11.6, 11.5, 33.4, 26), 180, 360, fill=HAIR_WHITE)
    pen.polygon([(11.7, 19), (13.5, 17), (14.5, 25), (12.2, 26)], fill=HAIR_WHITE, width=0.6)
    pen.polygon([(33.3, 19), (31.5, 17), (30.5, 25), (32.8, 26)], fill=HAIR_WHITE, width=0.6)
    pen.line([(22.5, 12.5), (22.5, 16)], fill=(190, 188, 182), width=0.6)
    eyes_closed_smiling(pen, 25, 4.6)
    for x in (17.9, 27.1):  # round glasses
        pen.ellipse((x - 3.1, 22.2, x + 3.1, 28.2), fill=None, outline=(150, 110, 60), width=0.7)
    pen.line([(21, 25), (24, 25)], fill=(150, 110, 60), width=0.6)
    cheeks(pen, 30.2, 7.0)
    pen.arc((19.8, 29.5, 25.2, 33.3), 20, 160, width=0.8)
    pen.arc((13.5, 29, 17, 34), 100, 200, fill=(200, 160, 130), width=0.5)  # gentle lines
    pen.arc((28, 29, 31.5, 34), 340, 80, fill=(200, 160, 130), width=0.5)


def portrait_child(pen):
    backdrop(pen, (248, 228, 152), (238, 200, 112))
    kimono(pen, (206, 64, 58), top=37.5)
    for x, y in ((9, 42), (14, 40.5), (33, 40.5), (37, 43)):
        pen.ellipse((x - 0.9, y - 0.9, x + 0.9, y + 0.9), fill=(250, 220, 120), width=0)
    pen.rect((10, 11, 35, 36), fill=HAIR_BLACK, radius=9)  # the bob behind the face
    face(pen, box=(12.5, 14, 32.5, 38))
    pen.chord((11.5, 10, 33.5, 30), 180, 360, fill=HAIR_BLACK)  # straight fringe
    pen.rect((11.2, 19, 33.8, 21.3), fill=HAIR_BLACK, outline=None, width=0)
    for x in (17.8, 27.2):  # big shining eyes
        pen.ellipse((x - 1.9, 24.4, x + 1.9, 29), fill=INK, width=0)
        pen.ellipse((x - 1.0, 25.0, x + 0.2, 26.4), fill=WHITE, width=0)
    cheeks(pen, 31, 7.0, (240, 120, 120, 150))
    pen.ellipse((21.2, 32.2, 23.8, 34.8), fill=(190, 70, 70))


def portrait_merchant(pen):
    backdrop(pen, (236, 202, 128), (216, 168, 88))
    pen.polygon([(5, 46), (8, 37), (16, 34.5), (29, 34.5), (37, 37), (40, 46)], fill=(150, 96, 52))
    for x in range(7, 40, 3):  # striped kimono
        pen.line([(x, 38), (x - 1, 46)], fill=(120, 72, 38), width=0.7)
    pen.polygon([(16.5, 35), (22.5, 44), (28.5, 35)], fill=(60, 50, 44), width=0.6)
    face(pen, box=(11, 12, 34, 36.5))
    pen.chord((11, 12, 34, 30), 180, 360, fill=HAIR_BLACK)  # side hair
    pen.chord((15, 11.2, 30, 25), 180, 360, fill=(206, 208, 214), outline=None, width=0)  # shaved crown
    pen.arc((15, 11.2, 30, 25), 180, 360, width=0.7)
    pen.rect((21, 6.2, 24, 12.5), fill=HAIR_BLACK, radius=1.2)  # the topknot, folded forward
    pen.ellipse((19.8, 5.2, 25.2, 8.6), fill=HAIR_BLACK, width=0.6)
    eyes_closed_smiling(pen, 23.8, 4.6, 3.6)
    cheeks(pen, 28.2, 7.4)
    pen.chord((16.5, 26.5, 28.5, 33.5), 0, 180, fill=WHITE)  # a broad laugh
    # the abacus held up in front
    pen.rect((6.5, 37, 38.5, 44.5), fill=(160, 104, 56), radius=1)
    pen.rect((8, 38.4, 37, 43.1), fill=(240, 226, 196), outline=None, width=0)
    pen.line([(8, 39.8), (37, 39.8)], fill=(110, 70, 40), width=0.6)
    for x in range(9, 37, 3):
        pen.ellipse((x - 1.1, 38.5, x + 1.1, 39.7), fill=(60, 40, 30), width=0)
        pen.ellipse((x - 1.1, 40.8, x + 1.1, 42.2), fill=(60, 40, 30), width=0)


def portrait_sleepy(pen):
    backdrop(pen, (70, 78, 128), (38, 42, 82))
    pen.ellipse((33, 3, 42, 12), fill=(246, 226, 140), width=0)  # a crescent moon
    pen.ellipse((30.5, 1.5, 39.5, 10.5), fill=mix((70, 78, 128), (38, 42, 82), 0.07), width=0)
    for x, y in ((6, 7), (11, 3), (40, 20)):
        pen.ellipse((x - 0.6, y - 0.6, x + 0.6, y + 0.6), fill=(240, 240, 210), width=0)
    kimono(pen, (150, 176, 206), collar=(220, 230, 240))
    face(pen)
    # a nightcap flopping to one side, with its pompom
    pen.polygon([(11.5, 22), (13, 12), (22, 7), (33, 10), (38, 20), (40, 29), (36.5, 28.5), (33.6, 22)],
                fill=(92, 132, 190))
    for t in (0.28, 0.56, 0.82):
        pen.line([(11.5 + 22 * t, 22 - 14.5 * t + 6 * t * t), (17 + 20 * t, 8 + 10 * t)], fill=WHITE, width=1.0)
    pen.ellipse((36.5, 27, 42.5, 33), fill=WHITE)
    for x in (17.9, 27.1):  # heavy, sleeping eyes
        pen.line([(x - 2.4, 25.2), (x + 2.4, 25.2)], width=1.0)
        pen.arc((x - 2.4, 23.5, x + 2.4, 27.5), 20, 160, width=0.8)
    pen.line([(20.5, 32), (24.5, 32)], width=0.8)
    pen.ellipse((25.6, 26.4, 31.6, 32.4), fill=(200, 230, 250, 150), outline=(140, 180, 220), width=0.6)
    pen.ellipse((27, 27.4, 28.4, 28.8), fill=WHITE, width=0)
    pen.text((9, 15.5), "z", 6.5, (236, 236, 252))
    pen.text((4.5, 9), "z", 5, (200, 204, 236))


def portrait_warlord(pen):
    backdrop(pen, (166, 50, 44), (112, 30, 30))
    pen.ellipse((2, 2, 43, 43), fill=None, outline=(196, 80, 64), width=0.8)
    # armour on the shoulders, laced in rows
    pen.polygon([(3, 46), (6, 37), (16, 34), (29, 34), (39, 37), (42, 46)], fill=(50, 50, 58))
    for y, colour in ((39, (214, 170, 70)), (42, (64, 96, 160)), (44.6, (214, 170, 70))):
        pen.line([(5, y), (40, y)], fill=colour, width=0.9)
    # the neck guard hanging from the helmet
    pen.polygon([(7, 20), (38, 20), (41, 34), (4, 34)], fill=(58, 58, 68))
    for y in (24, 28, 32):
        pen.line([(6, y), (39, y)], fill=(110, 110, 124), width=0.6)
    face(pen, box=(13, 15, 32, 37))
    # the helmet bowl with its rivets, the side flaps and the crest of horns
    pen.chord((9, 7, 36, 31), 180, 360, fill=(62, 62, 74))
    for x in (13, 17, 22.5, 28, 32):
        pen.line([(x, 9.8 if x != 22.5 else 7.5), (x + (22.5 - x) * 0.1, 18.5)], fill=(120, 120, 134), width=0.5)
    pen.rect((9, 17.5, 36, 20), fill=(74, 74, 88), radius=0.6)
    pen.polygon([(8.5, 18), (4, 15.5), (5.5, 23), (10, 21.5)], fill=(74, 74, 88), width=0.7)
    pen.polygon([(36.5, 18), (41, 15.5), (39.5, 23), (35, 21.5)], fill=(74, 74, 88), width=0.7)
    pen.polygon([(21, 10), (11, 1.5), (13.5, 0.8), (22.5, 7.5), (31.5, 0.8), (34, 1.5), (24, 10)], fill=GOLD,
                outline=(120, 90, 30), width=0.6)
    pen.ellipse((20.3, 7.8, 24.7, 12.2), fill=(230, 196, 90), outline=(120, 90, 30), width=0.6)
    pen.line([(16, 23.6), (20.8, 25)], width=1.3)  # stern brows
    pen.line([(24.2, 25), (29, 23.6)], width=1.3)
    eyes_dots(pen, 26.8, 4.3, 1.1)
    pen.polygon([(22.5, 30), (18, 31), (15, 33.5), (18.5, 32.3), (22.5, 31.6), (26.5, 32.3), (30, 33.5),
                 (27, 31)], fill=HAIR_BLACK, width=0.4)  # moustache
    pen.line([(20.5, 34.3), (24.5, 34.3)], width=0.8)


def portrait_master(pen):
    backdrop(pen, (168, 186, 150), (122, 146, 112))
    # an ink circle behind him, brushed in one stroke
    pen.arc((3, 3, 42, 42), 120, 420, fill=(70, 80, 60, 120), width=2.2)
    pen.polygon([(4, 46), (7, 36.5), (16, 34), (29, 34), (38, 36.5), (41, 46)], fill=(58, 52, 60))
    pen.polygon([(17, 34.5), (22.5, 42), (28, 34.5)], fill=(196, 190, 176), width=0.6)
    face(pen, box=(12, 9, 33, 35))
    pen.ellipse((16, 10.5, 21.5, 14), fill=(255, 246, 232, 200), width=0)  # the shine of his head
    pen.ellipse((10.3, 22, 14, 28), fill=SKIN)  # ears
    pen.ellipse((31, 22, 34.7, 28), fill=SKIN)
    pen.chord((10.6, 15, 34.4, 35), 0, 180, fill=SKIN, outline=None, width=0)
    for side in (-1, 1):  # long white eyebrows hanging down
        x = 22.5 + side * 4.6
        pen.polygon([(x - side * 3, 21.2), (x + side * 1.5, 20.2), (x + side * 6.5, 24.5), (x + side * 5.5, 25.6),
                     (x + side * 1, 22.6)], fill=HAIR_WHITE, width=0.5)
        pen.arc((x - 1.7, 22.8, x + 1.7, 25.8), 20, 160, width=0.8)  # closed eyes
    # the long beard down over his robe
    pen.polygon([(14.5, 29), (22.5, 31.5), (30.5, 29), (29.5, 36), (26.5, 41.5), (22.5, 45.5), (18.5, 41.5),
                 (15.5, 36)], fill=HAIR_WHITE, width=0.7)
    pen.line([(22.5, 33.5), (22.5, 43)], fill=(196, 194, 188), width=0.5)
    pen.polygon([(22.5, 28.5), (17, 29.5), (14.5, 32), (18, 31), (22.5, 30.2), (27, 31), (30.5, 32), (28, 29.5)],
                fill=HAIR_WHITE, width=0.5)


PORTRAITS = (portrait_fisherman, portrait_elder, portrait_child, portrait_merchant, portrait_sleepy,
             portrait_warlord, portrait_master)


def make_portraits(k=1):
    side = 45 * k
    strip = Image.new("RGB", (side * len(PORTRAITS), side), PAPER)
    for index, paint in enumerate(PORTRAITS):
        tile = supersampled((45, 45), 8, lambda d, s, paint=paint: paint(Pen(d, s)), k)
        framed = over(Image.new("RGB", (side, side), PAPER), tile)
        ImageDraw.Draw(framed).rectangle((0, 0, side - 1, side - 1), outline=(96, 84, 72), width=k)
        strip.paste(framed, (index * side, 0))
    return strip


# ---------------------------------------------------------------------------------------------
# Program icon 101, record-list icon 153, About picture and rank-in picture 157


def card_shape(pen, box, angle, fill, edge, radius=3.0, width=1.0):
    """A rounded card, turned by `angle` degrees about its centre."""
    left, top, right, bottom = box
    cx, cy = (left + right) / 2, (top + bottom) / 2
    a = math.radians(angle)

    def turn(x, y):
        dx, dy = x - cx, y - cy
        return (cx + dx * math.cos(a) - dy * math.sin(a), cy + dx * math.sin(a) + dy * math.cos(a))

    points = []
    corners = ((right - radius, top + radius, -90), (right - radius, bottom - radius, 0),
               (left + radius, bottom - radius, 90), (left + radius, top + radius, 180))
    for x, y, start in corners:
        for step in range(7):
            t = math.radians(start + step * 15)
            points.append(turn(x + math.cos(t) * radius, y + math.sin(t) * radius))
    pen.polygon(points, fill=fill, outline=edge, width=width)
    return turn


def paint_program_icon(draw, scale):
    """A washi poem card with 歌 in ink and a vermilion seal, over a second card's red back."""
    pen = Pen(draw, scale)  # units: 1/45 of the icon's side
    card_shape(pen, (15, 4, 42, 41), 12, (176, 52, 40), (120, 34, 28), radius=3, width=1.0)
    card_shape(pen, (13.5, 7.5, 38.5, 40.5), 7, (150, 42, 34), None, radius=2, width=0)
    turn = card_shape(pen, (4, 3.5, 32, 42), -7, PAPER, (112, 98, 80), radius=3, width=1.1)
    inner = [turn(x, y) for x, y in ((6.5, 6), (29.5, 6), (29.5, 39.5), (6.5, 39.5))]
    pen.polygon(inner, fill=None, outline=(110, 150, 120), width=0.6)
    cx, cy = turn(18, 21)
    glyph = Image.new("RGBA", draw.im.size, (0, 0, 0, 0))
    ImageDraw.Draw(glyph).text((cx * scale, cy * scale), "歌", font=font(FONT_MINCHO, round(22 * scale)),
                               fill=INK + (255,), anchor="mm", stroke_width=round(0.5 * scale), stroke_fill=INK + (255,))
    glyph = glyph.rotate(7, center=(cx * scale, cy * scale), resample=Image.BICUBIC)
    draw._image.alpha_composite(glyph) if hasattr(draw, "_image") else None
    sx, sy = turn(25.5, 34.5)
    pen.rect((sx - 3.2, sy - 3.2, sx + 3.2, sy + 3.2), fill=VERMILION, outline=None, width=0, radius=0.6)
    pen.rect((sx - 2.2, sy - 2.2, sx + 2.2, sy + 2.2), fill=None, outline=PAPER, width=0.5, radius=0.3)


def render(size, paint, master=None):
    """Paints at a large size once and scales down to `size`, a side or a (width, height) pair
    (transparent outside the drawing)."""
    width, height = size if isinstance(size, tuple) else (size, size)
    master = master or max(max(width, height) * 8, 512)
    big = Image.new("RGBA", (master, master), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    draw._image = big
    paint(draw, master / 45.0)
    return big.convert("RGBa").resize((width, height), Image.LANCZOS).convert("RGBA")


def paint_record_icon(draw, scale):
    """A hanging scroll with five ranked lines, the first marked in vermilion."""
    pen = Pen(draw, scale)
    pen.rect((9, 5, 36, 41), fill=(236, 226, 204), outline=(120, 96, 70), width=1.3, radius=1)
    pen.rect((12, 8, 33, 38), fill=PAPER, outline=(196, 180, 150), width=0.8)
    pen.rect((6, 2, 39, 6.5), fill=(122, 78, 48), outline=(80, 50, 30), width=1.0, radius=2.2)
    pen.rect((6, 39.5, 39, 44), fill=(122, 78, 48), outline=(80, 50, 30), width=1.0, radius=2.2)
    pen.line([(22.5, 2), (22.5, -2)], fill=(80, 50, 30), width=1.2)
    for row in range(5):
        y = 12.5 + row * 5.5
        colour = VERMILION if row == 0 else INK
        pen.ellipse((14.2, y - 1.6, 17.4, y + 1.6), fill=colour, width=0)
        pen.line([(20, y), (31 - row * 1.2, y)], fill=colour if row == 0 else mix(INK, PAPER, 0.25),
                 width=1.6 if row == 0 else 1.3)


def paint_about(draw, scale):
    """A reading card of the anthology: a court poet with his tall black hat, and his verse."""
    pen = Pen(draw, scale)
    card_shape(pen, (17, 2.5, 41, 43), 8, (110, 150, 120), (70, 100, 80), radius=2.5, width=0.8)
    turn = card_shape(pen, (5, 1.5, 32, 43.5), -4, PAPER, (112, 98, 80), radius=2.5, width=0.9)
    rng = random.Random(151)
    for column, length in enumerate((14, 11, 16)):  # the verse, brushed in columns of kana
        x = 27.5 - column * 3.4
        y = 4.5
        while y < 4.5 + length:
            stroke = rng.uniform(1.2, 2.6)
            wobble = rng.uniform(-0.5, 0.5)
            pen.line([turn(x + wobble, y), turn(x - wobble, y + stroke)], fill=mix(INK, PAPER, 0.15), width=1.0)
            y += stroke + rng.uniform(0.5, 1.1)
    # the poet, seated, in a wide robe
    robe = [turn(x, y) for x, y in ((7, 41), (9.5, 29), (13.5, 25.5), (19, 25.5), (23.5, 29), (27, 41))]
    pen.polygon(robe, fill=(64, 56, 110), outline=INK, width=0.7)
    pen.polygon([turn(14, 26), turn(16.2, 33), turn(18.5, 26)], fill=PAPER, outline=None, width=0)
    pen.line([turn(16.2, 27), turn(12, 38)], fill=(150, 110, 70), width=0.8)  # his tablet
    hx, hy = turn(16.2, 21)
    pen.ellipse((hx - 3.4, hy - 3.6, hx + 3.4, hy + 3.8), fill=SKIN, outline=INK, width=0.6)
    pen.polygon([turn(13.2, 19), turn(13.8, 9.5), turn(17.5, 8.8), turn(19.2, 19)], fill=HAIR_BLACK,
                outline=INK, width=0.5)  # the eboshi
    pen.line([turn(14.8, 21), turn(15.6, 21)], width=0.5)
    pen.line([turn(16.9, 21), turn(17.7, 21)], width=0.5)
    sx, sy = turn(27, 38)
    pen.rect((sx - 2.6, sy - 2.6, sx + 2.6, sy + 2.6), fill=VERMILION, outline=None, width=0, radius=0.4)


def paint_rank_in(draw, scale):
    """An open golden fan with the red sun on it, and its tassel: a festive mark for a new record."""
    pen = Pen(draw, scale)
    cx, cy = 22.5, 33.5
    outer, inner = 21.5, 7.5
    folds = 12
    start, end = 195, 345
    for k in range(folds):
        a0 = start + (end - start) * k / folds
        a1 = start + (end - start) * (k + 1) / folds
        colour = (226, 186, 84) if k % 2 == 0 else (204, 160, 64)
        pen.pieslice((cx - outer, cy - outer, cx + outer, cy + outer), a0, a1, fill=colour, outline=None, width=0)
    pen.pieslice((cx - outer, cy - outer, cx + outer, cy + outer), start, end, fill=None, outline=(130, 96, 36),
                 width=0.9)
    pen.pieslice((cx - inner, cy - inner, cx + inner, cy + inner), start - 1, end + 1, fill=(110, 70, 40),
                 outline=(70, 44, 26), width=0.6)
    for k in range(folds + 1):
        a = math.radians(start + (end - start) * k / folds)
        pen.line([(cx, cy), (cx + math.cos(a) * inner, cy + math.sin(a) * inner)], fill=(70, 44, 26), width=0.5)
    pen.ellipse((cx - 5, 20.5 - 5, cx + 5, 20.5 + 5), fill=(214, 50, 40), outline=None, width=0)
    pen.ellipse((cx - 1.4, cy - 1.4, cx + 1.4, cy + 1.4), fill=GOLD, outline=(70, 44, 26), width=0.4)
    pen.line([(cx, cy + 1), (cx - 1.5, 38), (cx + 1, 41)], fill=VERMILION, width=1.0)  # the tassel
    pen.polygon([(cx - 1.6, 40.5), (cx + 3.2, 40.5), (cx + 3.8, 44.5), (cx - 2.2, 44.5)], fill=VERMILION,
                outline=(140, 40, 30), width=0.4)
    for x, y, r in ((6, 10, 2.2), (39.5, 8, 1.8), (4, 27, 1.4), (41.5, 24, 1.5)):  # sparkles
        pen.polygon([(x, y - r * 1.6), (x + r * 0.35, y - r * 0.35), (x + r * 1.6, y), (x + r * 0.35, y + r * 0.35),
                     (x, y + r * 1.6), (x - r * 0.35, y + r * 0.35), (x - r * 1.6, y), (x - r * 0.35, y - r * 0.35)],
                    fill=(236, 196, 90), outline=None, width=0)


# ---------------------------------------------------------------------------------------------
# Output


def copy_zones():
    """Every place where the game copies a picture onto the background, with the colour it needs
    there: (left, top, right, bottom) exclusive, colour."""
    zones = []
    for right, top, digits in (CORRECT_DIGITS, ASKED_DIGITS, SCORE_DIGITS):
        zones.append((right - digits * SMALL_DIGIT[0], top, right, top + SMALL_DIGIT[1]))
    right, top, digits = RATE_DIGITS
    zones.append((right - digits * LARGE_DIGIT[0], top, right, top + LARGE_DIGIT[1]))
    x, y = CLOCK_LEFT
    zones.append((x, y, x + 6 * SMALL_DIGIT[0] + 2 * COLON[0], y + SMALL_DIGIT[1]))
    x, y, w, h = MARKER
    zones.append((x, y, x + w, y + h))
    result = [(zone, PAPER) for zone in zones]
    x, y, w, h = TIME_BAR
    result.append(((x, y, x + w, y + h), TRACK))
    for x, y, w, h in (PROMPT_ICON, ANSWER_ICON):
        result.append(((x, y, x + w, y + h), PAPER))  # the seals' rounded corners
    return result


def check_background(background, k=1):
    """Fails when a place the game copies pictures onto is not of the colour they are drawn on."""
    pixels = background.load()
    for zone, colour in copy_zones():
        left, top, right, bottom = (v * k for v in zone)
        if zone[:2] in ((PROMPT_ICON[0], PROMPT_ICON[1]), (ANSWER_ICON[0], ANSWER_ICON[1])):
            corners = [(left, top), (right - 1, top), (left, bottom - 1), (right - 1, bottom - 1)]
            points = corners
        else:
            points = [(x, y) for x in range(left, right) for y in range(top, bottom)]
        for point in points:
            if pixels[point] != colour:
                raise SystemExit("background 130: %s is %s, the pictures copied there need %s"
                                 % (point, pixels[point], colour))


def save(image, name):
    path = os.path.join(ASSETS, name)
    image.save(path, optimize=True)
    return path


def compose_screen(pictures, mode, bar_width, marker_frame):
    """The game screen in play, drawn as the game draws it: prompt, answer, counters, clock."""
    screen = pictures["bitmap-130.png"].copy()

    def cell(strip, index, count, position):
        w = strip.width // count
        screen.paste(strip.crop((index * w, 0, index * w + w, strip.height)), position)

    def number(value, digits, strip, x, y, align_right=True):
        text = str(value).rjust(digits, "0")
        w = strip.width // 10
        x0 = x - len(text) * w if align_right else x
        for i, ch in enumerate(text):
            cell(strip, int(ch), 10, (x0 + i * w, y))
        return x0 + len(text) * w

    icons = {0: ("bitmap-136.png", "bitmap-137.png"), 1: ("bitmap-137.png", "bitmap-136.png"),
             2: ("bitmap-138.png", "bitmap-137.png")}[mode]
    screen.paste(pictures[icons[0]], PROMPT_ICON[:2])
    screen.paste(pictures[icons[1]], ANSWER_ICON[:2])
    number(87, 1, pictures["bitmap-132.png"], *RATE_DIGITS[:2])
    number(12850, 1, pictures["bitmap-133.png"], *SCORE_DIGITS[:2])
    number(7, 1, pictures["bitmap-133.png"], *CORRECT_DIGITS[:2])
    number(8, 1, pictures["bitmap-134.png"], *ASKED_DIGITS[:2])
    x, y = CLOCK_LEFT
    for i, part in enumerate((0, 3, 27)):
        x = number(part, 2, pictures["bitmap-133.png"], x, y, align_right=False)
        if i < 2:
            screen.paste(pictures["bitmap-135.png"], (x, y))
            x += COLON[0]
    cell(pictures["bitmap-139.png"], marker_frame, 5, MARKER[:2])
    if bar_width > 0:
        cell(pictures["bitmap-142.png"], mode, 3, (81, 103))
    if bar_width > 1:
        body = pictures["bitmap-143.png"].crop((mode, 0, mode + 1, 9)).resize((bar_width - 2, 9))
        screen.paste(body, (87, 103))
    if bar_width == 302:
        cell(pictures["bitmap-144.png"], mode, 3, (387, 103))
    draw = ImageDraw.Draw(screen)
    prompt = "あきのたのかりほのいほの"
    draw.text((76, 8 + 21), prompt, font=font(FONT_GOTHIC, 25), fill=(100, 100, 100), anchor="lm",
              stroke_width=0)
    ax, ay, aw, ah = ANSWER_BOX
    draw.rectangle((ax, ay, ax + aw - 1, ay + ah - 1), fill=(255, 255, 255), outline=(190, 190, 190))
    draw.text((ax + 4, ay + ah // 2), "ころもてはつゆに", font=font(FONT_GOTHIC, 20), fill=(100, 100, 100),
              anchor="lm")
    return screen


def compose_preview(pictures):
    """Three screens, one for each question mode, stacked and scaled up twice."""
    screens = [compose_screen(pictures, 0, 200, 3), compose_screen(pictures, 1, 302, 0),
               compose_screen(pictures, 2, 57, 4)]
    sheet = Image.new("RGB", (400, 150 * 3 + 8), (255, 255, 255))
    for index, screen in enumerate(screens):
        sheet.paste(screen, (0, index * 154))
    return sheet.resize((800, sheet.height * 2), Image.NEAREST)


def game_screen_pictures(k):
    """The pictures the game screen draws from, at `k` times their size."""
    left, body, right = make_time_bar(k)
    pictures = {
        "bitmap-130.png": make_background(k),
        "bitmap-132.png": digit_strip(LARGE_DIGIT, FONT_DIGITS_LARGE, 17, VERMILION, 14, k),
        "bitmap-133.png": digit_strip(SMALL_DIGIT, FONT_DIGITS, 12, INK, 10, k),
        "bitmap-134.png": digit_strip(SMALL_DIGIT, FONT_DIGITS, 12, INDIGO, 10, k),
        "bitmap-135.png": make_colon(k),
        "bitmap-136.png": seal(VERMILION, "上", 136, k=k),
        "bitmap-137.png": seal(INDIGO, "下", 137, k=k),
        "bitmap-138.png": seal(PINE, "詠", 138, glyph_size=14, k=k),
        "bitmap-139.png": make_marker(k),
        "bitmap-141.png": make_portraits(k),
        "bitmap-142.png": left,
        "bitmap-143.png": body,
        "bitmap-144.png": right,
    }
    check_background(pictures["bitmap-130.png"], k)
    return pictures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", help="also write a picture of the game screen in play")
    args = parser.parse_args()

    os.makedirs(ASSETS, exist_ok=True)
    pictures = game_screen_pictures(1)
    for k in (2, 3):
        for name, image in game_screen_pictures(k).items():
            pictures[name.replace(".png", "@%dx.png" % k)] = image
    for size in (16, 32, 64, 128, 256):
        pictures["icon-101-%d.png" % size] = render(size, paint_program_icon)
    pictures["icon-101.png"] = render(48, paint_program_icon)
    pictures["icon-153.png"] = render(32, paint_record_icon)
    pictures["bitmap-about.png"] = render((50, 51), paint_about)  # the size its resource has
    pictures["bitmap-157.png"] = render(66, paint_rank_in)
    for k in (2, 3):  # the dialogs' pictures for desktops drawn at a scale
        pictures["icon-153@%dx.png" % k] = render(32 * k, paint_record_icon)
        pictures["bitmap-about@%dx.png" % k] = render((50 * k, 51 * k), paint_about)
        pictures["bitmap-157@%dx.png" % k] = render(66 * k, paint_rank_in)
    # The help shows the screen in play, as the game draws it (the help book is zipped afterwards by
    # tools/make-help.py).
    pictures[os.path.join("help", "gamen.png")] = compose_screen(pictures, 0, 200, 3)
    for name, image in sorted(pictures.items()):
        print(save(image, name))
    if args.preview:
        compose_preview(pictures).save(args.preview)
        print(args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
