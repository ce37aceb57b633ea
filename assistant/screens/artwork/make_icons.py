#!/usr/bin/env python3
"""Draws the program's icons: a cardboard package with a green arrow going into it.

    make_icons.py OUTPUT_DIR

writes packfetch.ico (the program's icon: 32 x 32 in 16 colours, on a blue disc)
and download.ico (the download screen's icon: 16, 32 and 48 pixels, each in 16
and in 256 colours). Standard library only; the output is the same on every run.
"""

import struct
import sys
from pathlib import Path

# The 16 colours every display shows, in the order Windows numbers them.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette_256():
    """The 16 display colours, a 6 x 6 x 6 colour cube and a ramp of greys."""
    colours = list(VGA)
    steps = [0, 51, 102, 153, 204, 255]
    colours += [(r, g, b) for r in steps for g in steps for b in steps]
    colours += [(v, v, v) for v in range(8, 248, 10)]
    colours = colours[:256]
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


# Each paint has its true colour (for 256 colours) and the display colour that
# stands in for it when only 16 exist.
PAINTS = {
    "outline": ((60, 38, 20), (0, 0, 0)),
    "front": ((204, 153, 102), (192, 192, 192)),
    "side": ((153, 102, 51), (128, 128, 0)),
    "top": ((230, 190, 140), (255, 255, 0)),
    "tape": ((240, 220, 170), (255, 255, 255)),
    "arrow": ((40, 180, 60), (0, 255, 0)),
    "arrow_edge": ((0, 100, 20), (0, 128, 0)),
    "disc": ((30, 80, 170), (0, 0, 128)),
    "disc_edge": ((10, 40, 110), (0, 0, 0)),
}

# Shapes on a 48 x 48 grid, painted in order; later shapes cover earlier ones.
BOX = [
    ("side", [(30, 22), (42, 15), (42, 37), (30, 44)]),
    ("top", [(6, 22), (18, 15), (42, 15), (30, 22)]),
    ("front", [(6, 22), (30, 22), (30, 44), (6, 44)]),
    ("tape", [(15, 22), (21, 22), (21, 44), (15, 44)]),
]
ARROW = [(20, 1), (28, 1), (28, 13), (35, 13), (24, 27), (13, 13), (20, 13)]


def inside(polygon, x, y):
    hit = False
    n = len(polygon)
    for i in range(n):
        (x1, y1), (x2, y2) = polygon[i], polygon[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def near_edge(polygon, x, y, width):
    n = len(polygon)
    for i in range(n):
        (x1, y1), (x2, y2) = polygon[i], polygon[(i + 1) % n]
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        if (x1 + t * dx - x) ** 2 + (y1 + t * dy - y) ** 2 <= width * width:
            return True
    return False


def paint_at(x, y, size, disc):
    """The paint at a point of the 48-unit grid, or None where the icon is clear."""
    edge = 48.0 / size  # one pixel, so that outlines stay visible at 16 pixels
    paint = None
    if disc:
        d2 = (x - 24) ** 2 + (y - 24) ** 2
        if d2 <= 24 * 24:
            paint = "disc_edge" if d2 >= (24 - edge) ** 2 else "disc"
    for name, polygon in BOX:
        if inside(polygon, x, y):
            paint = name
    box_outline = [(6, 22), (18, 15), (42, 15), (42, 37), (30, 44), (6, 44)]
    if inside(box_outline, x, y) or near_edge(box_outline, x, y, edge * 0.6):
        if near_edge(box_outline, x, y, edge * 0.6) or near_edge([(6, 22), (30, 22), (42, 15)], x, y, edge * 0.5) \
                or near_edge([(30, 22), (30, 44)], x, y, edge * 0.5):
            paint = "outline"
    if inside(ARROW, x, y):
        paint = "arrow_edge" if near_edge(ARROW, x, y, edge * 0.7) else "arrow"
    return paint


def render(size, disc):
    """Rows of (paint or None), top row first, sampled 4 x 4 per pixel."""
    rows = []
    scale = 48.0 / size
    for py in range(size):
        row = []
        for px in range(size):
            votes = {}
            for sy in range(4):
                for sx in range(4):
                    p = paint_at((px + (sx + 0.5) / 4) * scale, (py + (sy + 0.5) / 4) * scale, size, disc)
                    votes[p] = votes.get(p, 0) + 1
            covered = 16 - votes.get(None, 0)
            if covered < 8:
                row.append(None)
                continue
            votes.pop(None, None)
            row.append(max(votes.items(), key=lambda item: item[1])[0])
        rows.append(row)
    return rows


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def icon_image(size, bits, disc):
    """One image of an icon file: header, palette, colour bits, transparency mask."""
    palette = VGA if bits == 4 else palette_256()
    rows = render(size, disc)
    index = {}
    for name, (true_colour, display_colour) in PAINTS.items():
        index[name] = nearest(palette, true_colour if bits == 8 else display_colour)

    def padded(data):
        return data + b"\0" * (-len(data) % 4)

    colour_rows = []
    mask_rows = []
    for row in reversed(rows):  # bottom-up, as bitmaps are stored
        indexes = [0 if p is None else index[p] for p in row]
        if bits == 4:
            packed = bytes((indexes[i] << 4) | (indexes[i + 1] if i + 1 < size else 0)
                           for i in range(0, size, 2))
        else:
            packed = bytes(indexes)
        colour_rows.append(padded(packed))
        mask = bytearray((size + 7) // 8)
        for i, p in enumerate(row):
            if p is None:
                mask[i // 8] |= 0x80 >> (i % 8)
        mask_rows.append(padded(bytes(mask)))
    colours = len(palette)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         sum(map(len, colour_rows)) + sum(map(len, mask_rows)), 0, 0, colours, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + b"".join(colour_rows) + b"".join(mask_rows)


def icon_file(images):
    """An icon file holding (size, bits, data) images."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16 if bits == 4 else 0, 0, 1, bits,
                               len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    program = [(32, 4, icon_image(32, 4, disc=True))]
    download = [(size, bits, icon_image(size, bits, disc=False)) for size in (16, 32, 48) for bits in (4, 8)]
    (out / "packfetch.ico").write_bytes(icon_file(program))
    (out / "download.ico").write_bytes(icon_file(download))


if __name__ == "__main__":
    main()
