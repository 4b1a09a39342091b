"""The 90 x 90 terrain tiles: a mountain that joins the ones above and below it
into a wall, and water that joins its neighbours on every side into a pond."""

import math
import random

from noise import Fractal, TiledNoise
from raster import BLACK, LIGHT, Ellipse, Layer, mix, scale, sphere_shade

CELL = 90


def make_ocean():
    layer = Layer(CELL, CELL)
    swell = Fractal(21, 3, 3, CELL)
    deep = (28, 86, 150)
    shallow = (50, 128, 188)
    for y in range(CELL):
        for x in range(CELL):
            t = swell.at(x, y) * 1.25 - 0.15
            layer.set(x, y, mix(deep, shallow, t))
    rng = random.Random(77)
    crest = (150, 204, 236)
    # Wavelets: small bright arcs, each a short curve that wraps at the edges so
    # that four tiles side by side show one body of water.
    for _ in range(34):
        x, y = rng.randrange(CELL), rng.randrange(CELL)
        length = rng.randint(4, 8)
        for i in range(length):
            dy = -1 if 0 < i < length - 1 else 0
            layer.set((x + i) % CELL, (y + dy) % CELL, crest)
            under, _ = layer.get((x + i) % CELL, (y + dy + 1) % CELL)
            layer.set((x + i) % CELL, (y + dy + 1) % CELL, scale(under, 0.82))
    for _ in range(10):
        x, y = rng.randrange(CELL), rng.randrange(CELL)
        layer.set(x, y, (236, 246, 255))
    return layer


def _segment_height(x, y, seg, slope):
    x0, y0, h0, x1, y1, h1 = seg
    dx, dy = x1 - x0, y1 - y0
    t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    px, py = x0 + t * dx, y0 + t * dy
    return h0 + (h1 - h0) * t - slope * math.hypot(x - px, y - py)


def make_mountain():
    layer = Layer(CELL, CELL)
    rock = Fractal(31, 3, 4, CELL)
    snow_edge = TiledNoise(33, 6, CELL)

    # The mountain is a set of ridges, each falling off at the same slope to both
    # sides, so the faces between them are flat and catch the light like rock.
    # The main ridge runs from a saddle at the top edge over the peak to the same
    # saddle at the bottom edge; together with copies one tile up and down it
    # makes the height repeat every 90 pixels, so stacked tiles form one wall.
    peak = (46.0, 44.0)
    ridges = [
        (45.0, 0.0, 0.62, peak[0], peak[1], 1.0),
        (peak[0], peak[1], 1.0, 45.0, 90.0, 0.62),
        (peak[0], peak[1], 0.95, 20.0, 64.0, 0.42),
        (peak[0], peak[1], 0.95, 70.0, 28.0, 0.45),
        (45.0, 14.0, 0.66, 24.0, 8.0, 0.35),
        (45.0, 76.0, 0.68, 68.0, 84.0, 0.38),
    ]
    slope = 1.0 / 30.0

    def height(x, y):
        best = -1.0
        for shift in (-CELL, 0, CELL):
            for seg in ridges:
                best = max(best, _segment_height(x, y - shift, seg, slope))
        return best + 0.07 * (rock.at(x, y) - 0.5)

    inside = set()
    for y in range(CELL):
        for x in range(CELL):
            if height(x + 0.5, y + 0.5) > 0.0:
                inside.add((x, y))

    rock_light = (150, 132, 112)
    rock_dark = (104, 90, 80)
    snow = (238, 242, 250)
    scrub = (146, 112, 58)
    for (x, y) in inside:
        cx, cy = x + 0.5, y + 0.5
        h = height(cx, cy)
        gx = height(cx + 0.5, cy) - height(cx - 0.5, cy)
        gy = height(cx, cy + 0.5) - height(cx, cy - 0.5)
        k = 34.0
        nx, ny, nz = -gx * k, -gy * k, 1.0
        norm = math.sqrt(nx * nx + ny * ny + nz * nz)
        lam = (nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]) / norm
        grain = rock.at(x * 3.0, y * 3.0)
        if h > 0.64 + 0.16 * (snow_edge.at(x, y) - 0.5):
            base = snow
        elif h < 0.14:
            base = mix(scrub, rock_dark, h / 0.14)
        else:
            base = mix(rock_dark, rock_light, grain * 1.4 - 0.2)
        # Steeper contrast than the figures get: rock faces turned from the
        # light fall into deep shade.
        lam = round(max(0.0, lam) * 6) / 6
        layer.set(x, y, scale(base, 0.32 + 0.85 * lam))

    # Autumn trees on the lower slopes: small round crowns in reds and golds.
    rng = random.Random(34)
    crowns = [(214, 92, 36), (232, 160, 40), (184, 56, 40), (206, 126, 30)]
    for _ in range(160):
        x, y = rng.randrange(CELL), rng.randrange(CELL)
        h = height(x + 0.5, y + 0.5)
        if not 0.03 < h < 0.2:
            continue
        r = rng.choice((1.5, 2.0, 2.0, 2.5))
        crown = Ellipse(x + 0.5, y + 0.5, r, r)
        shade = sphere_shade(rng.choice(crowns), crown, levels=3)
        cells = [(px, py) for py in range(y - 4, y + 5) for px in range(x - 4, x + 5)
                 if crown.contains(px + 0.5, py + 0.5)]
        if not all(((px, py % CELL) in inside) for px, py in cells):
            continue
        for px, py in cells:
            below = (px, (py + 1) % CELL)
            if below in inside and not crown.contains(px + 0.5, py + 1.5):
                c, _ = layer.get(*below)
                layer.set(below[0], below[1], scale(c, 0.6))
        for px, py in cells:
            layer.set(px, py % CELL, shade(px + 0.5, py + 0.5))

    # A black outline along the flanks only: the top and bottom rows continue
    # into the next tile of the wall.
    for (x, y) in inside:
        for ox in (-1, 1):
            if (x + ox, y) not in inside:
                layer.set(x + ox, y, BLACK)
        for oy in (-1, 1):
            ny = y + oy
            if 0 <= ny < CELL and (x, ny) not in inside:
                layer.set(x, ny, BLACK)
    return layer
