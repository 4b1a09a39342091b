#!/usr/bin/env python3
"""Writes the game's pictures as uncompressed TIFF files, and optionally PNG
previews of them and of whole game screens.

    python3 tools/make-images/make_images.py                 # into Images/
    python3 tools/make-images/make_images.py --out DIR --preview /tmp/preview

The game template in examples/template/ gets its one picture too: the alien
facing down, as "alien.tif".

The output is the same on every run: all randomness is seeded.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from alien import HEIGHT as ALIEN_H, WIDTH as ALIEN_W, make_alien_frame  # noqa: E402
from creatures import make_bird, make_fish  # noqa: E402
from grass import make_grass  # noqa: E402
from png_writer import write_png  # noqa: E402
from terrain import make_mountain, make_ocean  # noqa: E402
from tiff_writer import write_tiff  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def build_all():
    """Every picture by file name: (layer, has alpha)."""
    pictures = {"grass_template_thick.tif": (make_grass(), False)}
    for n in range(32):
        pictures["alien%04d.tif" % n] = (make_alien_frame(n), True)
    pictures["fall_mountain.tif"] = (make_mountain(), True)
    pictures["ocean_template2.tif"] = (make_ocean(), True)
    pictures["small_fish.tif"] = (make_fish(), True)
    pictures["small_bird.tif"] = (make_bird(), True)
    return pictures


def save(pictures, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, (layer, has_alpha) in sorted(pictures.items()):
        data = layer.rgba_bytes() if has_alpha else layer.rgb_bytes()
        write_tiff(os.path.join(out_dir, name), layer.width, layer.height,
                   4 if has_alpha else 3, data)


# Previews ---------------------------------------------------------------------

def to_display(colour):
    """The colour as a 5:6:5 display shows it."""
    r, g, b = colour
    r5, g6, b5 = r >> 3, g >> 2, b >> 3
    return ((r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2))


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.rgb = bytearray(width * height * 3)

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.rgb[i:i + 3] = bytes(colour)

    def blit(self, layer, x0, y0, zoom=1, masked=True):
        for y in range(layer.height):
            for x in range(layer.width):
                colour, alpha = layer.get(x, y)
                if masked and alpha == 0:
                    continue
                colour = to_display(colour)
                for zy in range(zoom):
                    for zx in range(zoom):
                        self.put(x0 + x * zoom + zx, y0 + y * zoom + zy, colour)

    def save(self, path):
        write_png(path, self.width, self.height, self.rgb)


def checker(canvas):
    for y in range(canvas.height):
        for x in range(canvas.width):
            light = ((x // 8) + (y // 8)) % 2
            canvas.put(x, y, (200, 200, 210) if light else (150, 150, 160))


# The placed objects of the world, as the game lays them out: cell (a, b) shows
# its picture at world (90a - 140, 90b - 230).
LAYOUT = ([(51, b, "fall_mountain.tif") for b in range(51, 63)] +
          [(60, 52, "ocean_template2.tif"), (61, 52, "ocean_template2.tif"),
           (60, 53, "ocean_template2.tif"), (61, 53, "ocean_template2.tif"),
           (60, 53, "small_fish.tif"), (51, 56, "small_bird.tif"), (52, 56, "small_bird.tif"),
           (53, 56, "small_bird.tif")])


def scene(pictures, scroll_x, scroll_y, alien_frame, width=800, height=500):
    canvas = Canvas(width, height)
    grass = pictures["grass_template_thick.tif"][0]
    gw, gh = grass.width, grass.height
    for sy in range(height):
        for sx in range(width):
            colour, _ = grass.get((sx + scroll_x) % gw, (sy + scroll_y) % gh)
            canvas.put(sx, sy, to_display(colour))
    for a, b, name in LAYOUT:
        layer = pictures[name][0]
        canvas.blit(layer, 90 * a - 140 - scroll_x, 90 * b - 230 - scroll_y)
    canvas.blit(pictures["alien%04d.tif" % alien_frame][0], 360, 188)
    return canvas


def previews(pictures, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    # Each picture on its own, three times enlarged over a checkerboard.
    for name, (layer, _) in pictures.items():
        if name.startswith("alien"):
            continue
        canvas = Canvas(layer.width * 3, layer.height * 3)
        checker(canvas)
        canvas.blit(layer, 0, 0, zoom=3)
        canvas.save(os.path.join(out_dir, name.replace(".tif", ".png")))

    # The 32 alien frames: one row per facing, one column per step, twice enlarged
    # over the grass, with the probe line 82 pixels below each frame's top.
    grass = pictures["grass_template_thick.tif"][0]
    zoom = 2
    sheet = Canvas(8 * ALIEN_W * zoom, 4 * ALIEN_H * zoom)
    for y in range(sheet.height):
        for x in range(sheet.width):
            sheet.put(x, y, to_display(grass.get((x // zoom) % grass.width,
                                                 (y // zoom) % grass.height)[0]))
    for n in range(32):
        d, s = divmod(n, 8)
        sheet.blit(pictures["alien%04d.tif" % n][0], s * ALIEN_W * zoom, d * ALIEN_H * zoom, zoom)
    sheet.save(os.path.join(out_dir, "alien_sheet.png"))
    for d in range(4):
        for s in range(8):
            for dx in (0, 30, 60):
                sheet.put(s * ALIEN_W * zoom + dx * zoom, d * ALIEN_H * zoom + 82 * zoom,
                          (255, 0, 0))
    sheet.save(os.path.join(out_dir, "alien_sheet_probes.png"))

    # Whole screens: the first frame, and views of the wall, the birds and the pond.
    scene(pictures, 4000, 4000, 0).save(os.path.join(out_dir, "scene_start.png"))
    scene(pictures, 4200, 4500, 24).save(os.path.join(out_dir, "scene_wall.png"))
    scene(pictures, 4900, 4250, 16).save(os.path.join(out_dir, "scene_pond.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(REPO, "Images"),
                        help="folder for the TIFF files (default: Images/ of the repository)")
    parser.add_argument("--template", default=os.path.join(REPO, "examples", "template", "Images"),
                        help="folder for the game template's picture (default: "
                             "examples/template/Images/ of the repository)")
    parser.add_argument("--preview", help="also write PNG previews into this folder")
    args = parser.parse_args()
    pictures = build_all()
    save(pictures, args.out)
    print("wrote %d pictures to %s" % (len(pictures), args.out))
    save({"alien.tif": pictures["alien0000.tif"]}, args.template)
    print("wrote the template's picture to %s" % args.template)
    if args.preview:
        previews(pictures, args.preview)
        print("wrote previews to %s" % args.preview)


if __name__ == "__main__":
    main()
