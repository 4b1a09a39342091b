"""Value noise that repeats with a given period, so pictures tile without seams."""

import math
import random


class TiledNoise:
    """Smooth noise over a lattice of cells x cells points that wraps around;
    one lattice spans `period` pixels in each direction."""

    def __init__(self, seed, cells, period):
        rng = random.Random(seed)
        self.cells = cells
        self.step = period / cells
        self.values = [[rng.random() for _ in range(cells)] for _ in range(cells)]

    def at(self, x, y):
        gx, gy = x / self.step, y / self.step
        ix, iy = math.floor(gx), math.floor(gy)
        fx, fy = gx - ix, gy - iy
        # Smoothstep between lattice points.
        sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        n = self.cells
        v = self.values
        a = v[iy % n][ix % n]
        b = v[iy % n][(ix + 1) % n]
        c = v[(iy + 1) % n][ix % n]
        d = v[(iy + 1) % n][(ix + 1) % n]
        top = a + (b - a) * sx
        bottom = c + (d - c) * sx
        return top + (bottom - top) * sy


class Fractal:
    """Octaves of TiledNoise, each twice as fine; result in 0..1."""

    def __init__(self, seed, base_cells, octaves, period):
        self.layers = [TiledNoise(seed * 31 + i, base_cells << i, period) for i in range(octaves)]

    def at(self, x, y):
        total, weight, amp = 0.0, 0.0, 1.0
        for layer in self.layers:
            total += layer.at(x, y) * amp
            weight += amp
            amp *= 0.5
        return total / weight
