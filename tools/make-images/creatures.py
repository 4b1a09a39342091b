"""The fish in the pond and the birds, each centred in a 90 x 90 picture."""

import math

from noise import TiledNoise
from raster import (BLACK, Ellipse, Layer, Minus, Polygon, Union, scale, sphere_shade)

CELL = 90


def _rotate(points, cx, cy, angle):
    c, s = math.cos(angle), math.sin(angle)
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)
            for x, y in points]


def make_fish():
    layer = Layer(CELL, CELL)
    cx, cy = 45.0, 46.0
    angle = -0.55  # swimming towards the upper right

    # Rings on the water around the fish, light and without outline.
    ripple = (140, 196, 232)
    for rx, ry in ((30, 17), (36, 21)):
        ring = Minus(Ellipse(cx, cy, rx, ry, angle), Ellipse(cx, cy, rx - 1.2, ry - 1.2, angle))
        gaps = Union(Ellipse(cx - 20, cy - 14, 9, 9), Ellipse(cx + 22, cy + 12, 10, 8))
        layer.paint(Minus(ring, gaps), ripple, outline=None)

    orange = (242, 124, 36)
    fin = (250, 170, 90)
    tail = Polygon(_rotate([(cx - 13, cy), (cx - 25, cy - 8), (cx - 22, cy), (cx - 25, cy + 8)],
                           cx, cy, angle))
    layer.paint(tail, fin)
    for side in (-1, 1):
        pect = Ellipse(cx + 4 * math.cos(angle) - side * 7 * math.sin(angle),
                       cy + 4 * math.sin(angle) + side * 7 * math.cos(angle), 5, 2.4,
                       angle + side * 0.9)
        layer.paint(pect, fin)
    body = Ellipse(cx, cy, 16, 7, angle)
    spots = TiledNoise(41, 5, 30)
    shade = sphere_shade(orange, body, levels=4)
    white = sphere_shade((250, 246, 236), body, levels=4)

    def koi(x, y):
        u, _ = body.local(x, y)
        return white(x, y) if spots.at(x, y) > 0.62 and u < 0.6 else shade(x, y)

    layer.paint(body, koi)
    for side in (-1, 1):
        ex = cx + 11 * math.cos(angle) - side * 3.6 * math.sin(angle)
        ey = cy + 11 * math.sin(angle) + side * 3.6 * math.cos(angle)
        layer.set(int(ex), int(ey), BLACK)
    return layer


def make_bird():
    layer = Layer(CELL, CELL)
    cx = 45.0
    back = (62, 112, 214)
    wing_dark = (34, 52, 120)
    covert = (128, 170, 240)

    # Wings spread wide, feather tips fanned at the ends; drawn one per side.
    for side in (-1, 1):
        pts = [(cx, 36), (cx + side * 14, 32), (cx + side * 28, 34), (cx + side * 38, 40),
               (cx + side * 33, 42), (cx + side * 36, 45), (cx + side * 29, 46),
               (cx + side * 31, 50), (cx + side * 22, 49), (cx + side * 12, 50), (cx, 50)]
        wing = Polygon(pts)

        def wing_colour(x, y, side=side):
            reach = abs(x - cx)
            if reach > 26:
                # Flight feathers, with a dark line between each pair.
                return scale(wing_dark, 0.6) if int(reach) in (30, 34) and y > 42 else wing_dark
            if 9 < reach < 24 and y < 38 - reach * 0.1:
                return covert
            return sphere_shade(back, Ellipse(cx + side * 16, 41, 22, 10))(x, y)

        layer.paint(wing, wing_colour)

    tail = Polygon([(cx - 3, 54), (cx - 8, 66), (cx, 63), (cx + 8, 66), (cx + 3, 54)])
    layer.paint(tail, scale(back, 0.8))
    body = Ellipse(cx, 45, 6.5, 12)
    layer.paint(body, sphere_shade(back, body))
    head = Ellipse(cx, 31, 5.5, 5.5)
    layer.paint(head, sphere_shade((76, 128, 226), head))
    beak = Polygon([(cx - 2.2, 26.5), (cx, 21.0), (cx + 2.2, 26.5)])
    layer.paint(beak, (246, 160, 40))
    layer.set(int(cx) - 4, 30, BLACK)
    layer.set(int(cx) + 3, 30, BLACK)
    layer.set(int(cx) - 2, 29, (250, 250, 250))
    return layer


