#!/usr/bin/env python3
"""Writes the 29 data volumes of the sample package, zrx25.W02 to zrx25.W30.

Each volume is 512 000 bytes of pseudo-random data from a seed of its own name,
so every run produces the same bytes and a fetched copy can be compared byte
for byte. Usage: make_volumes.py OUTDIR
"""
import pathlib
import random
import sys

VOLUME_SIZE = 512_000


def volume_names():
    return [f"zrx25.W{n:02d}" for n in range(2, 31)]


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = pathlib.Path(argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name in volume_names():
        data = random.Random(name).randbytes(VOLUME_SIZE)
        target = out / name
        if not target.exists() or target.read_bytes() != data:
            target.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
