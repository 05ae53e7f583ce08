#!/usr/bin/env python3
"""Whole-process time and peak memory of loading every JPEG of a folder.

For each file, in one run and interleaved (A B A B ..., several rounds, the
order of the pair alternating from round to round so that neither command is
always the one that finds the caches warm):

  A  fotakle-batch load --into --box 176 180 PHOTO OUT.bmp   our loader
  B  djpeg -scale 1/8 -bmp -outfile OUT.bmp PHOTO             libjpeg-turbo

Prints per file the median wall time of each, the median of the pairwise
ratios A/B and both peak resident sizes, then the geometric mean of the ratios
for the baseline and the progressive files apart. Peak memory comes from GNU
time, which forks each command from its own small process: a child forked
straight from Python would start its high-water mark at Python's own size.
Wall times include GNU time's own start (about a millisecond, the same for A
and B).

  bench/jpeg-folder.py --make /tmp/fotakle-photos     writes the test photos
  bench/jpeg-folder.py /tmp/fotakle-photos [--rounds 7] [--build build]

--make renders scenes (a plasma sky, hills, buildings with lit windows, wires,
sensor noise) with ImageMagick's convert and encodes them with cjpeg in the
layouts cameras and editors write: baseline and progressive, 4:2:0, 4:2:2 and
4:4:4, landscape and portrait, 12 to 20 megapixels. Keep them out of the
repository; they are remade in a few minutes.
"""

import argparse
import math
import os
import random
import statistics
import subprocess
import sys

from processtiming import run_once


# name, width, height, cjpeg options
LAYOUTS = [
    ("baseline-420-5472x3648.jpg", 5472, 3648, ["-sample", "2x2"]),
    ("baseline-422-4032x3024.jpg", 4032, 3024, ["-sample", "2x1"]),
    ("baseline-444-portrait-3024x4032.jpg", 3024, 4032, ["-sample", "1x1"]),
    ("progressive-420-5472x3648.jpg", 5472, 3648, ["-sample", "2x2", "-progressive"]),
    ("progressive-444-5472x3648.jpg", 5472, 3648, ["-sample", "1x1", "-progressive"]),
    ("progressive-422-4928x3264.jpg", 4928, 3264, ["-sample", "2x1", "-progressive"]),
    ("progressive-420-portrait-3024x4032.jpg", 3024, 4032, ["-sample", "2x2", "-progressive"]),
]


def draw_arguments(primitives):
    """-draw arguments of at most 60 KB each (one argument may not exceed 128 KB)."""
    arguments, current, length = [], [], 0
    for primitive in primitives:
        current.append(primitive)
        length += len(primitive) + 1
        if length > 60000:
            arguments += ["-draw", " ".join(current)]
            current, length = [], 0
    if current:
        arguments += ["-draw", " ".join(current)]
    return arguments


def render_scene(path, width, height, seed):
    """A PPM of a made-up town under a cloudy sky, with sharp edges and noise:
    smooth gradients alone would make unrealistically small JPEGs."""
    rng = random.Random(seed)

    def colour(low, high):
        return f"rgb({rng.randrange(low, high)},{rng.randrange(low, high)},{rng.randrange(low, high)})"

    primitives = []
    for _ in range(40):  # hills
        x, y = rng.randrange(width), rng.randrange(height // 2, height)
        r = rng.randrange(width // 20, width // 4)
        primitives.append(f"fill rgb({rng.randrange(30, 120)},{rng.randrange(60, 160)},"
                          f"{rng.randrange(20, 90)}) circle {x},{y} {x + r},{y}")
    for _ in range(60):  # buildings with windows
        bw, bh = rng.randrange(width // 40, width // 12), rng.randrange(height // 10, height // 2)
        x, y = rng.randrange(width - bw), rng.randrange(height // 4, height - bh // 2)
        grey = rng.randrange(90, 220)
        primitives.append(f"fill rgb({grey},{grey - rng.randrange(0, 40)},"
                          f"{grey - rng.randrange(0, 60)}) rectangle {x},{y} {x + bw},{y + bh}")
        step = max(6, bw // 8)
        for wy in range(y + step, y + bh - step, step * 2):
            for wx in range(x + step // 2, x + bw - step, step * 2):
                primitives.append(f"fill {colour(20, 240)} rectangle {wx},{wy} {wx + step},{wy + step}")
    for _ in range(300):  # wires and branches
        x, y = rng.randrange(width), rng.randrange(height)
        primitives.append(f"stroke {colour(0, 256)} stroke-width {rng.randrange(1, 6)} line {x},{y} "
                          f"{x + rng.randrange(-width // 6, width // 6)},"
                          f"{y + rng.randrange(-height // 6, height // 6)}")
    subprocess.run(["convert", "-seed", str(seed), "-size", f"{width}x{height}", "plasma:fractal",
                    "-blur", "0x1.2"] + draw_arguments(primitives) +
                   ["-attenuate", "0.4", "+noise", "Gaussian", path], check=True)


def make_photos(folder):
    os.makedirs(folder, exist_ok=True)
    scenes = {}
    for name, width, height, options in LAYOUTS:
        target = os.path.join(folder, name)
        if os.path.exists(target):
            continue
        scene = os.path.join(folder, f"scene-{width}x{height}.ppm")
        if (width, height) not in scenes:
            print(f"rendering a {width} x {height} scene", flush=True)
            render_scene(scene, width, height, seed=width * 7 + height)
            scenes[(width, height)] = scene
        subprocess.run(["cjpeg", "-quality", "92"] + options + ["-outfile", target, scene],
                       check=True)
        print(f"{name}: {os.path.getsize(target) / 1e6:.1f} MB", flush=True)
    for scene in scenes.values():
        os.remove(scene)


def is_progressive(path):
    """True when the first frame header is SOF2 (progressive, Huffman)."""
    with open(path, "rb") as stream:
        data = stream.read(1 << 20)
    i = 2
    while i + 4 <= len(data) and data[i] == 0xFF:
        marker = data[i + 1]
        if marker in (0xC2, 0xC6, 0xCA, 0xCE):
            return True
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            return False
        i += 2 + (data[i + 2] << 8 | data[i + 3])
    return False


def geometric_mean(values):
    return math.exp(sum(math.log(v) for v in values) / len(values)) if values else float("nan")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--make", action="store_true", help="write the test photos into FOLDER")
    parser.add_argument("--build", default="build")
    parser.add_argument("--rounds", type=int, default=7)
    args = parser.parse_args()

    if args.make:
        make_photos(args.folder)
        return

    batch = os.path.join(args.build, "bin", "fotakle-batch")
    out = os.path.join("/tmp", f"jpeg-folder-{os.getpid()}.bmp")
    photos = sorted(os.path.join(args.folder, name) for name in os.listdir(args.folder)
                    if name.lower().endswith((".jpg", ".jpeg")))
    if not photos:
        sys.exit(f"no JPEG in {args.folder}")

    commands = {}
    for photo in photos:
        commands[photo] = (
            [batch, "load", "--into", "--box", "176", "180", photo, out],
            ["djpeg", "-scale", "1/8", "-bmp", "-outfile", out, photo],
        )
    times = {photo: ([], []) for photo in photos}
    ratios = {photo: [] for photo in photos}
    peaks = {photo: [0, 0] for photo in photos}
    for photo in photos:  # one warm-up pair: the file into the page cache
        for command in commands[photo]:
            run_once(command)
    for round_number in range(args.rounds):
        for photo in photos:
            order = (0, 1) if round_number % 2 == 0 else (1, 0)
            pair = [0.0, 0.0]
            for which in order:
                elapsed, peak = run_once(commands[photo][which])
                pair[which] = elapsed
                times[photo][which].append(elapsed)
                peaks[photo][which] = max(peaks[photo][which], peak)
            ratios[photo].append(pair[0] / pair[1])
    os.remove(out)

    print(f"{'file':44} {'MB':>5} {'fotakle ms':>10} {'djpeg ms':>9} {'ratio':>6}"
          f" {'fotakle MiB':>11} {'djpeg MiB':>9}")
    groups = {"baseline": [], "progressive": []}
    for photo in photos:
        ratio = statistics.median(ratios[photo])
        groups["progressive" if is_progressive(photo) else "baseline"].append(ratio)
        print(f"{os.path.basename(photo)[:44]:44} {os.path.getsize(photo) / 1e6:5.1f}"
              f" {statistics.median(times[photo][0]) * 1000:10.1f}"
              f" {statistics.median(times[photo][1]) * 1000:9.1f} {ratio:6.2f}"
              f" {peaks[photo][0] / 1024:11.1f} {peaks[photo][1] / 1024:9.1f}")
    for group, values in groups.items():
        if values:
            print(f"{group}: geometric mean of the ratios {geometric_mean(values):.2f}"
                  f" over {len(values)} files")


if __name__ == "__main__":
    main()
