"""Minimal PNG output (8-bit RGB or RGBA) for previews and the icon."""

import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, pixels, channels=3):
    """Writes width x height pixels (bytes, row-major): 3 bytes each (RGB) or
    4 (RGBA, unassociated alpha)."""
    raw = bytearray()
    row = width * channels
    for y in range(height):
        raw.append(0)
        raw += pixels[y * row:(y + 1) * row]
    colour_type = {3: 2, 4: 6}[channels]
    data = b"\x89PNG\r\n\x1a\n"
    data += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    data += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += _chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)
