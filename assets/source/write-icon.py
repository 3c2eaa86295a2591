#!/usr/bin/env python3
"""Writes one 32 x 32 image as a Windows icon or pointer file with a colour table.

ImageMagick's "CUR:" output is an icon file without a hot spot, so the pointing hand is put
together here from raw RGBA pixels; the dialog's icons go through the same writer, so that
their bit depths, colour tables and masks are exactly the ones asked for:

  write-icon.py ico BITS IN.rgba OUT.ico      BITS = 4 or 8: a palette icon with an AND mask
  write-icon.py cur HOTX HOTY IN.rgba OUT.cur  a monochrome pointer: black, white, transparent

IN.rgba holds 32 x 32 pixels, 4 bytes each, top row first (ImageMagick's "RGBA:" output).
A pixel whose alpha is below 128 is transparent: its AND bit is set and its colour is black,
so the screen shows through unchanged.
"""

import struct
import sys

SIZE = 32


def read_pixels(path):
    data = open(path, "rb").read()
    if len(data) != SIZE * SIZE * 4:
        sys.exit(f"{path}: expected {SIZE * SIZE * 4} bytes of RGBA, got {len(data)}")
    return [
        (data[i], data[i + 1], data[i + 2]) if data[i + 3] >= 128 else None
        for i in range(0, len(data), 4)
    ]


def pack_rows(values, bits):
    """Bottom-up rows of `bits`-wide values, each row padded to 4 bytes, as the DIB wants."""
    out = bytearray()
    for y in reversed(range(SIZE)):
        row = values[y * SIZE : (y + 1) * SIZE]
        acc = 0
        for v in row:
            acc = (acc << bits) | v
        nbytes = SIZE * bits // 8
        out += acc.to_bytes(nbytes, "big") + bytes(-nbytes % 4)
    return bytes(out)


def image_resource(bits, palette, indexes, transparent):
    colours = 1 << bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    table += bytes(4 * (colours - len(palette)))
    return header + table + pack_rows(indexes, bits) + pack_rows(transparent, 1)


def file_with_one_image(kind, entry_a, entry_b, colour_count, resource):
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack(
        "<BBBBHHII", SIZE, SIZE, colour_count, 0, entry_a, entry_b, len(resource), 6 + 16
    )
    return directory + entry + resource


def write_icon(bits, pixels, out):
    opaque = sorted({p for p in pixels if p is not None})
    # Black first: transparent pixels point at it.
    palette = [(0, 0, 0)] + [p for p in opaque if p != (0, 0, 0)]
    if len(palette) > 1 << bits:
        sys.exit(f"{out}: {len(palette)} colours do not fit in {bits} bits")
    index = {c: i for i, c in enumerate(palette)}
    indexes = [0 if p is None else index[p] for p in pixels]
    transparent = [1 if p is None else 0 for p in pixels]
    resource = image_resource(bits, palette, indexes, transparent)
    # The directory counts the colours only when there are fewer than 256.
    colour_count = (1 << bits) % 256
    open(out, "wb").write(file_with_one_image(1, 1, bits, colour_count, resource))


def write_pointer(hot_x, hot_y, pixels, out):
    palette = [(0, 0, 0), (255, 255, 255)]
    if any(p is not None and p not in palette for p in pixels):
        sys.exit(f"{out}: a monochrome pointer takes only black, white and transparent pixels")
    indexes = [1 if p == (255, 255, 255) else 0 for p in pixels]
    transparent = [1 if p is None else 0 for p in pixels]
    resource = image_resource(1, palette, indexes, transparent)
    # In a pointer file the planes and bit-count fields of the entry hold the hot spot.
    open(out, "wb").write(file_with_one_image(2, hot_x, hot_y, 2, resource))


def main(argv):
    if len(argv) == 5 and argv[1] == "ico" and argv[2] in ("4", "8"):
        write_icon(int(argv[2]), read_pixels(argv[3]), argv[4])
    elif len(argv) == 6 and argv[1] == "cur":
        write_pointer(int(argv[2]), int(argv[3]), read_pixels(argv[4]), argv[5])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
