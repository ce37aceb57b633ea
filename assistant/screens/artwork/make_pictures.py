#!/usr/bin/env python3
"""Draws the start-up screens' pictures.

    make_pictures.py OUTPUT_DIR

writes splash.jpg (the splash screen's 800 x 600 background: a warm ivory
ground with soft bands and discs, light enough that dark, blue, red and
orange letters all read on it) and picture.bmp (the picture screen's 579 x 435
24-bit bitmap: a dusk landscape of layered hills under a low sun). Standard
library only; the output is the same on every run.
"""

import math
import sys
from pathlib import Path

from image_files import write_bmp, write_jpeg


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rgb(colour):
    return tuple(int(round(max(0.0, min(255.0, c)))) for c in colour)


SPLASH_SIZE = (800, 600)
IVORY = (252, 244, 226)
SAND = (238, 214, 178)
PEACH = (250, 205, 150)
SKY = (206, 222, 240)


def splash_pixel(x, y):
    width, height = SPLASH_SIZE
    # Diagonal ground from ivory (top left) to sand (bottom right).
    colour = mix(IVORY, SAND, (x / width * 0.45 + y / height * 0.55))
    # Broad soft bands rising from left to right.
    band = math.sin((x * 0.6 - y) / 95.0)
    colour = mix(colour, PEACH, 0.18 * max(0.0, band) ** 3)
    # Two large discs, one warm at the top right, one cool at the bottom left.
    for cx, cy, radius, tint, strength in ((640, 40, 260, PEACH, 0.45), (60, 560, 230, SKY, 0.40)):
        d = math.hypot(x - cx, y - cy)
        if d < radius:
            colour = mix(colour, tint, strength * (1.0 - (d / radius) ** 2))
        ring = abs(d - radius)
        if ring < 2.0:
            colour = mix(colour, (255, 255, 255), 0.5 * (1.0 - ring / 2.0))
    return rgb(colour)


PICTURE_SIZE = (579, 435)
ZENITH = (22, 30, 74)
HORIZON = (236, 130, 74)
SUN = (255, 222, 150)
HILLS = [  # (base height as a fraction, amplitude, wavelength, phase, colour): far to near
    (0.62, 18, 140, 0.3, (120, 70, 96)),
    (0.70, 24, 190, 1.7, (84, 48, 84)),
    (0.80, 20, 120, 4.1, (50, 32, 64)),
    (0.90, 14, 230, 2.4, (28, 20, 44)),
]


def picture_pixel(x, y):
    width, height = PICTURE_SIZE
    t = y / (height * 0.7)
    colour = mix(ZENITH, HORIZON, t ** 1.6)
    sun_x, sun_y, sun_r = width * 0.68, height * 0.58, 46
    d = math.hypot(x - sun_x, y - sun_y)
    if d < sun_r:
        colour = SUN
    elif d < sun_r * 3:
        colour = mix(colour, SUN, 0.35 * (1.0 - (d - sun_r) / (sun_r * 2)) ** 2)
    # A few fixed stars high in the sky.
    if y < height * 0.35 and ((x * 73856093) ^ (y * 19349663)) % 997 < 1:
        colour = mix(colour, (255, 255, 255), 0.85 * (1.0 - y / (height * 0.35)))
    for base, amplitude, wavelength, phase, hill in HILLS:
        top = height * base - amplitude * math.sin(x / wavelength * 2 * math.pi + phase) \
            - amplitude * 0.4 * math.sin(x / (wavelength * 0.37) + phase * 2)
        if y >= top:
            colour = mix(hill, HORIZON, 0.12 * max(0.0, 1.0 - (y - top) / 40.0))
    return rgb(colour)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_jpeg(str(out / "splash.jpg"), *SPLASH_SIZE, splash_pixel)
    write_bmp(str(out / "picture.bmp"), *PICTURE_SIZE, picture_pixel)


if __name__ == "__main__":
    main()
