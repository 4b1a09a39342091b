"""The alien: 64 x 96 pixels, seen from above at a slant, four facings with an
eight-step walk cycle. Frame number = facing * 8 + step; facings are down, up,
right and left. The soles rest on the line 82 pixels below the top."""

import math

from raster import (BLACK, Capsule, Ellipse, Intersect, Layer, Rect, scale, sphere_shade,
                    tube_shade)

WIDTH, HEIGHT = 64, 96
DOWN, UP, RIGHT, LEFT = 0, 1, 2, 3

SKIN = (118, 204, 80)
SUIT = (112, 74, 196)
BELT = (62, 42, 112)
BUCKLE = (250, 212, 64)
BOOT = (72, 74, 96)
BULB = (255, 118, 168)
WHITE = (255, 255, 255)
MOUTH = (40, 84, 32)


def _far(colour):
    """Parts on the far side of the body sit in its shadow."""
    return scale(colour, 0.72)


def _limb(layer, x0, y0, x1, y1, r0, r1, colour):
    c = Capsule(x0, y0, x1, y1, r0, r1)
    layer.paint(c, tube_shade(colour, c))


def _ball(layer, cx, cy, rx, ry, colour, angle=0.0):
    e = Ellipse(cx, cy, rx, ry, angle)
    layer.paint(e, sphere_shade(colour, e))
    return e


def _front_or_back(layer, step, facing):
    """Facing the viewer (down) or walking away (up)."""
    ph = 2 * math.pi * step / 8
    s, c = math.sin(ph), math.cos(ph)
    bob = round(-2 * (1 - abs(s)))
    away = facing == UP
    # The foot that swings forward lifts; forward is down the screen when facing
    # down and up it when facing up.
    fwd = -1 if away else 1
    left_foot = 79.5 + fwd * 2.0 * s - 2.0 * max(0.0, c)
    right_foot = 79.5 - fwd * 2.0 * s - 2.0 * max(0.0, -c)
    sway = round(s)

    # Antennae behind the head; the bulbs nod with the step.
    for side in (-1, 1):
        tip_x = 32 + side * 13 + sway
        _limb(layer, 32 + side * 7, 18 + bob, tip_x, 5 + bob, 1.3, 1.1, SKIN)
        _ball(layer, tip_x, 4 + bob, 3.2, 3.2, BULB)

    # Legs and boots, the lifted one drawn first so the planted one overlaps it.
    feet = [(-1, left_foot), (1, right_foot)]
    feet.sort(key=lambda f: f[1])
    for side, fy in feet:
        hip_x = 32 + side * 5
        foot_x = 32 + side * 6
        _limb(layer, hip_x, 66 + bob, foot_x, fy - 3, 3.6, 3.0, SKIN)
        _ball(layer, foot_x, fy, 5.0, 3.2, BOOT)

    # Arms hang behind the body when walking away, in front otherwise.
    def arms():
        for side in (-1, 1):
            swing = -side * 2.5 * s * fwd
            sx, sy = 32 + side * 11, 50 + bob
            hx, hy = 32 + side * 14, 63 + bob + swing
            _limb(layer, sx, sy, hx, hy - 2, 3.6, 3.0, SUIT)
            _ball(layer, hx, hy, 3.4, 3.4, SKIN)

    if away:
        arms()
    torso = Ellipse(32, 56 + bob, 12.5, 12)
    layer.paint(torso, sphere_shade(SUIT, torso))
    belt = Intersect(torso, Rect(0, 62 + bob, 64, 65 + bob))
    layer.paint(belt, BELT, outline=None)
    if away:
        # A seam down the back of the suit.
        layer.paint(Intersect(torso, Rect(31, 45 + bob, 33, 62 + bob)), scale(SUIT, 0.7), None)
    else:
        layer.paint(Rect(30, 62 + bob, 34, 65 + bob), BUCKLE, outline=None)
        arms()

    head = Ellipse(32, 28 + bob, 19.5, 16.5)
    layer.paint(head, sphere_shade(SKIN, head))
    if away:
        # The back of the head: a darker crown patch.
        spot = Ellipse(32, 34 + bob, 9, 5)
        layer.paint(spot, scale(SKIN, 0.8), outline=None)
        return
    for side in (-1, 1):
        eye = Ellipse(32 + side * 8.5, 30 + bob, 5.2, 6.6, side * 0.35)
        layer.paint(eye, BLACK, outline=None)
        layer.set(32 + side * 8 - 3, 27 + bob, WHITE)
        layer.set(32 + side * 8 - 2, 27 + bob, WHITE)
        layer.set(32 + side * 8 - 3, 28 + bob, WHITE)
    layer.paint(Capsule(29, 40 + bob, 35, 40 + bob, 0.7), MOUTH, outline=None)
    layer.set(28, 39 + bob, MOUTH)
    layer.set(36, 39 + bob, MOUTH)


def _profile(layer, step, mirror):
    """Walking to the right; with mirror, to the left (light stays top-left)."""
    ph = 2 * math.pi * step / 8
    s, c = math.sin(ph), math.cos(ph)
    bob = round(-2 * (1 - abs(s)))

    def X(x):
        return 64 - x if mirror else x

    turn = -1.0 if mirror else 1.0

    def limb(x0, y0, x1, y1, r0, r1, colour):
        _limb(layer, X(x0), y0, X(x1), y1, r0, r1, colour)

    def ball(cx, cy, rx, ry, colour, angle=0.0):
        return _ball(layer, X(cx), cy, rx, ry, colour, angle * turn)

    # Antennae sweep back; the far one first, in shade.
    limb(33, 16 + bob, 24, 3 + bob, 1.3, 1.1, _far(SKIN))
    ball(24, 3 + bob, 3.0, 3.0, _far(BULB))
    limb(27, 17 + bob, 15 + round(s), 6 + bob, 1.3, 1.1, SKIN)
    ball(15 + round(s), 5 + bob, 3.2, 3.2, BULB)

    hip_x, hip_y = 31, 66 + bob
    near_x = hip_x + 8.0 * s
    far_x = hip_x - 8.0 * s
    near_y = 79.5 - 2.5 * max(0.0, c)
    far_y = 79.5 - 2.5 * max(0.0, -c)

    # Far arm and far leg behind the body.
    limb(31, 50 + bob, 31 + 6.0 * s, 61 + bob, 3.4, 2.8, _far(SUIT))
    ball(31 + 6.0 * s, 63 + bob, 3.2, 3.2, _far(SKIN))
    limb(hip_x, hip_y, far_x, far_y - 3, 3.4, 2.8, _far(SKIN))
    ball(far_x + 2, far_y, 5.5, 3.0, _far(BOOT))
    limb(hip_x, hip_y, near_x, near_y - 3, 3.6, 3.0, SKIN)
    ball(near_x + 2, near_y, 5.8, 3.2, BOOT)

    torso = Ellipse(X(31), 56 + bob, 10.5, 12)
    layer.paint(torso, sphere_shade(SUIT, torso))
    layer.paint(Intersect(torso, Rect(0, 62 + bob, 64, 65 + bob)), BELT, outline=None)
    buckle_x = X(39) if not mirror else X(39) - 2
    layer.paint(Intersect(torso, Rect(buckle_x - 1, 62 + bob, buckle_x + 2, 65 + bob)), BUCKLE,
                outline=None)

    hand_x = 31 - 6.0 * s
    limb(31, 50 + bob, hand_x, 61 + bob, 3.6, 3.0, SUIT)
    ball(hand_x, 63 + bob, 3.4, 3.4, SKIN)

    head = Ellipse(X(34), 28 + bob, 18, 16.5)
    layer.paint(head, sphere_shade(SKIN, head))
    eye = Ellipse(X(43), 30 + bob, 4.6, 6.6, 0.25 * turn)
    layer.paint(eye, BLACK, outline=None)
    gx = X(42) if not mirror else X(42) - 1
    layer.set(gx, 27 + bob, WHITE)
    layer.set(gx + 1, 27 + bob, WHITE)
    layer.set(gx, 28 + bob, WHITE)
    layer.paint(Capsule(X(45), 40 + bob, X(49), 39 + bob, 0.7), MOUTH, outline=None)


def make_alien_frame(number):
    facing, step = divmod(number, 8)
    layer = Layer(WIDTH, HEIGHT)
    if facing in (DOWN, UP):
        _front_or_back(layer, step, facing)
    else:
        _profile(layer, step, mirror=(facing == LEFT))
    return layer
