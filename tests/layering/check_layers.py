#!/usr/bin/env python3
"""Checks that SDL, X11 and the font libraries stay behind the platform's backend.

usage: check_layers.py <source folder>

Fails, naming each offending include or link, when
  - a file of platform/base/, platform/gdi/ or platform/window/ includes an SDL, X11,
    fontconfig or FreeType header;
  - platform/gdi/ names SDL, SDL_ttf or fontconfig anywhere, or its build links them: it
    draws on pixels of its own, and text comes through the rasteriser a backend installs;
  - a file outside platform/win32/ includes a header of Windows';
  - a header that the game's code (model/, render/, worker/, app/) includes, directly or
    through other headers of the project, includes an SDL or X11 header.
"""

import os
import re
import sys

SCREEN_HEADER = re.compile(
    r'^\s*#\s*include\s*[<"](SDL[^>"]*|X11/[^>"]*|fontconfig/[^>"]*|ft2build\.h)[>"]')
WINDOWS_HEADER = re.compile(
    r'^\s*#\s*include\s*<(windows|windowsx|mmsystem|shellapi|winver|commctrl)\.h>', re.IGNORECASE)
WINDOWS_BACKEND = "platform/win32"
BACKEND_LIBRARY = re.compile(r"\b(SDL2::\S+|SDL2_ttf::\S+|Fontconfig::\S+)")
PROJECT_HEADER = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SCREEN_FREE_FOLDERS = ("platform/base", "platform/gdi", "platform/window")
OWN_PIXELS_FOLDER = "platform/gdi"
OWN_PIXELS_BUILD = "platform/gdi/CMakeLists.txt"
BACKEND_NAME = re.compile(r"SDL|TTF_|Fc[A-Z]")
GAME_FOLDERS = ("model", "render", "worker", "app")
SOURCE_ENDINGS = (".h", ".cpp", ".in")


def includes(path, pattern):
    """(line number, what) of each include of path that pattern matches."""
    with open(path, encoding="utf-8") as source:
        return [(n, m.group(1)) for n, line in enumerate(source, 1) if (m := pattern.match(line))]


def files_under(root, folder):
    for where, _, names in os.walk(os.path.join(root, folder)):
        for name in sorted(names):
            if name.endswith(SOURCE_ENDINGS):
                yield os.path.relpath(os.path.join(where, name), root)


def project_headers(root, path):
    """The project's headers that path includes: those that exist under root."""
    found = []
    for _, header in includes(os.path.join(root, path), PROJECT_HEADER):
        if os.path.exists(os.path.join(root, header)):
            found.append(header)
    return found


def problems(root):
    found = []
    for folder in SCREEN_FREE_FOLDERS:
        for path in files_under(root, folder):
            for n, header in includes(os.path.join(root, path), SCREEN_HEADER):
                found.append(f"{path}:{n}: {folder}/ includes <{header}>")
    for folder in ("model", "render", "worker", "app", "platform", "tests", "bench"):
        for path in files_under(root, folder):
            if path.startswith((WINDOWS_BACKEND + "/", "tests/windows/")):
                continue
            for n, header in includes(os.path.join(root, path), WINDOWS_HEADER):
                found.append(f"{path}:{n}: includes <{header}.h> outside {WINDOWS_BACKEND}/")
    for path in files_under(root, OWN_PIXELS_FOLDER):
        with open(os.path.join(root, path), encoding="utf-8") as source:
            for n, line in enumerate(source, 1):
                if BACKEND_NAME.search(line):
                    found.append(f"{path}:{n}: names a backend's library: {line.strip()}")
    with open(os.path.join(root, OWN_PIXELS_BUILD), encoding="utf-8") as build:
        for n, line in enumerate(build, 1):
            for library in BACKEND_LIBRARY.findall(line):
                found.append(f"{OWN_PIXELS_BUILD}:{n}: links {library}")
    # Every header the game's code reaches, with the chain that reaches it.
    reached = {}
    pending = []
    for folder in GAME_FOLDERS:
        for path in files_under(root, folder):
            pending.append((path, [path]))
    while pending:
        path, chain = pending.pop()
        for header in project_headers(root, path):
            if header not in reached:
                reached[header] = chain + [header]
                pending.append((header, chain + [header]))
    for header, chain in sorted(reached.items()):
        for n, screen in includes(os.path.join(root, header), SCREEN_HEADER):
            found.append(f"{header}:{n}: includes <{screen}>, and the game's code reaches it: "
                         + " -> ".join(chain))
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    found = problems(os.path.abspath(argv[1]))
    for line in found:
        print(line, file=sys.stderr)
    if found:
        print(f"{len(found)} include(s) or link(s) let a backend's library above it",
              file=sys.stderr)
        return 1
    print("SDL, X11, Windows and the font libraries stay behind the backends")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
