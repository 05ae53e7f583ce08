#!/usr/bin/env python3
"""Time and peak memory of loading a 20-megapixel PNG and WebP into the canvas.

Runs the in-process benchmark (bench/LargePictureBench, which also makes the
5472 x 3648 test photos: a PNG, the same PNG interlaced, a lossy and a
lossless WebP), then measures `fotakle-batch load --into PHOTO OUT.bmp` as a
separate process for each, several times, and reports the median wall time
and the peak resident memory, beside the baseline of the same command on a
tiny PNG.

Usage: bench/large-png-webp.py [--build build] [--files /tmp/fotakle-bench] [--runs 5]
"""

import argparse
import os
import subprocess

from processtiming import measure

PHOTOS = ("photo-5472x3648.png", "photo-5472x3648-interlaced.png", "photo-5472x3648.webp",
          "photo-5472x3648-lossless.webp")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--files", default="/tmp/fotakle-bench")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    bench = os.path.join(args.build, "bin", "LargePictureBench")
    batch = os.path.join(args.build, "bin", "fotakle-batch")
    os.makedirs(args.files, exist_ok=True)
    subprocess.run([bench, "--files", args.files], check=True)

    # The baseline: the program and its libraries on a picture of nothing.
    tiny = os.path.join(args.files, "tiny.png")
    tiny_bmp = os.path.join(args.files, "tiny.bmp")
    with open(tiny_bmp, "wb") as out:
        out.write(b"BM" + (58).to_bytes(4, "little") + bytes(4) + (54).to_bytes(4, "little") +
                  (40).to_bytes(4, "little") + (1).to_bytes(4, "little") * 2 +
                  (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + bytes(24) + bytes(4))
    subprocess.run([batch, "save", tiny_bmp, tiny], check=True)
    out = os.path.join(args.files, "out.bmp")
    _, baseline = measure([batch, "load", "--into", tiny, out], args.runs)
    print(f"\nfotakle-batch baseline (1 x 1 PNG): peak {baseline / 1024:.1f} MiB")

    for name in PHOTOS:
        photo = os.path.join(args.files, name)
        wall, peak = measure([batch, "load", "--into", photo, out], args.runs, refuse_warnings=True)
        print(f"{name:32} {os.path.getsize(photo) / 1e6:6.1f} MB  {wall * 1000:7.1f} ms"
              f"   peak {peak / 1024:6.1f} MiB ({(peak - baseline) / 1024:.1f} MiB above baseline)")


if __name__ == "__main__":
    main()
