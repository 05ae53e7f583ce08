#!/usr/bin/env python3
"""Converts bmpsuite reference renderings (PNG) to binary PPM (P6, 8 bits).

Run from the repository root, once, to rebuild the files in this folder:
    python3 tests/data/bmpsuite/ref/png2ppm.py /path/to/bmpsuite/reference \
        tests/data/bmpsuite/ref pal1 pal4 ...
(the names are the PNG files without ".png"). Uses only the standard library
(zlib). Handles non-interlaced PNGs of colour types 0, 2, 3 and 6 at any bit
depth; alpha is dropped, and 16-bit samples are rounded to 8 bits as
(v * 255 + 32767) // 65535.
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    pos, idat, palette = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if interlace != 0:
        raise ValueError(path + ": interlaced PNGs are not handled")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    bits_per_pixel = channels * depth
    stride = (width * bits_per_pixel + 7) // 8
    step = max(1, bits_per_pixel // 8)
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b = previous[i]
            c = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        previous = line

    def samples(line):
        if depth == 16:
            for i in range(0, len(line), 2):
                yield (((line[i] << 8) | line[i + 1]) * 255 + 32767) // 65535
        elif depth == 8:
            yield from line
        else:
            per_byte = 8 // depth
            for byte in line:
                for k in range(per_byte):
                    yield (byte >> (8 - depth * (k + 1))) & ((1 << depth) - 1)

    pixels = bytearray()
    for line in rows:
        values = list(samples(line))
        for x in range(width):
            px = values[x * channels:(x + 1) * channels]
            if colour == 3:
                pixels += bytes(palette[px[0]])
            elif colour in (0, 4):
                grey = px[0] if depth >= 8 else px[0] * 255 // ((1 << depth) - 1)
                pixels += bytes((grey, grey, grey))
            else:
                pixels += bytes(px[:3])
    return width, height, pixels


def main():
    source, target, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    for name in names:
        width, height, pixels = read_png("%s/%s.png" % (source, name))
        with open("%s/%s.ppm" % (target, name), "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (width, height))
            out.write(pixels)


if __name__ == "__main__":
    main()
