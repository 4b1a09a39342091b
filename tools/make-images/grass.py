"""The grass tile: an opaque square that repeats across the whole field."""

import random

from noise import Fractal
from raster import Layer, clamp, mix

SIZE = 256


def make_grass():
    layer = Layer(SIZE, SIZE)
    broad = Fractal(11, 4, 3, SIZE)
    fine = Fractal(12, 32, 2, SIZE)
    dark = (58, 118, 40)
    light = (104, 162, 56)
    for y in range(SIZE):
        for x in range(SIZE):
            t = broad.at(x, y) * 0.6 + fine.at(x, y) * 0.45 - 0.05
            layer.set(x, y, mix(dark, light, t))

    rng = random.Random(2024)

    def put(x, y, colour):
        layer.set(x % SIZE, y % SIZE, colour)

    def shade(x, y, k):
        c, _ = layer.get(x % SIZE, y % SIZE)
        put(x, y, tuple(clamp(v * k) for v in c))

    # Blades: short strokes leaning a little, a dark side and a lit tip. Every
    # position wraps, so a blade that crosses an edge goes on at the opposite one.
    for _ in range(2600):
        x, y = rng.randrange(SIZE), rng.randrange(SIZE)
        length = rng.randint(3, 6)
        lean = rng.choice((-1, 0, 0, 1))
        lighter = rng.random() < 0.55
        for i in range(length):
            bx = x + (lean * i) // 3
            by = y - i
            if lighter:
                shade(bx, by, 1.12 + 0.05 * i)
            else:
                shade(bx, by, 0.78)
        if lighter:
            shade(x + (lean * length) // 3, y - length, 1.3)

    # Dark clumps at the feet of thick tufts.
    for _ in range(90):
        x, y = rng.randrange(SIZE), rng.randrange(SIZE)
        for dx in range(-2, 3):
            shade(x + dx, y, 0.72)
            if abs(dx) < 2:
                shade(x + dx, y + 1, 0.8)

    # A few small flowers: white and yellow, four petals round a centre.
    flowers = [((248, 248, 236), (236, 200, 60)), ((250, 222, 70), (200, 120, 30)),
               ((236, 236, 250), (240, 190, 70))]
    for _ in range(14):
        x, y = rng.randrange(SIZE), rng.randrange(SIZE)
        petal, centre = rng.choice(flowers)
        shade(x, y + 2, 0.7)
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            put(x + dx, y + dy, petal)
        put(x, y, centre)
    return layer
