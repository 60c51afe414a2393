#!/usr/bin/env python3
"""Draws the tutorial's sample targets: scanned-looking paper targets with a
grid or a ruler to calibrate against and a group of shot holes.

    scripts/make-tutorial-targets.py [OUT_DIR]   (default data/Tutorial)

Needs ImageMagick's convert. Prints each target's holes as distances from the
point of aim (X right, Y up), the figures the tutorial pages quote.
"""
import math
import os
import random
import subprocess
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "Tutorial")
PAPER = "#f3efe2"
INK = "#1b1b1b"


def hole(mvg, x, y, r, on_black, rng):
    # A torn paper edge: a ragged dark ring, the backing showing through.
    pts = []
    for i in range(18):
        a = i / 18 * 6.28318
        rr = r * (1 + rng.uniform(-0.12, 0.12))
        pts.append(f"{x + rr * math.cos(a):.1f},{y + rr * math.sin(a):.1f}")
    mvg.append(f"stroke '{'#9a968c' if on_black else '#5a564c'}' stroke-width 2")
    mvg.append(f"fill '{'#d9d5ca' if on_black else '#3a3a3a'}'")
    mvg.append("polygon " + " ".join(pts))


def render(name, size, mvg, rotate, quality=None, extra=(), prefix=""):
    out = os.path.join(OUT, name)
    cmd = ["convert", "-size", f"{size[0]}x{size[1]}", f"xc:{PAPER}", "-font", "DejaVu-Sans",
           "-draw", " ".join(mvg),
           # The look of a flatbed scan: a slight skew, soft edges, paper grain.
           "-background", "#e8e4d6", "-rotate", str(rotate), "-gravity", "center",
           "-extent", f"{size[0]}x{size[1]}", "-blur", "0x0.7",
           "-attenuate", "0.35", "+noise", "Gaussian", *extra]
    if quality:
        cmd += ["-quality", str(quality)]
    cmd += ["-strip", prefix + out]
    subprocess.run(cmd, check=True)


def grid_target(rng):
    """GIF: 8 x 8 inch pistol target, one-inch grid, 75 pixels per inch."""
    ppi, w, h = 75, 600, 600
    cx, cy = 300, 300
    mvg = ["stroke '#7fa7c9' stroke-width 1 fill none"]
    for i in range(0, w + 1, ppi):
        mvg.append(f"line {i},0 {i},{h}")
        mvg.append(f"line 0,{i} {w},{i}")
    for ring in (3.0, 2.5, 2.0):
        mvg.append(f"stroke '{INK}' stroke-width 2 fill none circle {cx},{cy} {cx + ring * ppi},{cy}")
    mvg.append(f"stroke none fill '{INK}' circle {cx},{cy} {cx + 1.5 * ppi},{cy}")
    for ring in (1.0, 0.5):
        mvg.append(f"stroke '{PAPER}' stroke-width 2 fill none circle {cx},{cy} {cx + ring * ppi},{cy}")
    mvg.append(f"stroke '{PAPER}' stroke-width 1 line {cx - 8},{cy} {cx + 8},{cy} line {cx},{cy - 8} {cx},{cy + 8}")
    mvg.append(f"stroke none fill '{INK}' font-size 16 text 12,24 'ONE-INCH GRID   25 YD'")
    shots = [(0.35, 0.60), (0.80, 0.25), (0.15, 0.95), (0.62, 0.88), (0.45, 0.40)]
    for x, y in shots:
        px, py = cx + x * ppi, cy - y * ppi
        hole(mvg, px, py, 0.11 * ppi, (x * x + y * y) ** 0.5 < 1.5, rng)
    render("target1.gif", (w, h), mvg, 0.4, extra=["-colors", "64"])
    return "target1.gif", "Inches", "one grid square (1 inch)", shots


def ruler_target(rng):
    """JPEG: 8 x 10 inch rifle target with an inch ruler, 80 pixels per inch."""
    ppi, w, h = 80, 640, 800
    cx, cy = 320, 340
    mvg = []
    for ring in (3.5, 3.0, 2.5, 2.0, 1.5):
        mvg.append(f"stroke '{INK}' stroke-width 2 fill none circle {cx},{cy} {cx + ring * ppi},{cy}")
    mvg.append(f"stroke none fill '{INK}' circle {cx},{cy} {cx + 1.0 * ppi},{cy}")
    mvg.append(f"stroke '{PAPER}' stroke-width 2 fill none circle {cx},{cy} {cx + 0.5 * ppi},{cy}")
    mvg.append(f"stroke none fill '{PAPER}' polygon {cx},{cy - 10} {cx + 10},{cy} {cx},{cy + 10} {cx - 10},{cy}")
    # The ruler: six inches, quarter-inch ticks, numbered inches.
    x0, y0 = 80, 700
    mvg.append(f"stroke '{INK}' stroke-width 2 fill '#fbf8ee' rectangle {x0 - 10},{y0 - 40} {x0 + 6 * ppi + 10},{y0 + 18}")
    for q in range(0, 25):
        x = x0 + q * ppi / 4
        length = 30 if q % 4 == 0 else (18 if q % 2 == 0 else 10)
        mvg.append(f"stroke '{INK}' stroke-width 2 line {x:.1f},{y0 - 40} {x:.1f},{y0 - 40 + length}")
    for n in range(0, 7):
        mvg.append(f"stroke none fill '{INK}' font-size 14 text {x0 + n * ppi - 4},{y0 + 12} '{n}'")
    mvg.append(f"stroke none fill '{INK}' font-size 18 text 20,30 '100 YD SMALLBORE RIFLE'")
    mvg.append(f"stroke none fill '{INK}' font-size 13 text {x0 + 6 * ppi + 20},{y0 + 2} 'INCHES'")
    shots = [(-0.63, -0.27), (-0.22, 0.33), (-0.90, 0.08), (-0.42, -0.68), (0.08, -0.15),
             (-0.75, -0.52), (-0.30, 0.60), (-0.52, 0.15), (0.18, 0.22), (-1.05, -0.38)]
    for x, y in shots:
        px, py = cx + x * ppi, cy - y * ppi
        hole(mvg, px, py, 0.15 * ppi, (x * x + y * y) ** 0.5 < 1.0, rng)
    render("target2.jpg", (w, h), mvg, -0.6, quality=85)
    return "target2.jpg", "Inches", "1 inch on the ruler (0 to 1), or 6 inches (0 to 6)", shots


def cm_target(rng):
    """BMP: 18 x 18 cm target on a centimetre grid, 30 pixels per centimetre."""
    ppc, w, h = 30, 540, 540
    cx, cy = 270, 270
    mvg = ["stroke '#b9cfa0' stroke-width 1 fill none"]
    for i in range(0, w + 1, ppc):
        mvg.append(f"line {i},0 {i},{h}")
        mvg.append(f"line 0,{i} {w},{i}")
    mvg.append(f"stroke '#5d7f3c' stroke-width 2 line {cx},0 {cx},{h} line 0,{cy} {w},{cy}")
    for ring in (6, 4, 2):
        mvg.append(f"stroke '{INK}' stroke-width 2 fill none circle {cx},{cy} {cx + ring * ppc},{cy}")
    mvg.append(f"stroke none fill '{INK}' font-size 15 text 10,22 'GRID 1 CM'")
    shots = [(1.7, -1.1), (2.8, -0.4), (2.2, -2.1), (1.2, -1.5), (3.4, -1.7), (2.0, -0.3), (2.7, -1.3)]
    for x, y in shots:
        px, py = cx + x * ppc, cy - y * ppc
        hole(mvg, px, py, 0.28 * ppc, False, rng)
    render("target3.bmp", (w, h), mvg, 0.3, extra=["-type", "Palette", "-colors", "128", "-compress", "None"], prefix="BMP3:")
    return "target3.bmp", "Centimeters", "one grid square (1 cm)", shots


def main():
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(20)
    for make in (grid_target, ruler_target, cm_target):
        name, unit, cal, shots = make(rng)
        print(f"{name}: unit {unit}, calibrate on {cal}")
        print("  shots: " + " ".join(f"{x:g},{y:g}" for x, y in shots))


if __name__ == "__main__":
    main()
