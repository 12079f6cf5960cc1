#!/usr/bin/env python3
"""Checks that the Windows build's icon is the program's own, as the Linux build draws it.

usage: check_icon.py <hoplin.ico> <icons prefix>

app/windows/hoplin.ico is kept in the sources, since the Windows build cannot run the tool
that draws the icons; each of its images must have exactly the pixels of <prefix>-<size>.png,
which hoplin-icons draws from the program's icon, and it must hold the sizes Windows shows.
"""

import sys

from PIL import Image

SIZES = (16, 32, 48, 256)


def images(path):
    """{size: RGBA image} of every image in the .ico file."""
    found = {}
    with Image.open(path) as ico:
        for size in ico.info.get("sizes", ()):
            ico.size = size
            found[size[0]] = ico.convert("RGBA").copy()
    return found


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    found = images(argv[1])
    problems = []
    for size in SIZES:
        if size not in found:
            problems.append(f"no {size}x{size} image")
            continue
        with Image.open(f"{argv[2]}-{size}.png") as drawn:
            if list(found[size].getdata()) != list(drawn.convert("RGBA").getdata()):
                problems.append(f"the {size}x{size} image differs from {argv[2]}-{size}.png")
    for problem in problems:
        print(f"{argv[1]}: {problem}", file=sys.stderr)
    if not problems:
        print(f"{argv[1]} holds the program's icon at {', '.join(map(str, SIZES))} pixels")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
