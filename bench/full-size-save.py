#!/usr/bin/env python3
"""Time and peak memory of a full-size save of a 20-megapixel photo.

Makes a 5472 x 3648 JPEG (20 megapixels, a camera's size) and a recipe that
loads it, paints it in oil and merges a frame of the asset folder, then
renders the recipe at full size with `fotakle-batch apply --size full`: the
renderer the editor's "Full" save uses, 3520 x 3600 here (factor 20). Each
case runs several times in its own process under GNU time; the median wall
time and the largest peak resident memory are reported, beside the same
recipe at screen size and a recipe of the load alone at full size.

Usage: bench/full-size-save.py [--build build] [--files /tmp/fotakle-bench] [--runs 3]
"""

import argparse
import json
import os
import subprocess

from processtiming import measure

WIDTH, HEIGHT = 5472, 3648


def write_photo(folder):
    """A photo-like 20-megapixel JPEG: gradients, bands and a grain, made by
    cjpeg from a PPM written row by row."""
    jpeg = os.path.join(folder, "camera-20mp.jpg")
    if os.path.exists(jpeg):
        return jpeg
    ppm = os.path.join(folder, "camera-20mp.ppm")
    base = bytearray()
    for x in range(WIDTH):
        base += bytes(((x * 255) // WIDTH, (x // 37 * 53) % 256, 255 - (x * 200) // WIDTH))
    with open(ppm, "wb") as out:
        out.write(b"P6 %d %d 255\n" % (WIDTH, HEIGHT))
        for y in range(HEIGHT):
            shift = (y * 7) % (3 * WIDTH)
            out.write(base[shift:] + base[:shift])
    with open(jpeg, "wb") as out:
        subprocess.run(["cjpeg", "-quality", "90", ppm], stdout=out, check=True)
    os.remove(ppm)
    return jpeg


def write_recipe(path, photo, steps):
    with open(path, "w") as out:
        json.dump({"fotakle_recipe": 1, "steps": [{"op": "load", "file": photo}] + steps}, out)
    return path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--files", default="/tmp/fotakle-bench")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    os.makedirs(args.files, exist_ok=True)
    batch = os.path.join(args.build, "bin", "fotakle-batch")
    photo = write_photo(args.files)
    painted = write_recipe(os.path.join(args.files, "oil-and-frame.json"), photo, [
        {"op": "effect", "kind": "oil", "seed": 1},
        {"op": "frame", "file": "Frame/Classic/Classic1.adm"},
    ])
    plain = write_recipe(os.path.join(args.files, "load-only.json"), photo, [])
    out = os.path.join(args.files, "out.jpg")
    cases = [
        ("oil + frame, full 3520 x 3600", [batch, "apply", painted, photo, out, "--size", "full"]),
        ("oil + frame, screen 176 x 180", [batch, "apply", painted, photo, out]),
        ("load only, full 3520 x 3600", [batch, "apply", plain, photo, out, "--size", "full"]),
    ]
    print(f"{WIDTH} x {HEIGHT} JPEG, {args.runs} runs each (median wall time, peak RSS)")
    for name, command in cases:
        seconds, peak = measure(command, args.runs)
        print(f"  {name:32s} {seconds:7.2f} s  {peak / 1024:8.1f} MiB")


if __name__ == "__main__":
    main()
