#!/usr/bin/env python3
"""Renders the program's icons from its drawing,
data/icons/org.lmkinterface.lmkinterface.svg: the installed PNGs of 48 and
256 pixels (data/icons/) and the window's own 32 x 32 icon
(src/app/icons/lmk.png). Run it again after the drawing changed; the
results are kept in the repository, so a build needs no renderer.
Needs rsvg-convert (scripts/install-deps.sh installs it).

Usage: scripts/make-icons.py
"""
import os
import shutil
import subprocess
import sys

NAME = "org.lmkinterface.lmkinterface"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SVG = os.path.join(ROOT, "data", "icons", NAME + ".svg")
OUTPUTS = [
    (48, os.path.join(ROOT, "data", "icons", f"{NAME}-48.png")),
    (256, os.path.join(ROOT, "data", "icons", f"{NAME}-256.png")),
    (32, os.path.join(ROOT, "src", "app", "icons", "lmk.png")),
]


def main():
    if shutil.which("rsvg-convert") is None:
        sys.exit("make-icons.py: rsvg-convert is missing (scripts/install-deps.sh installs it)")
    for size, path in OUTPUTS:
        subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                        "--keep-aspect-ratio", "--output", path, SVG], check=True)
        print(f"{path}: {size} x {size}")


if __name__ == "__main__":
    main()
