#!/usr/bin/env python3
"""Writes the pictures the runtime's tests show, as a bitmap and as a JPEG:

    make_test_pictures.py ARTWORK_DIR OUTPUT_DIR

40 x 30 pixels: a red left half, a blue top right quarter, a green bottom right quarter.
"""

import sys
from pathlib import Path

sys.path.insert(0, sys.argv[1])
import image_files  # noqa: E402


def pixel(x, y):
    if x < 20:
        return (220, 30, 30)
    return (30, 30, 220) if y < 15 else (30, 200, 30)


out = Path(sys.argv[2])
out.mkdir(parents=True, exist_ok=True)
image_files.write_bmp(out / "quarters.bmp", 40, 30, pixel)
image_files.write_jpeg(out / "quarters.jpg", 40, 30, pixel)
