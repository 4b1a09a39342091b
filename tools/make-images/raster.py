"""Pixel-art drawing: shapes tested at pixel centres, painted with a black
outline in painter's order, and simple lighting from the top left."""

import math

BLACK = (0, 0, 0)

# Light from the upper left and towards the viewer.
_LIGHT = (-0.45, -0.55, 0.70)
_NORM = math.sqrt(sum(c * c for c in _LIGHT))
LIGHT = tuple(c / _NORM for c in _LIGHT)


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(v + 0.5)


def scale(colour, k):
    return tuple(clamp(c * k) for c in colour)


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


def lit(base, lam, levels=5):
    """Base colour under a Lambert term lam in 0..1, in a few flat bands."""
    lam = max(0.0, min(1.0, lam))
    lam = round(lam * levels) / levels
    k = 0.55 + 0.65 * lam
    colour = scale(base, k)
    if lam >= 0.99:
        colour = mix(colour, (255, 255, 255), 0.25)
    return colour


class Ellipse:
    def __init__(self, cx, cy, rx, ry, angle=0.0):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.cos, self.sin = math.cos(angle), math.sin(angle)

    def local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        u = dx * self.cos + dy * self.sin
        v = -dx * self.sin + dy * self.cos
        return u / self.rx, v / self.ry

    def contains(self, x, y):
        u, v = self.local(x, y)
        return u * u + v * v <= 1.0

    def bbox(self):
        r = max(self.rx, self.ry)
        return self.cx - r, self.cy - r, self.cx + r, self.cy + r


class Capsule:
    """A limb: a segment with round ends, radius r0 at the start and r1 at the end."""

    def __init__(self, x0, y0, x1, y1, r0, r1=None):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.r0, self.r1 = r0, r0 if r1 is None else r1
        self.dx, self.dy = x1 - x0, y1 - y0
        self.len2 = self.dx * self.dx + self.dy * self.dy

    def param(self, x, y):
        if self.len2 == 0:
            return 0.0
        t = ((x - self.x0) * self.dx + (y - self.y0) * self.dy) / self.len2
        return max(0.0, min(1.0, t))

    def contains(self, x, y):
        t = self.param(x, y)
        px, py = self.x0 + t * self.dx, self.y0 + t * self.dy
        r = self.r0 + (self.r1 - self.r0) * t
        return (x - px) ** 2 + (y - py) ** 2 <= r * r

    def bbox(self):
        r = max(self.r0, self.r1)
        return (min(self.x0, self.x1) - r, min(self.y0, self.y1) - r,
                max(self.x0, self.x1) + r, max(self.y0, self.y1) + r)


class Polygon:
    def __init__(self, points):
        self.points = points

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside

    def bbox(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)


class Rect:
    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def contains(self, x, y):
        return self.x0 <= x < self.x1 and self.y0 <= y < self.y1

    def bbox(self):
        return self.x0, self.y0, self.x1, self.y1


class Union:
    def __init__(self, *shapes):
        self.shapes = shapes

    def contains(self, x, y):
        return any(s.contains(x, y) for s in self.shapes)

    def bbox(self):
        boxes = [s.bbox() for s in self.shapes]
        return (min(b[0] for b in boxes), min(b[1] for b in boxes),
                max(b[2] for b in boxes), max(b[3] for b in boxes))


class Intersect:
    def __init__(self, a, b):
        self.a, self.b = a, b

    def contains(self, x, y):
        return self.a.contains(x, y) and self.b.contains(x, y)

    def bbox(self):
        return self.a.bbox()


class Minus:
    def __init__(self, a, b):
        self.a, self.b = a, b

    def contains(self, x, y):
        return self.a.contains(x, y) and not self.b.contains(x, y)

    def bbox(self):
        return self.a.bbox()


def sphere_shade(base, ellipse, levels=5):
    """Colour of a rounded body seen from above: Lambert light on an ellipsoid."""
    def colour(x, y):
        u, v = ellipse.local(x, y)
        # Back to screen axes for the light.
        nx = u * ellipse.cos - v * ellipse.sin
        ny = u * ellipse.sin + v * ellipse.cos
        d = nx * nx + ny * ny
        nz = math.sqrt(max(0.0, 1.0 - d))
        return lit(base, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2], levels)
    return colour


def tube_shade(base, capsule, levels=4):
    """Colour of a limb: a cylinder lit across its axis."""
    def colour(x, y):
        t = capsule.param(x, y)
        px, py = capsule.x0 + t * capsule.dx, capsule.y0 + t * capsule.dy
        r = capsule.r0 + (capsule.r1 - capsule.r0) * t
        nx, ny = (x - px) / max(r, 0.5), (y - py) / max(r, 0.5)
        d = nx * nx + ny * ny
        nz = math.sqrt(max(0.0, 1.0 - d))
        return lit(base, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2], levels)
    return colour


class Layer:
    """An RGBA picture with a hard alpha channel (0 or 255 per pixel)."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.rgb = [(0, 0, 0)] * (width * height)
        self.alpha = bytearray(width * height)

    def set(self, x, y, colour, alpha=255):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = y * self.width + x
            self.rgb[i] = colour
            self.alpha[i] = alpha

    def get(self, x, y):
        i = y * self.width + x
        return self.rgb[i], self.alpha[i]

    def mask(self, shape):
        x0, y0, x1, y1 = shape.bbox()
        xa, ya = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        xb = min(self.width - 1, int(math.ceil(x1)) + 1)
        yb = min(self.height - 1, int(math.ceil(y1)) + 1)
        inside = set()
        for y in range(ya, yb + 1):
            for x in range(xa, xb + 1):
                if shape.contains(x + 0.5, y + 0.5):
                    inside.add((x, y))
        return inside

    def paint(self, shape, colour, outline=BLACK):
        """Fills the shape (a colour or a function of the pixel centre) over an
        outline one pixel wide around it."""
        inside = self.mask(shape)
        if outline is not None:
            for (x, y) in inside:
                for ox, oy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    n = (x + ox, y + oy)
                    if n not in inside:
                        self.set(n[0], n[1], outline)
        for (x, y) in inside:
            c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
            self.set(x, y, c)
        return inside

    def rgba_bytes(self):
        out = bytearray()
        for i, (r, g, b) in enumerate(self.rgb):
            a = self.alpha[i]
            # Transparent pixels carry black: their colour is never shown.
            out += bytes((r, g, b, a)) if a else b"\0\0\0\0"
        return bytes(out)

    def rgb_bytes(self):
        out = bytearray()
        for (r, g, b) in self.rgb:
            out += bytes((r, g, b))
        return bytes(out)
