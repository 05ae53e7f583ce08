#!/usr/bin/env python3
"""Time and peak memory of loading a 6000 x 4000 JPEG into the canvas.

Runs the in-process benchmark (bench/LoadPictureBench, which also makes the
test photos), then measures separate processes, each run several times:

  fotakle-batch load --into PHOTO OUT.bmp   our loader into the 176 x 180 canvas
  djpeg -scale 1/8 -bmp PHOTO               libjpeg-turbo's own reduced decode

and reports the median wall time and the peak resident memory of each, with
fotakle-batch's baseline (the same command on a tiny JPEG) beside it.

Usage: bench/large-jpeg.py [--build build] [--files /tmp/fotakle-bench] [--runs 7]
"""

import argparse
import os
import subprocess

from processtiming import measure


def write_tiny_jpeg(folder):
    """A 16 x 16 JPEG made by cjpeg from a PPM, for the baseline memory."""
    ppm = os.path.join(folder, "tiny.ppm")
    jpeg = os.path.join(folder, "tiny.jpg")
    with open(ppm, "wb") as out:
        out.write(b"P6 16 16 255\n" + bytes(range(256)) * 3)
    with open(jpeg, "wb") as out:
        subprocess.run(["cjpeg", ppm], stdout=out, check=True)
    return jpeg


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--files", default="/tmp/fotakle-bench")
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()

    bench = os.path.join(args.build, "bin", "LoadPictureBench")
    batch = os.path.join(args.build, "bin", "fotakle-batch")
    os.makedirs(args.files, exist_ok=True)
    subprocess.run([bench, "--files", args.files], check=True)

    tiny = write_tiny_jpeg(args.files)
    out = os.path.join(args.files, "out.bmp")
    _, baseline = measure([batch, "load", "--into", tiny, out], args.runs)
    print(f"\nfotakle-batch baseline (16 x 16 JPEG): peak {baseline / 1024:.1f} MiB")

    for name in ("photo-6000x4000.jpg", "photo-6000x4000-progressive.jpg"):
        photo = os.path.join(args.files, name)
        ours, ours_peak = measure([batch, "load", "--into", photo, out], args.runs)
        theirs, theirs_peak = measure(
            ["djpeg", "-scale", "1/8", "-bmp", "-outfile", os.path.join(args.files, "djpeg.bmp"),
             photo], args.runs)
        print(f"\n{name} ({os.path.getsize(photo) / 1e6:.1f} MB)")
        print(f"  fotakle-batch load --into  {ours * 1000:7.1f} ms   peak {ours_peak / 1024:6.1f} MiB"
              f"   ({(ours_peak - baseline) / 1024:.1f} MiB above baseline)")
        print(f"  djpeg -scale 1/8           {theirs * 1000:7.1f} ms   peak {theirs_peak / 1024:6.1f} MiB")
        print(f"  time ratio {ours / theirs:.2f}")


if __name__ == "__main__":
    main()
