"""Minimal PNG output (8-bit RGB) for previews."""

import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, rgb):
    """Writes width x height RGB pixels (bytes, row-major, 3 bytes each)."""
    raw = bytearray()
    row = width * 3
    for y in range(height):
        raw.append(0)
        raw += rgb[y * row:(y + 1) * row]
    data = b"\x89PNG\r\n\x1a\n"
    data += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    data += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += _chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)
