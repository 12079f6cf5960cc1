#!/usr/bin/env python3
"""Makes the Wine prefix that the Windows tests run Hoplin.exe in.

usage: wine_prefix.py <prefix folder> <stamp file>

A prefix of the build's own, so that nothing of the user's Wine takes part, with:
  - the Japanese faces that the game names ("ＭＳ Ｐゴシック", "ＭＳ ゴシック", and Windows'
    "MS UI Gothic") replaced by Debian's IPA fonts, as Wine has no Japanese faces of its own;
  - Wine's Marlett, which draws the title bars' buttons, registered from fonts-wine;
  - no debugger for crashes (AeDebug's Debugger empty), so that a crash ends the program
    instead of waiting in winedbg.
The stamp is written last, once the prefix is whole.
"""

import os
import subprocess
import sys
import tempfile

REGISTRY = """Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAPGothic"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]
"Marlett (TrueType)"="Z:\\\\usr\\\\share\\\\wine\\\\fonts\\\\marlett.ttf"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]
"Debugger"=""
"Auto"="0"
"""


def wine_environment(prefix):
    environment = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
    # No window of Wine's own (its first-run dialogs) is wanted, wherever the build runs.
    environment.pop("DISPLAY", None)
    environment.pop("WAYLAND_DISPLAY", None)
    return environment


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    prefix, stamp = os.path.abspath(argv[1]), argv[2]
    environment = wine_environment(prefix)
    subprocess.run(["wineboot", "--init"], env=environment, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # regedit reads UTF-16 with a byte-order mark, and Windows' line ends.
    with tempfile.NamedTemporaryFile(suffix=".reg", delete=False) as reg:
        text = REGISTRY.replace("\n", "\r\n")
        reg.write(b"\xff\xfe" + text.encode("utf-16-le"))
    try:
        subprocess.run(["wine", "regedit", "/S", "Z:" + reg.name.replace("/", "\\")],
                       env=environment, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        os.unlink(reg.name)
    subprocess.run(["wineserver", "--wait"], env=environment, check=True)
    with open(stamp, "w", encoding="utf-8") as done:
        done.write(prefix + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
