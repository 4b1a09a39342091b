"""Uncompressed TIFF files in the layout the engine's reader takes.

Intel byte order, one image directory, one strip, 8-bit samples, interleaved
RGB or RGB plus an unassociated alpha sample (ExtraSamples = 2).
"""

import struct

SHORT = 3
LONG = 4
RATIONAL = 5


def write_tiff(path, width, height, samples, pixels):
    """Writes width x height pixels of `samples` bytes each (3 = RGB, 4 = RGBA).

    `pixels` is a bytes-like object of width * height * samples bytes, row-major.
    """
    if samples not in (3, 4):
        raise ValueError("samples must be 3 or 4")
    if len(pixels) != width * height * samples:
        raise ValueError("pixel data does not match the size")

    tags = [
        (256, LONG, 1, width),
        (257, LONG, 1, height),
        (258, SHORT, samples, None),  # BitsPerSample: 8 per sample, stored apart
        (259, SHORT, 1, 1),  # no compression
        (262, SHORT, 1, 2),  # RGB
        (273, LONG, 1, None),  # StripOffsets: the one strip
        (277, SHORT, 1, samples),
        (278, LONG, 1, height),  # RowsPerStrip: the whole image
        (279, LONG, 1, len(pixels)),
        (282, RATIONAL, 1, None),
        (283, RATIONAL, 1, None),
        (284, SHORT, 1, 1),  # interleaved samples
        (296, SHORT, 1, 2),  # resolution in inches
    ]
    if samples == 4:
        tags.append((338, SHORT, 1, 2))  # unassociated alpha

    ifd_offset = 8
    ifd_size = 2 + 12 * len(tags) + 4
    bits_offset = ifd_offset + ifd_size
    resolution_offset = bits_offset + 2 * samples
    resolution_offset += resolution_offset & 1
    strip_offset = resolution_offset + 16

    out = bytearray(b"II")
    out += struct.pack("<HI", 42, ifd_offset)
    out += struct.pack("<H", len(tags))
    for tag, kind, count, value in tags:
        if tag == 258:
            value = bits_offset
        elif tag == 273:
            value = strip_offset
        elif tag == 282:
            value = resolution_offset
        elif tag == 283:
            value = resolution_offset + 8
        if kind == SHORT and count == 1:
            out += struct.pack("<HHIHH", tag, kind, count, value, 0)
        else:
            out += struct.pack("<HHII", tag, kind, count, value)
    out += struct.pack("<I", 0)  # no further image
    out += struct.pack("<" + "H" * samples, *([8] * samples))
    while len(out) < resolution_offset:
        out += b"\0"
    out += struct.pack("<IIII", 72, 1, 72, 1)
    assert len(out) == strip_offset
    out += pixels
    with open(path, "wb") as f:
        f.write(out)
