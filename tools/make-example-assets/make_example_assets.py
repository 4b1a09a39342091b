#!/usr/bin/env python3
"""Writes the examples' pictures (TIFF) and sounds (WAV).

    python3 tools/make-example-assets/make_example_assets.py          # into examples/
    python3 tools/make-example-assets/make_example_assets.py --out DIR

Pictures go to Images/ and sounds to Sounds/ under the output folder. The
output is the same on every run: all randomness is seeded.
"""

import argparse
import math
import os
import random
import struct
import sys
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tools", "make-images"))

from raster import Ellipse, Layer, Rect, sphere_shade  # noqa: E402
from tiff_writer import write_tiff  # noqa: E402


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(v + 0.5)


def picture(width, height, shade, samples=3, grid=4):
    """Bytes of a picture whose pixel colour (and alpha) come from shade(x, y),
    averaged over grid x grid points in each pixel for smooth edges. shade
    returns (r, g, b, a) with a from 0 to 1."""
    out = bytearray()
    n = grid * grid
    for y in range(height):
        for x in range(width):
            r = g = b = a = 0.0
            for sy in range(grid):
                for sx in range(grid):
                    pr, pg, pb, pa = shade(x + (sx + 0.5) / grid, y + (sy + 0.5) / grid)
                    r, g, b, a = r + pr * pa, g + pg * pa, b + pb * pa, a + pa
            if samples == 3:
                out += bytes((clamp(r / n), clamp(g / n), clamp(b / n)))
            elif a == 0:
                out += b"\0\0\0\0"
            else:
                out += bytes((clamp(r / a), clamp(g / a), clamp(b / a), clamp(255 * a / n)))
    return bytes(out)


# Pictures -------------------------------------------------------------------

def night_tile():
    """128 x 128, plain: a night sky with a faint grid that repeats without seams."""
    rng = random.Random(17)
    stars = [(rng.randrange(128), rng.randrange(128), rng.randrange(120, 256)) for _ in range(14)]

    def shade(x, y):
        x, y = int(x), int(y)
        colour = (14, 20, 52)
        if x % 32 == 0 or y % 32 == 0:
            colour = (26, 36, 82)
        for sx, sy, bright in stars:
            if (x, y) == (sx, sy):
                colour = (bright, bright, min(255, bright + 30))
            elif abs(x - sx) + abs(y - sy) == 1 and bright > 200:
                colour = (bright // 3, bright // 3, bright // 2)
        return colour + (1.0,)
    return 128, 128, 3, picture(128, 128, shade, grid=1)


def ufo():
    """64 x 40, masked: a flying saucer with a glass dome and three lamps."""
    layer = Layer(64, 40)
    dome = Ellipse(32, 16, 13, 12)
    layer.paint(dome, sphere_shade((120, 220, 240), dome))
    body = Ellipse(32, 25, 30, 9)
    layer.paint(body, sphere_shade((190, 190, 205), body))
    for lx in (17, 32, 47):
        lamp = Ellipse(lx, 27, 3, 2.5)
        layer.paint(lamp, (255, 220, 60))
    layer.paint(Rect(29, 33, 35, 37), (120, 120, 130))
    return 64, 40, 4, layer.rgba_bytes()


def bubble():
    """96 x 96, alpha: a glass bubble, clear in the middle and denser at the rim,
    with a highlight; its edge fades over one pixel."""
    def shade(x, y):
        d = math.hypot(x - 48, y - 48) / 44.0
        if d > 1.0:
            return 0, 0, 0, 0.0
        if math.hypot(x - 34, y - 32) < 8:
            return 255, 255, 255, 0.9
        return 150, 210, 255, 0.15 + 0.75 * d ** 6
    return 96, 96, 4, picture(96, 96, shade, samples=4)


def glow():
    """96 x 96, additive: a warm light falling off to black, which adds nothing.
    Its alpha is 255 throughout: an additive picture's colours are scaled by
    its alpha when loaded, and without an alpha sample the engine takes one
    from the brightness, which would dim the light."""
    def shade(x, y):
        k = max(0.0, 1.0 - math.hypot(x - 48, y - 48) / 47.0) ** 1.5
        return 255 * k, (230 - 60 * (1 - k)) * k, (200 - 140 * (1 - k)) * k, 1.0
    return 96, 96, 4, picture(96, 96, shade, samples=4, grid=2)


def pinwheel():
    """64 x 64, alpha: four coloured blades round a pin, smooth-edged, for
    turning and scaling."""
    colours = [(230, 60, 50), (250, 200, 40), (60, 180, 80), (50, 110, 230)]

    def shade(x, y):
        dx, dy = x - 32, y - 32
        r = math.hypot(dx, dy)
        if r < 4:
            return 240, 240, 240, 1.0
        if r < 5.2:
            return 30, 30, 30, 1.0
        angle = math.atan2(dy, dx) % (2 * math.pi)
        blade = int(angle / (math.pi / 2))
        # Each blade is a curved sail: wide near the rim, narrow near the pin.
        within = (angle - blade * math.pi / 2) / (math.pi / 2)
        if r > 30 or within > 0.25 + 0.6 * (r / 30):
            return 0, 0, 0, 0.0
        return colours[blade] + (1.0,)
    return 64, 64, 4, picture(64, 64, shade, samples=4)


def paper_tile():
    """64 x 64, plain: squared paper, a stronger line every fourth square."""
    def shade(x, y):
        x, y = int(x), int(y)
        if x == 0 or y == 0:
            return 160, 184, 222, 1.0
        if x % 16 == 0 or y % 16 == 0:
            return 206, 218, 236, 1.0
        return 244, 240, 228, 1.0
    return 64, 64, 3, picture(64, 64, shade, grid=1)


def speaker():
    """64 x 96, masked: a loudspeaker box with a tweeter and a woofer."""
    layer = Layer(64, 96)
    layer.paint(Rect(2, 2, 62, 94), (110, 70, 40))
    layer.paint(Rect(6, 6, 58, 90), (70, 44, 26), outline=None)
    for cx, cy, r in ((32, 24, 9), (32, 62, 20)):
        cone = Ellipse(cx, cy, r, r)
        layer.paint(cone, sphere_shade((80, 80, 90), cone))
        cap = Ellipse(cx, cy, r / 3, r / 3)
        layer.paint(cap, sphere_shade((150, 150, 160), cap))
    return 64, 96, 4, layer.rgba_bytes()


def testcard():
    """320 x 200, plain: colour bars, grey and colour ramps, a circle on a
    checkerboard: every channel value the display can show is somewhere."""
    bars = [(255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0),
            (255, 0, 255), (255, 0, 0), (0, 0, 255), (0, 0, 0)]

    def shade(x, y):
        x, y = int(x), int(y)
        v = x * 255 // 319
        if y < 80:
            return bars[x // 40] + (1.0,)
        if y < 104:
            return v, v, v, 1.0
        if y < 152:
            return ((v, 0, 0), (0, v, 0), (0, 0, v))[(y - 104) // 16] + (1.0,)
        r = math.hypot(x - 160, y - 176)
        if 18 <= r < 20 or (r < 20 and (abs(x - 160) < 1 or abs(y - 176) < 1)):
            return 255, 255, 255, 1.0
        return ((70, 70, 80) if ((x // 8) + (y // 8)) % 2 else (40, 40, 48)) + (1.0,)
    return 320, 200, 3, picture(320, 200, shade, grid=1)


PICTURES = {
    "night_tile.tif": night_tile,
    "ufo.tif": ufo,
    "bubble.tif": bubble,
    "glow.tif": glow,
    "pinwheel.tif": pinwheel,
    "paper_tile.tif": paper_tile,
    "speaker.tif": speaker,
    "testcard.tif": testcard,
}


# Sounds ---------------------------------------------------------------------
# Every sound has the same format, because the engine plays all of its sounds
# in the format of the first one it plays: 16-bit mono at 22050 Hz.

RATE = 22050


def blip():
    """0.12 s: a square wave sliding down an octave."""
    n = int(RATE * 0.12)
    phase, out = 0.0, []
    for i in range(n):
        t = i / n
        phase += (880 - 440 * t) / RATE
        square = 1.0 if phase % 1.0 < 0.5 else -1.0
        out.append(0.35 * square * (1 - t) ** 2)
    return out


def chime():
    """0.9 s: a bell, four partials dying away at their own rates."""
    n = int(RATE * 0.9)
    partials = [(660, 1.0, 3.0), (1320, 0.5, 5.0), (1980, 0.3, 7.0), (2640, 0.2, 9.0)]
    out = []
    for i in range(n):
        t = i / RATE
        v = sum(a * math.sin(2 * math.pi * f * t) * math.exp(-d * t) for f, a, d in partials)
        out.append(0.3 * v * min(1.0, t * 400))
    return out


def drum():
    """0.35 s: a low thump falling in pitch with a burst of noise on top."""
    rng = random.Random(5)
    n = int(RATE * 0.35)
    phase, out = 0.0, []
    for i in range(n):
        t = i / RATE
        phase += (50 + 90 * math.exp(-t * 25)) / RATE
        body = math.sin(2 * math.pi * phase) * math.exp(-t * 9)
        noise = rng.uniform(-1, 1) * math.exp(-t * 40)
        out.append(0.6 * body + 0.25 * noise)
    return out


SOUNDS = {"blip.wav": blip, "chime.wav": chime, "drum.wav": drum}


def write_wav(path, samples):
    with wave.open(path, "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * 32767)))
                               for s in samples))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(REPO, "examples"),
                        help="folder that receives Images/ and Sounds/ (default: examples/)")
    args = parser.parse_args()
    images, sounds = os.path.join(args.out, "Images"), os.path.join(args.out, "Sounds")
    os.makedirs(images, exist_ok=True)
    os.makedirs(sounds, exist_ok=True)
    for name, make in PICTURES.items():
        width, height, samples, data = make()
        write_tiff(os.path.join(images, name), width, height, samples, data)
    for name, make in SOUNDS.items():
        write_wav(os.path.join(sounds, name), make())
    print("wrote %d pictures to %s and %d sounds to %s"
          % (len(PICTURES), images, len(SOUNDS), sounds))


if __name__ == "__main__":
    main()
