#!/usr/bin/env python3
"""Writes the control's toolbox image: a 16 x 15, 24-bit bitmap file.

The picture is a strip of film with three frames, the middle one lit, drawn from the
text grid below so that it can be changed here and rebuilt.

    make_toolbox_bitmap.py OUT.bmp
"""
import struct
import sys

PALETTE = {
    ".": (192, 192, 192),  # button face: the toolbox shows it as background
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "g": (128, 128, 128),
    "y": (255, 255, 0),
    "b": (0, 0, 128),
}

PICTURE = [
    "................",
    "kkkkkkkkkkkkkkkk",
    "kwkwkwkwkwkwkwkk",
    "kkkkkkkkkkkkkkkk",
    "kgggkkyyyykkgggk",
    "kgbgkkybbykkgbgk",
    "kgbgkkyybykkgbgk",
    "kgggkkyyyykkgggk",
    "kgggkkybyykkgggk",
    "kgggkkyyyykkgggk",
    "kkkkkkkkkkkkkkkk",
    "kwkwkwkwkwkwkwkk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
]

WIDTH, HEIGHT = 16, 15


def bitmap() -> bytes:
    assert len(PICTURE) == HEIGHT and all(len(row) == WIDTH for row in PICTURE)
    stride = (WIDTH * 3 + 3) & ~3
    rows = []
    for row in reversed(PICTURE):  # bottom-up, as BMP rows are stored
        line = bytearray()
        for cell in row:
            r, g, b = PALETTE[cell]
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        rows.append(bytes(line))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + pixels


def main() -> None:
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    with open(sys.argv[1], "wb") as f:
        f.write(bitmap())


if __name__ == "__main__":
    main()
