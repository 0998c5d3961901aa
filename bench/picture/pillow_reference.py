#!/usr/bin/env python3
"""Times Pillow doing what the picture plug-ins do, on the same BMP file.

Usage: pillow_reference.py FILE REPEATS
Prints one line per operation: "<name> <best milliseconds>".
"""
import sys
import time

from PIL import Image


def best_of(repeats, work):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best * 1000.0


def main():
    path, repeats = sys.argv[1], int(sys.argv[2])
    image = Image.open(path)
    image.load()
    w, h = image.size
    darken = [(v * 128 + 128) // 256 for v in range(256)] * 3

    def backdrop():
        small = image.resize((w * 20 // 100, h * 20 // 100), Image.BOX)
        small = small.point(darken)
        small.resize((small.width * 5, small.height * 5), Image.BILINEAR)

    def enlarge():
        image.resize((w * 2, h * 2), Image.BILINEAR)

    print("backdrop %.4f" % best_of(repeats, backdrop))
    print("enlarge200 %.4f" % best_of(repeats, enlarge))


if __name__ == "__main__":
    main()
