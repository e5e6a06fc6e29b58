#!/usr/bin/python3
"""Paints the editor's fourteen skin images (resources/skins/<Name>A.png and <Name>B.png, 1800 x 1140).

Each skin has a SIDE A and a SIDE B image: the same family, each leaning to its page's accent colour.
The images are painted for the editor's layout: calm, dark areas where bars, knobs, labels and displays
sit, detail and light where nothing is drawn on top (the top band around the preset header, the space
below it, the upper corners of the outer columns, the gutters and the margins). The page tab draws no
text, so every image letters its own "SIDE A" or "SIDE B" in the top-left corner of the tab.

White text must stay readable over every image: for every place where the editor writes white text
(captions, bar texts over the bars' translucent backgrounds, the hint box) the brightest part of the
image there must keep a contrast of at least 4.5 : 1. Painting fails when it does not.

Everything is drawn from fixed seeds, so the output is the same on every run. Usage:
    make_skins.py            paint every image, optimise it with optipng and write it
    make_skins.py --check    paint every image in memory and fail when a committed image differs
    make_skins.py --only WavySpaceA --out /tmp   paint some images into another folder (for a look)
Needs Pillow (Debian: python3-pil) and, to write, optipng.
"""

import argparse
import io
import math
import pathlib
import random
import shutil
import struct
import subprocess
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT_DIR = ROOT / "resources" / "skins"
FONT_DIR = ROOT / "resources" / "fonts"
LIGHT_FONT = FONT_DIR / "RobotoCondensed-Light.ttf"
REGULAR_FONT = FONT_DIR / "RobotoCondensed-Regular.ttf"

W, H = 1800, 1140
# Window sizes whose layouts are painted for: the smallest, the first, two between and the largest. The
# editor's clamps (knob size, border) make the layout differ a little between them.
LAYOUT_SIZES = [(450, 285), (600, 380), (750, 475), (1200, 760), (1800, 1140)]
MINIMUM_CONTRAST = 4.5


def hex_rgb(value):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def argb(value):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255, (value >> 24) & 255)


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def shade(colour, factor):
    return tuple(max(0, min(255, int(round(c * factor)))) for c in colour)


# --- The editor's layout ----------------------------------------------------------------------------


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def rnd(x):
    """Single precision, nearest integer, halves to even (as the editor rounds its layout)."""
    return int(round(f32(x)))


def clamp(v, lo, hi):
    return max(lo, min(hi, v))


def layout(width, height):
    """Where the editor puts what, at one window size: (kind, page, (x, y, w, h)) in window pixels.

    Kinds: "text" (white text straight on the image), "bar" (white text over the bar background),
    "display" (display areas with their own background), "control" (knobs, switches, buttons),
    "header" (the preset header's outline box). Pages: "A", "B" or "AB".
    """
    Wd, Hd = width, height
    items = []

    def add(kind, page, x, y, w, h):
        items.append((kind, page, (x, y, max(w, 0), max(h, 0))))

    bottom_h = min(rnd(0.1 * Hd), Hd)
    main_h = Hd - bottom_h
    top_h = min(rnd(0.246 * Hd), main_h)
    col_h = max(0, main_h - top_h)
    col1 = Wd // 3
    col2 = min(Wd // 3, Wd - col1)
    col3 = Wd - col1 - col2
    border = clamp(rnd(0.015 * Wd), 4, 36)
    c1x, c1w = border, max(0, col1 - 2 * border)
    c2x, c2w = col1 + border, max(0, col2 - 2 * border)
    c3x, c3w = col1 + col2 + border, max(0, col3 - 2 * border)
    label_h = clamp(rnd(0.05 * Hd), 10, 64)
    knob = clamp(rnd(0.23 * Hd), 30, 220)
    bar_h = clamp(rnd(0.047 * Hd), 10, 64)
    gap_y = rnd(0.02 * Hd)
    unit = f32(col_h / 13.65)

    def row(k):
        return rnd(k * unit) + top_h + gap_y

    # Bottom strip: five square buttons from the right, the hint box's text on the left.
    a, b, c = rnd(0.052 * Wd), rnd(0.003 * Hd), rnd(0.023 * Hd)
    x0 = min(a, Wd)
    strip_w = max(0, Wd - 2 * a)
    strip_y = main_h + min(b, bottom_h)
    strip_h = bottom_h - min(b, bottom_h) - min(c, bottom_h - min(b, bottom_h))
    gap = rnd(0.005 * Wd)
    right = x0 + strip_w
    for _ in range(5):
        side = min(strip_h, right - x0)
        add("control", "AB", right - side, strip_y, side, strip_h)
        right -= side + gap
    add("text", "AB", x0, strip_y, right + gap - x0, strip_h)

    # Top section: preset header, bypass switch, output meter.
    add("header", "AB", 0.15 * Wd, 0.05 * top_h, 0.695 * Wd, 0.388 * top_h)
    add("control", "AB", rnd(0.85 * Wd), rnd(0.043 * Hd), rnd(0.045 * Wd), rnd(0.04 * Hd))
    t = rnd(0.246 * Hd)
    add("display", "AB", rnd(0.86 * Wd), rnd(0.58 * t), rnd(0.1 * Wd), rnd(0.2 * t))

    # Knobs with their captions.
    knob_y = top_h + rnd(0.175 * col_h)
    label_y0 = knob_y - border // 2 - label_h - 1
    for kx in (c1x + c1w - knob, c3x):
        add("control", "AB", kx, knob_y, knob, knob)
        add("text", "AB", kx, max(0, label_y0), knob, label_h)

    # Column 1.
    x1, w1 = 2 * border, c1w - border
    add("text", "A", x1, row(7), w1, label_h)
    add("display", "A", x1 + 1, row(10) + 1, w1 - 2, 3 * (rnd(2 * unit) - rnd(unit)))
    for k in (8, 9):
        add("bar", "A", x1, row(k), w1, bar_h)
    for k in (7, 9):
        add("bar", "B", x1, row(k), w1, bar_h)  # the two switches write white text too
    for k in (8, 10, 11, 12):
        add("bar", "B", x1, row(k), w1, bar_h)

    # Column 2: heading, display, bars.
    add("text", "A", c2x, label_y0, c2w, label_h)
    add("text", "B", c2x, label_y0, c2w, label_h)
    display_y = top_h + rnd(0.125 * Hd)
    add("display", "AB", c2x, display_y, c2w, rnd(0.18 * Hd))
    for k in range(6, 13):
        add("bar", "AB", c2x, row(k), c2w, bar_h)

    # Column 3.
    w3 = c3w - border
    add("text", "AB", c3x, row(7), w3, label_h)
    for k in range(8, 13):
        add("bar", "AB", c3x, row(k), w3, bar_h)
    return items


def painted_layout(page):
    """Every size's layout for one page, scaled to the image's pixels."""
    result = []
    for width, height in LAYOUT_SIZES:
        sx, sy = W / width, H / height
        for kind, pages, (x, y, w, h) in layout(width, height):
            if page in pages:
                result.append((kind, (x * sx, y * sy, w * sx, h * sy)))
    return result


def calm_mask(page, grow=18, blur=26):
    """1 (white) where controls sit, falling off softly around them."""
    mask = Image.new("L", (W, H), 0)
    draw = ImageDraw.Draw(mask)
    for kind, (x, y, w, h) in painted_layout(page):
        if kind == "header":
            continue
        draw.rounded_rectangle([x - grow, y - grow, x + w + grow, y + h + grow], radius=grow, fill=255)
    return mask.filter(ImageFilter.GaussianBlur(blur))


# --- Contrast ---------------------------------------------------------------------------------------


def srgb_to_linear(c):
    c /= 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


LINEAR = [srgb_to_linear(float(i)) for i in range(256)]


def luminance_histogram(region):
    """Relative luminance of every pixel of an RGB image, binned to 1/1000."""
    r, g, b = region.split()
    lum = [0] * 1001
    for pr, pg, pb in zip(r.getdata(), g.getdata(), b.getdata()):
        lum[int(1000 * (0.2126 * LINEAR[pr] + 0.7152 * LINEAR[pg] + 0.0722 * LINEAR[pb]))] += 1
    return lum


def percentile(histogram, fraction):
    total = sum(histogram)
    limit = fraction * total
    count = 0
    for index, n in enumerate(histogram):
        count += n
        if count >= limit:
            return index / 1000.0
    return 1.0


def contrast_problems(image, skin, page):
    """Places where white text would be hard to read: the brightest 2 % of each text area (after the
    bar or display background the editor lays over it) must stay at 4.5 : 1 against white."""
    problems = []
    seen = set()
    small = image.resize((W // 3, H // 3), Image.BOX)
    for kind, (x, y, w, h) in painted_layout(page):
        if kind not in ("text", "bar"):
            continue
        box = (int(x // 3), int(y // 3), int(math.ceil((x + w) / 3)), int(math.ceil((y + h) / 3)))
        if box in seen or box[2] <= box[0] or box[3] <= box[1]:
            continue
        seen.add(box)
        region = small.crop(box)
        if kind == "bar":
            r, g, b, a = skin["bar_background"]
            region = Image.blend(region, Image.new("RGB", region.size, (r, g, b)), a / 255.0)
        brightest = percentile(luminance_histogram(region), 0.98)
        contrast = 1.05 / (brightest + 0.05)
        if contrast < MINIMUM_CONTRAST:
            problems.append(f"{kind} at {tuple(int(v) for v in (x, y, w, h))}: contrast {contrast:.2f}")
    return problems


# --- Drawing helpers --------------------------------------------------------------------------------


def font(path, size):
    return ImageFont.truetype(str(path), size)


def solid(colour, size=(W, H)):
    return Image.new("RGB", size, colour)


def vertical_gradient(top, bottom, size=(W, H)):
    mask = Image.linear_gradient("L").resize(size, Image.BILINEAR)
    return Image.composite(solid(bottom, size), solid(top, size), mask)


def horizontal_gradient(left, right, size=(W, H)):
    mask = Image.linear_gradient("L").rotate(90).transpose(Image.FLIP_LEFT_RIGHT).resize(size, Image.BILINEAR)
    return Image.composite(solid(right, size), solid(left, size), mask)


def radial_mask(centre, radius_x, radius_y=None, strength=1.0, size=(W, H)):
    """A soft round light: 255 x strength in the centre, 0 at the radius."""
    radius_y = radius_y or radius_x
    # Pillow's radial gradient holds the distance from its centre: 128 at the middle of each edge.
    light = Image.radial_gradient("L").point(lambda v: int(255 * strength * (1 - v / 128) ** 2) if v < 128 else 0)
    light = light.resize((int(2 * radius_x), int(2 * radius_y)), Image.BILINEAR)
    mask = Image.new("L", size, 0)
    mask.paste(light, (int(centre[0] - radius_x), int(centre[1] - radius_y)))
    return mask


def glow(base, colour, mask):
    return Image.composite(solid(colour, base.size), base, mask)


def add_light(base, colour, mask):
    """Adds coloured light where the mask is bright (screen-like, never past white)."""
    layer = Image.composite(solid(colour, base.size), solid((0, 0, 0), base.size), mask)
    return ImageChops.screen(base, layer)


def scaled_mask(mask, factor):
    return mask.point(lambda v: int(v * factor))


def quiet_under_controls(mask, calm, keep=0.12):
    """Lets a decoration mask through only where no control sits (keep of it where one does)."""
    inverse = calm.point(lambda v: int(255 - v * (1.0 - keep)))
    return ImageChops.multiply(mask, inverse)


def darken(base, calm, amount):
    """Darker under the controls: the calm mask at 'amount' multiplies the image down."""
    factor = calm.point(lambda v: int(255 - v * amount))
    return ImageChops.multiply(base, Image.merge("RGB", (factor, factor, factor)))


def smooth_noise(seed, cells, size=(W, H), blur=0):
    """Low-frequency noise: random cells, enlarged smoothly (compresses well, reads as material)."""
    rng = random.Random(seed)
    small = Image.frombytes("L", cells, rng.randbytes(cells[0] * cells[1]))
    result = small.resize(size, Image.BICUBIC)
    return result.filter(ImageFilter.GaussianBlur(blur)) if blur else result


def modulate(base, noise, amount):
    """Brightens and darkens the image by up to 'amount' (0..1) following the noise around its middle."""
    lighter = noise.point(lambda v: int(max(0, v - 128) * 2 * amount))
    darker = noise.point(lambda v: int(max(0, 128 - v) * 2 * amount))
    base = ImageChops.add(base, Image.merge("RGB", (lighter,) * 3))
    return ImageChops.subtract(base, Image.merge("RGB", (darker,) * 3))


class Supersampled:
    """A mask drawn at four times the size and reduced, for smooth edges."""

    def __init__(self, scale=4, size=(W, H)):
        self.scale = scale
        self.size = size
        self.image = Image.new("L", (size[0] * scale, size[1] * scale), 0)
        self.draw = ImageDraw.Draw(self.image)

    def s(self, points):
        return [(x * self.scale, y * self.scale) for x, y in points]

    def polygon(self, points, fill=255):
        self.draw.polygon(self.s(points), fill=fill)

    def line(self, points, width, fill=255):
        self.draw.line(self.s(points), fill=fill, width=int(round(width * self.scale)), joint="curve")

    def ellipse(self, box, fill=None, outline=None, width=1):
        x0, y0, x1, y1 = box
        self.draw.ellipse([x0 * self.scale, y0 * self.scale, x1 * self.scale, y1 * self.scale], fill=fill,
                          outline=outline, width=int(round(width * self.scale)))

    def rounded(self, box, radius, fill=None, outline=None, width=1):
        x0, y0, x1, y1 = box
        self.draw.rounded_rectangle([x0 * self.scale, y0 * self.scale, x1 * self.scale, y1 * self.scale],
                                    radius=radius * self.scale, fill=fill, outline=outline,
                                    width=int(round(width * self.scale)))

    def mask(self):
        return self.image.resize(self.size, Image.BOX)


def wave_points(x0, x1, y0, amplitude, wavelength, phase, second=0.0, step=6):
    points = []
    x = x0
    while x <= x1 + step:
        y = y0 + amplitude * math.sin(2 * math.pi * x / wavelength + phase)
        y += second * amplitude * math.sin(2 * math.pi * x / (wavelength * 0.43) + 1.7 * phase)
        points.append((x, y))
        x += step
    return points


def text_mask(text, face, size, position, rotation=0.0, tracking=0):
    """The text as a mask, its top-left ink corner at position (before rotation about that corner)."""
    typeface = font(face, size)
    layer = Image.new("L", (W, H), 0)
    draw = ImageDraw.Draw(layer)
    x, y = position
    if tracking:
        for ch in text:
            left, top, right, _ = draw.textbbox((0, 0), ch, font=typeface)
            draw.text((x - left, y - top), ch, font=typeface, fill=255)
            x += (right - left) + tracking if ch != " " else size * 0.25 + tracking
    else:
        left, top, _, _ = draw.textbbox((0, 0), text, font=typeface)
        draw.text((x - left, y - top), text, font=typeface, fill=255)
    if rotation:
        layer = layer.rotate(rotation, resample=Image.BICUBIC, center=position)
    return layer


# --- The page legend --------------------------------------------------------------------------------

# The legend sits left of the preset header's outline (which starts at 15 % of the width), clear of
# it at every size.
LEGEND_X, LEGEND_Y = 34, 39          # top-left of the legend's capital letters
LEGEND_SIZE = 80                      # font size: capitals about 58 pixels high (14 at 450 x 285)


def legend(base, side, ink, plate=None, letter_ink=None, rotation=0.0):
    """Letters "SIDE A" (or B) in the top-left corner: "SIDE" in ink, then the side's letter, knocked
    out of a rounded plate when one is given."""
    typeface = font(REGULAR_FONT, LEGEND_SIZE)
    probe = ImageDraw.Draw(Image.new("L", (1, 1)))
    left, top, right, bottom = probe.textbbox((0, 0), "SIDE", font=typeface)
    word_w, cap_h = right - left, bottom - top
    base = glow(base, ink, text_mask("SIDE", REGULAR_FONT, LEGEND_SIZE, (LEGEND_X, LEGEND_Y), rotation))
    letter_x = LEGEND_X + word_w + 20
    if plate is None:
        return glow(base, ink, text_mask(side, REGULAR_FONT, LEGEND_SIZE, (letter_x, LEGEND_Y), rotation))
    pad = 12
    l2, t2, r2, b2 = probe.textbbox((0, 0), side, font=typeface)
    box = Supersampled()
    box.rounded((letter_x - pad, LEGEND_Y - pad, letter_x + (r2 - l2) + pad, LEGEND_Y + cap_h + pad), 10, fill=255)
    plate_mask = box.mask()
    if rotation:
        plate_mask = plate_mask.rotate(rotation, resample=Image.BICUBIC, center=(LEGEND_X, LEGEND_Y))
    base = glow(base, plate, plate_mask)
    return glow(base, letter_ink, text_mask(side, REGULAR_FONT, LEGEND_SIZE, (letter_x, LEGEND_Y), rotation))


# --- The seven themes -------------------------------------------------------------------------------
# Colours shared with the skins' colour tables: the two page accents, the bar background laid over the
# image under every bar (for the contrast check) and the display background.

SKINS = [
    {"name": "WavySpace", "theme": "wavy", "accent": {"A": 0xff327a, "B": 0x3291b0}, "bar_background": argb(0xf0030405)},
    {"name": "RetroCassette", "theme": "retro", "accent": {"A": 0xde7437, "B": 0x1f7cd3}, "bar_background": argb(0xff191919)},
    {"name": "BlankTape", "theme": "blank", "accent": {"A": 0x3291b0, "B": 0x2c9e6d}, "bar_background": argb(0x4c232a3c)},
    {"name": "BlankTape2", "theme": "blank2", "accent": {"A": 0x3291b0, "B": 0x15b06f}, "bar_background": argb(0x8053525c)},
    {"name": "DemoTape", "theme": "demo", "accent": {"A": 0xe03c80, "B": 0x257eae}, "bar_background": argb(0x8053525c)},
    {"name": "DemoTape2", "theme": "demo2", "accent": {"A": 0x5399aa, "B": 0x2f9a63}, "bar_background": argb(0x8053525c)},
    {"name": "VaporTape", "theme": "vapor", "accent": {"A": 0xff3888, "B": 0xda4a48}, "bar_background": argb(0xff141928)},
]


def other(side):
    return "B" if side == "A" else "A"


def paint_wavy(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    second = hex_rgb(skin["accent"][other(side)])
    base = vertical_gradient((16, 13, 38), (5, 6, 14))
    base = glow(base, shade(accent, 0.30), radial_mask((260, 170), 900, 520, 0.55))
    base = glow(base, shade(second, 0.22), radial_mask((1650, 1060), 800, 420, 0.5))

    rng = random.Random(1 if side == "A" else 2)
    waves = [  # (middle y, amplitude, wavelength, thickness, colour mix towards the second accent, strength)
        (205, 38, 1500, 70, 0.0, 0.55), (240, 30, 1100, 46, 0.6, 0.45), (180, 24, 900, 30, 0.3, 0.5),
        (300, 46, 1700, 90, 0.15, 0.30), (1105, 26, 1300, 60, 0.5, 0.5), (1080, 34, 1600, 40, 0.0, 0.45),
        (640, 90, 2200, 220, 0.4, 0.16), (880, 70, 1900, 160, 0.0, 0.14),
    ]
    for middle, amplitude, wavelength, thickness, towards, strength in waves:
        phase = rng.uniform(0, 2 * math.pi)
        top = wave_points(-20, W + 20, middle - thickness / 2, amplitude, wavelength, phase, 0.25)
        bottom = wave_points(-20, W + 20, middle + thickness / 2, amplitude * 0.8, wavelength * 1.07, phase + 0.6, 0.2)
        ribbon = Supersampled(scale=2)
        ribbon.polygon(top + bottom[::-1])
        band = ribbon.mask().filter(ImageFilter.GaussianBlur(10))
        edge = Supersampled(scale=2)
        edge.line(top, 2.2)
        crest = edge.mask().filter(ImageFilter.GaussianBlur(0.6))
        colour = mix(accent, second, towards)
        base = add_light(base, shade(colour, 0.55), quiet_under_controls(scaled_mask(band, strength * 0.55), calm, 0.25))
        base = add_light(base, colour, quiet_under_controls(scaled_mask(crest, strength), calm, 0.1))

    stars = Supersampled(scale=2)
    for _ in range(260):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        r = rng.choice((0.8, 1.0, 1.2, 1.6, 2.2))
        stars.ellipse((x - r, y - r, x + r, y + r), fill=rng.randint(90, 255))
    base = add_light(base, (235, 235, 255), quiet_under_controls(stars.mask(), calm, 0.0))
    base = darken(base, calm, 0.35)
    return legend(base, side, (236, 236, 246), plate=accent, letter_ink=(12, 10, 26))


def paint_retro(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    base = vertical_gradient((49, 41, 35), (27, 23, 20))
    base = modulate(base, smooth_noise(21, (45, 28)), 0.025)

    # The cassette's paper label over the top band, its stripes running out under the header.
    label = Supersampled(scale=2)
    label.rounded((18, 14, W - 18, 296), 22, fill=255)
    base = glow(base, (236, 224, 196), label.mask())
    base = modulate(base, ImageChops.multiply(smooth_noise(22, (180, 30)), label.mask()), 0.025)
    if side == "A":
        stripes = [(246, 190, 70), (236, 140, 52), accent, (190, 72, 40), (120, 48, 34)]
    else:
        stripes = [(128, 200, 236), (72, 160, 226), accent, (28, 84, 160), (30, 52, 108)]
    y = 150
    for colour in stripes:
        band = Supersampled(scale=2)
        band.polygon([(18, y), (W - 18, y), (W - 18, y + 25), (18, y + 25)])
        base = glow(base, colour, ImageChops.multiply(band.mask(), label.mask()))
        y += 27
    # Body: moulded groove around the controls, screws in the corners.
    groove = Supersampled(scale=2)
    groove.rounded((14, 310, W - 14, 1126), 26, outline=255, width=2)
    base = add_light(base, (60, 52, 46), groove.mask())
    shadow = Supersampled(scale=2)
    shadow.rounded((16, 312, W - 12, 1128), 26, outline=255, width=2)
    base = ImageChops.subtract(base, Image.merge("RGB", (scaled_mask(shadow.mask(), 0.5),) * 3))
    for cx, cy in ((40, 1116), (W - 40, 1116)):
        screw = Supersampled()
        screw.ellipse((cx - 11, cy - 11, cx + 11, cy + 11), fill=255)
        base = glow(base, (84, 76, 70), screw.mask())
        slot = Supersampled()
        slot.line([(cx - 7, cy - 4), (cx + 7, cy + 4)], 2.5)
        base = glow(base, (24, 20, 18), slot.mask())
    base = darken(base, calm, 0.2)
    return legend(base, side, (58, 40, 30), plate=(58, 40, 30), letter_ink=(236, 224, 196))


def paper_label(base, colour, box, seed, worn=0.0, radius=20, torn=False):
    """A paper label over the top band; a worn one has darker edges, blotches and, if torn, a ragged
    lower edge. Returns the image and the label's mask."""
    x0, y0, x1, y1 = box
    shape = Supersampled(scale=2)
    if torn:
        rng = random.Random(seed)
        points = [(x0 + radius, y0), (x1 - radius, y0), (x1, y0 + radius)]
        x = x1
        while x > x0:
            points.append((x, y1 + rng.uniform(-7, 7)))
            x -= rng.uniform(14, 40)
        points += [(x0, y1), (x0, y0 + radius)]
        shape.polygon(points)
    else:
        shape.rounded(box, radius, fill=255)
    mask = shape.mask()
    base = glow(base, colour, mask)
    if worn:
        edge = ImageChops.subtract(mask, mask.filter(ImageFilter.MinFilter(1)).filter(ImageFilter.GaussianBlur(38)))
        base = ImageChops.subtract(base, Image.merge("RGB", (scaled_mask(edge, 0.55 * worn),) * 3))
        rng = random.Random(seed)
        stains = Supersampled(scale=1)
        for _ in range(7):
            cx, cy = rng.uniform(x0 + 60, x1 - 60), rng.uniform(y0 + 120, y1 - 20)
            rx, ry = rng.uniform(30, 90), rng.uniform(20, 50)
            stains.ellipse((cx - rx, cy - ry, cx + rx, cy + ry), fill=rng.randint(90, 200))
        blotches = ImageChops.multiply(stains.mask().filter(ImageFilter.GaussianBlur(18)), mask)
        base = ImageChops.subtract(base, Image.merge("RGB", (scaled_mask(blotches, 0.12 * worn),
                                                              scaled_mask(blotches, 0.18 * worn),
                                                              scaled_mask(blotches, 0.3 * worn))))
    return base, mask


def ruled_lines(base, colour, mask, first_y, last_y, spacing, width=2.0, x0=18, x1=W - 18):
    lines = Supersampled(scale=2)
    y = first_y
    while y <= last_y:
        lines.line([(x0, y), (x1, y)], width)
        y += spacing
    return glow(base, colour, ImageChops.multiply(lines.mask(), mask))


def scribble(layer, rng, x0, y, length, height, width):
    """A word of quick joined handwriting: loops of varying height with no letters in them."""
    points = []
    x = x0
    slant = 0.35
    while x < x0 + length:
        letter_h = height * rng.choice((0.4, 0.45, 0.5, 0.55, 0.5, 1.0))
        letter_w = rng.uniform(8, 14)
        loop = rng.uniform(0.5, 3.5) if letter_h > 0.8 * height else rng.uniform(-1.5, 1.5)
        for i in range(10):
            t = i / 10 * 2 * math.pi
            lift = letter_h * (0.5 - 0.5 * math.cos(t))
            points.append((x + letter_w * i / 10 - loop * math.sin(t) + slant * lift, y - lift))
        x += letter_w
    points.append((x + 4, y - 2))
    layer.line(points, width)


def scratches(base, calm, seed, count, colour=(255, 255, 255), strength=0.18):
    rng = random.Random(seed)
    layer = Supersampled(scale=2)
    for _ in range(count):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        angle = rng.uniform(-0.5, 0.5) + (math.pi if rng.random() < 0.5 else 0)
        length = rng.uniform(20, 160)
        bend = rng.uniform(-0.3, 0.3)
        points = [(x + math.cos(angle + bend * t) * length * t, y + math.sin(angle + bend * t) * length * t)
                  for t in (0, 0.25, 0.5, 0.75, 1.0)]
        layer.line(points, rng.uniform(0.6, 1.4), fill=rng.randint(80, 255))
    return add_light(base, colour, quiet_under_controls(scaled_mask(layer.mask(), strength), calm, 0.0))


def paint_blank(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    base = vertical_gradient((38, 42, 49), (22, 24, 29))
    base = glow(base, shade(accent, 0.35), radial_mask((W / 2, 1140), 1100, 380, 0.35))
    base, label = paper_label(base, (246, 245, 239), (18, 14, W - 18, 296), 31)
    band = Supersampled(scale=2)
    band.polygon([(18, 14), (W - 18, 14), (W - 18, 30), (18, 30)])
    base = glow(base, accent, ImageChops.multiply(band.mask(), label))
    base = ruled_lines(base, (176, 196, 214), label, 150, 282, 33)
    margin = Supersampled(scale=2)
    margin.line([(286, 130), (286, 296)], 2)
    base = glow(base, (226, 120, 120), ImageChops.multiply(margin.mask(), label))
    base = darken(base, calm, 0.25)
    ink = shade(accent, 0.62)
    return legend(base, side, ink, plate=ink, letter_ink=(246, 245, 239))


def paint_blank2(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    base = vertical_gradient((44, 47, 54), (26, 28, 33))
    # Brushed metal: fine streaks along the width.
    streaks = smooth_noise(41, (12, 380), size=(W, H))
    base = modulate(base, streaks, 0.05)
    label_colour = shade(accent, 0.62)
    base, label = paper_label(base, label_colour, (18, 14, W - 18, 296), 42)
    base = ruled_lines(base, mix(label_colour, (255, 255, 255), 0.28), label, 150, 282, 33)
    base = glow(base, mix(label_colour, (255, 255, 255), 0.12), ImageChops.multiply(radial_mask((260, 40), 700, 260, 0.6), label))
    base = darken(base, calm, 0.25)
    return legend(base, side, (255, 255, 255), plate=(255, 255, 255), letter_ink=label_colour)


def paint_demo(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    base = vertical_gradient((40, 38, 42), (24, 23, 26))
    base = modulate(base, smooth_noise(51, (60, 38)), 0.018)
    base = scratches(base, calm, 52, 90)
    base, label = paper_label(base, (232, 220, 188), (22, 16, W - 22, 292), 53, worn=1.0, torn=True)
    base = ruled_lines(base, (190, 180, 160), label, 152, 276, 31, width=1.6)
    # A coffee ring on the label, right of the header.
    ring = Supersampled(scale=2)
    ring.ellipse((1380, 150, 1520, 272), outline=255, width=9)
    base = ImageChops.subtract(base, Image.merge("RGB", tuple(scaled_mask(ring.mask().filter(ImageFilter.GaussianBlur(3)), f)
                                                            for f in (0.10, 0.16, 0.24))))
    ink = shade(accent, 0.72)
    rng = random.Random(54 if side == "A" else 55)
    writing = Supersampled(scale=2)
    for line_y in (181, 212, 243):
        x = 330 + rng.uniform(0, 60)
        end = rng.uniform(1050, 1450)
        while x < end:
            length = rng.uniform(40, 150)
            scribble(writing, rng, x, line_y, length, 20, 2.2)
            x += length + rng.uniform(22, 40)
    base = glow(base, ink, ImageChops.multiply(scaled_mask(writing.mask(), 0.85), label))
    underline = Supersampled(scale=2)
    points = [(30 + t * 240, 116 + 5 * math.sin(t * 7) + t * 6) for t in [i / 30 for i in range(31)]]
    underline.line(points, 5)
    base = glow(base, ink, underline.mask())
    base = darken(base, calm, 0.25)
    return legend(base, side, ink, rotation=3.0)


def paint_demo2(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    base = vertical_gradient((34, 42, 41), (20, 24, 24))
    base = glow(base, shade(accent, 0.3), radial_mask((1500, 120), 700, 330, 0.4))
    base = modulate(base, smooth_noise(61, (60, 38)), 0.022)
    base = scratches(base, calm, 62, 130, strength=0.22)
    # Masking tape across the top-left corner, the legend written on it in marker.
    rng = random.Random(63)
    tape = Supersampled(scale=2)
    points = [(16, 22)]
    for x in range(16, 262, 18):
        points.append((x, 22 + rng.uniform(-3, 3)))
    for yy in range(22, 142, 10):
        points.append((262 + rng.uniform(-5, 5), yy))
    for x in range(262, 16, -18):
        points.append((x, 142 + rng.uniform(-3, 3)))
    for yy in range(142, 22, -10):
        points.append((16 + rng.uniform(-5, 5), yy))
    tape.polygon(points)
    tape_mask = tape.mask().rotate(-2.0, resample=Image.BICUBIC, center=(140, 80))
    base = glow(base, (222, 208, 168), scaled_mask(tape_mask, 0.94))
    base = modulate(base, ImageChops.multiply(smooth_noise(64, (40, 8)), tape_mask), 0.04)
    # A second strip in the right corner, plain.
    strip = Supersampled(scale=2)
    strip.polygon([(1640, 250), (1790, 232), (1794, 268), (1644, 286)])
    base = glow(base, (222, 208, 168), scaled_mask(strip.mask(), 0.85))
    base = darken(base, calm, 0.25)
    return legend(base, side, (34, 34, 40), rotation=-2.0)


def paint_vapor(skin, side, calm):
    accent = hex_rgb(skin["accent"][side])
    horizon = 318
    if side == "A":
        sky = [(255, 170, 214), (206, 140, 255), (124, 214, 255)]
    else:
        sky = [(255, 196, 150), (255, 138, 160), (170, 120, 230)]
    base = vertical_gradient((24, 12, 46), (10, 6, 22))
    top = horizontal_gradient(sky[0], sky[2], size=(W, horizon))
    top = Image.composite(top, horizontal_gradient(sky[1], sky[0], size=(W, horizon)),
                          Image.linear_gradient("L").resize((W, horizon)).point(lambda v: 255 - v))
    base.paste(top, (0, 0))
    # The sun, sinking behind the header, cut by stripes near the horizon.
    sun = Supersampled(scale=2)
    sun.ellipse((900 - 200, horizon - 260, 900 + 200, horizon + 140), fill=255)
    sun_mask = sun.mask()
    cuts = Image.new("L", (W, H), 255)
    draw = ImageDraw.Draw(cuts)
    y, gap = horizon - 100, 4
    while y < horizon:
        draw.rectangle([0, y, W, y + gap], fill=0)
        y += 18
        gap += 2
    sun_mask = ImageChops.multiply(sun_mask, cuts)
    sun_colours = vertical_gradient((255, 236, 140), accent)
    sun_mask.paste(0, (0, horizon, W, H))
    base = Image.composite(sun_colours, base, sun_mask)
    # The grid floor: lines running to the vanishing point and rows closing up towards the horizon.
    grid = Supersampled(scale=2)
    for k in range(-14, 15):
        grid.line([(900 + k * 30, horizon), (900 + k * 330, H + 40)], 1.6)
    row = 0
    while True:
        y = horizon + 10 * (1.32 ** row)
        if y > H:
            break
        grid.line([(0, y), (W, y)], 1.6)
        row += 1
    grid_mask = grid.mask()
    grid_mask.paste(0, (0, 0, W, horizon))
    base = add_light(base, accent, quiet_under_controls(scaled_mask(grid_mask, 0.75), calm, 0.1))
    glow_line = Supersampled(scale=2)
    glow_line.line([(0, horizon), (W, horizon)], 3)
    base = add_light(base, (255, 255, 255), glow_line.mask().filter(ImageFilter.GaussianBlur(2)))
    base = darken(base, calm, 0.3)
    ink = (40, 16, 70) if side == "A" else (70, 20, 40)
    return legend(base, side, ink, plate=ink, letter_ink=sky[0])


PAINTERS = {"wavy": paint_wavy, "retro": paint_retro, "blank": paint_blank, "blank2": paint_blank2,
            "demo": paint_demo, "demo2": paint_demo2, "vapor": paint_vapor}


def paint(skin, side):
    calm = calm_mask(side)
    return PAINTERS[skin["theme"]](skin, side, calm).convert("RGB")


# --- A look at an image with the controls over it ---------------------------------------------------


def preview(image, skin, side, size):
    """The image at a window size with stand-ins for the controls drawn where the editor puts them."""
    width, height = size
    shown = image.resize(size, Image.LANCZOS).convert("RGBA")
    overlay = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(overlay)
    accent = hex_rgb(skin["accent"][side])
    caption = font(LIGHT_FONT, max(9, int(0.047 * height) - 5))
    for kind, pages, (x, y, w, h) in layout(width, height):
        if side not in pages:
            continue
        box = [x, y, x + w - 1, y + h - 1]
        if kind == "bar":
            draw.rectangle(box, fill=skin["bar_background"][:3] + (skin["bar_background"][3],))
            draw.rectangle([x + 1, y + 1, x + 1 + 0.55 * (w - 2), y + h - 2], fill=accent + (255,))
            draw.text((x + 8, y + h / 2), "CAPTION TEXT", font=caption, fill=(255, 255, 255, 255), anchor="lm")
        elif kind == "text":
            draw.text((x + 4, y + h / 2), "SECTION", font=font(LIGHT_FONT, max(8, int(0.8 * h))),
                      fill=(255, 255, 255, 255), anchor="lm")
        elif kind == "display":
            draw.rectangle(box, fill=(5, 8, 10, 235))
        elif kind == "header":
            draw.polygon([(x, y), (x + w, y), (x + w - 0.02 * width, y + h), (x + 0.02 * width, y + h)],
                         fill=(67, 78, 88, 255), outline=(255, 255, 255, 255))
        elif w == h:
            draw.ellipse(box, fill=(255, 255, 255, 255))
            draw.ellipse([x + 0.03 * w, y + 0.03 * w, x + 0.97 * w, y + 0.97 * w], fill=accent + (255,))
            draw.ellipse([x + 0.2 * w, y + 0.2 * w, x + 0.8 * w, y + 0.8 * w], fill=(5, 8, 10, 255))
        else:
            draw.rounded_rectangle(box, radius=h / 2, fill=(20, 25, 40, 255), outline=(255, 255, 255, 255))
    return Image.alpha_composite(shown, overlay).convert("RGB")


# --- Writing and checking ---------------------------------------------------------------------------


def image_names(only):
    for skin in SKINS:
        for side in ("A", "B"):
            name = f"{skin['name']}{side}"
            if not only or name in only:
                yield skin, side, name


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="compare with the committed images, write nothing")
    parser.add_argument("--only", nargs="*", help="image names (WavySpaceA ...)")
    parser.add_argument("--out", type=pathlib.Path, default=OUT_DIR, help="folder to write into")
    parser.add_argument("--preview", type=pathlib.Path,
                        help="also write each image with stand-ins for the controls, at 750 x 475, into this folder")
    args = parser.parse_args()

    failures = []
    for skin, side, name in image_names(args.only):
        image = paint(skin, side)
        for problem in contrast_problems(image, skin, side):
            failures.append(f"{name}: white text hard to read, {problem}")
        if args.preview:
            args.preview.mkdir(parents=True, exist_ok=True)
            preview(image, skin, side, (750, 475)).save(args.preview / f"{name}-preview.png")
        target = (OUT_DIR if args.check else args.out) / f"{name}.png"
        if args.check:
            if not target.exists():
                failures.append(f"{name}: {target} is missing")
                continue
            committed = Image.open(target).convert("RGB")
            if committed.size != image.size or committed.tobytes() != image.tobytes():
                failures.append(f"{name}: {target} differs from what the generator paints")
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        buffer = io.BytesIO()
        image.save(buffer, "PNG")
        target.write_bytes(buffer.getvalue())
        if shutil.which("optipng") is None:
            failures.append("optipng is missing (Debian: optipng); the images are written unoptimised")
        else:
            subprocess.run(["optipng", "-quiet", "-o2", "-strip", "all", str(target)], check=True)
        print(f"{target.relative_to(ROOT) if target.is_relative_to(ROOT) else target}: {target.stat().st_size // 1024} KB")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
