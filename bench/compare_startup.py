#!/usr/bin/env python3
"""Compares programs that show the game's title, launched alternately on one Xvfb of their own:
the time from exec to the first red pixel of the title, seen by a probe outside the program
(an X client that reads the screen); RSS and PSS a while after the start; and CPU and wake-ups
while the title screen stands idle. Prints a Markdown table of medians, with each program's
ratio to the first one.

usage: PYTHONPATH=tests/e2e /usr/bin/python3 bench/compare_startup.py \\
           [--runs 15] [--settle 1.5] [--idle 5] [--accessibility] NAME=PATH[,VAR=VALUE...] ...

Each program runs in the environment that the e2e tests give the game (hoplin_e2e.desktop),
with its VAR=VALUE settings on top. Its window must open centred on the screen. With
--accessibility the programs run on a session bus of their own whose accessibility bus is
on, as on a desktop with a screen reader.
"""

import argparse
import os
import statistics
import subprocess
import tempfile
import time

from hoplin_e2e import desktop
from hoplin_e2e.xscreen import XScreen

# The title's red (204, 0, 0) as the X server hands out 24-bit pixels: B, G, R, pad.
TITLE_RED = bytes((0, 0, 204))
# Where the probe looks: the middle of the screen, where a centred window's title stands.
PROBE_SIZE = (640, 480)
FIRST_FRAME_TIMEOUT = 10.0
CLK_TCK = os.sysconf("SC_CLK_TCK")


def parse_program(text):
    name, _, rest = text.partition("=")
    path, *settings = rest.split(",")
    return name, os.path.abspath(path), dict(s.split("=", 1) for s in settings)


def shows_red(screen, region):
    data = screen.root.get_image(*region[0], *region[1], 2, 0xFFFFFFFF).data  # ZPixmap
    at = data.find(TITLE_RED)
    while at >= 0:
        if at % 4 == 0:
            return True
        at = data.find(TITLE_RED, at + 1)
    return False


def proc_kb(pid, name, key):
    """The kB value of the line "key:" in /proc/<pid>/<name>, or None."""
    with open(f"/proc/{pid}/{name}") as info:
        for line in info:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return None


def cpu_ticks(pid):
    """utime + stime in clock ticks: fields 14 and 15 of /proc/<pid>/stat, after the comm."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def switches(pid):
    """Context switches of every thread: each wake-up of a thread that slept is one."""
    total = 0
    for thread in os.listdir(f"/proc/{pid}/task"):
        try:
            for key in ("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches"):
                total += proc_kb(f"{pid}/task/{thread}", "status", key) or 0
        except FileNotFoundError:
            pass
    return total


def measure_once(path, env, screen, args):
    width, height = desktop.SCREEN_SIZE
    region = (((width - PROBE_SIZE[0]) // 2, (height - PROBE_SIZE[1]) // 2), PROBE_SIZE)
    began = time.monotonic()
    proc = subprocess.Popen([path], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        while not shows_red(screen, region):
            if proc.poll() is not None or time.monotonic() - began > FIRST_FRAME_TIMEOUT:
                raise AssertionError(f"{path} showed no title (status {proc.poll()})")
        first_ms = (time.monotonic() - began) * 1000
        time.sleep(max(0.0, began + args.settle - time.monotonic()))
        result = {"first_ms": first_ms, "rss_kb": proc_kb(proc.pid, "status", "VmRSS"),
                  "pss_kb": proc_kb(proc.pid, "smaps_rollup", "Pss")}
        ticks, woken = cpu_ticks(proc.pid), switches(proc.pid)
        time.sleep(args.idle)
        result["idle_cpu_pct"] = (cpu_ticks(proc.pid) - ticks) / CLK_TCK / args.idle * 100
        result["wakeups_per_s"] = (switches(proc.pid) - woken) / args.idle
        return result
    finally:
        desktop.stop(proc)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("programs", nargs="+", metavar="NAME=PATH[,VAR=VALUE...]")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--settle", type=float, default=1.5,
                        help="seconds from exec to reading RSS and PSS (default 1.5)")
    parser.add_argument("--idle", type=float, default=5.0,
                        help="seconds of idle title screen measured for CPU (default 5)")
    parser.add_argument("--accessibility", action="store_true",
                        help="run on a session bus with the accessibility bus on")
    args = parser.parse_args()
    programs = [parse_program(p) for p in args.programs]
    results = {name: [] for name, _, _ in programs}
    with tempfile.TemporaryDirectory(prefix="hoplin-compare-") as folder, \
            open(os.path.join(folder, "desktop.log"), "wb") as log:
        xvfb, env = desktop.start_xvfb(desktop.own_environment(folder), log)
        screen = XScreen(env["DISPLAY"])
        buses = []
        if args.accessibility:
            bus, env = desktop.start_session_bus(env, folder, log)
            buses = [bus, desktop.start_accessibility_bus(env, log)]
        try:
            for run in range(args.runs):
                for name, path, settings in programs:
                    results[name].append(measure_once(path, dict(env, **settings), screen, args))
                print(f"run {run + 1} of {args.runs} done", flush=True)
        finally:
            screen.close()
            for proc in reversed(buses):
                desktop.stop(proc)
            desktop.stop(xvfb)
    rows = [("first frame (ms)", "first_ms", "{:.1f}"), ("RSS (MB)", "rss_kb", "{:.1f}"),
            ("PSS (MB)", "pss_kb", "{:.1f}"), ("idle CPU (% of a core)", "idle_cpu_pct", "{:.2f}"),
            ("wake-ups per second", "wakeups_per_s", "{:.1f}")]
    names = [name for name, _, _ in programs]
    print(f"\n{args.runs} runs of each, alternating; medians\n")
    print("| | " + " | ".join(names) + " |" + "".join(f" {n} / {names[0]} |" for n in names[1:]))
    print("|---" * (1 + 2 * len(names) - 1) + "|")
    for label, key, form in rows:
        scale = 1 / 1024 if key.endswith("_kb") else 1
        medians = [statistics.median(r[key] for r in results[n]) * scale for n in names]
        ratios = [f" {m / medians[0]:.2f}x |" if medians[0] else " - |" for m in medians[1:]]
        print(f"| {label} | " + " | ".join(form.format(m) for m in medians) + " |"
              + "".join(ratios))


if __name__ == "__main__":
    main()
