#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a Windows icon (.ico) that holds the given PNG images as they are.

Windows Vista and later read PNG images inside an icon at every size, so the
program's PNG icons go in unchanged, each under the size its header gives:

    tools/make_ico.py packaging/windows/zorvel.ico src/app/icons/zorvel-*.png
"""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_size(data, name):
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        raise SystemExit(f"{name}: not a PNG image")
    width, height = struct.unpack(">II", data[16:24])
    bit_depth, colour_type = data[24], data[25]
    if width > 256 or height > 256:
        raise SystemExit(f"{name}: {width}x{height} is larger than an icon can hold")
    # Colour type 6 is RGBA; 8 bits a channel make 32 bits a pixel.
    bits = 32 if (colour_type, bit_depth) == (6, 8) else 0
    return width, height, bits


def icon(images):
    """images: (name, PNG bytes) pairs; returns the bytes of the .ico file."""
    images = sorted(images, key=lambda image: png_size(image[1], image[0])[0])
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, bodies = b"", b""
    for name, data in images:
        width, height, bits = png_size(data, name)
        # 256 is written as 0 in the one-byte width and height fields.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bits, len(data), offset)
        bodies += data
        offset += len(data)
    return header + entries + bodies


def main(arguments):
    if len(arguments) < 2:
        raise SystemExit(__doc__.strip())
    images = []
    for name in arguments[1:]:
        with open(name, "rb") as file:
            images.append((name, file.read()))
    with open(arguments[0], "wb") as file:
        file.write(icon(images))


if __name__ == "__main__":
    main(sys.argv[1:])
