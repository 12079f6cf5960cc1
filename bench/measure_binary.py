#!/usr/bin/env python3
"""Measures the real hoplin binary under its own Xvfb, for its section of bench/README.md.

measure_report.py renders the results as that section and writes it.

Usage: PYTHONPATH=tests/e2e /usr/bin/python3 bench/measure_binary.py PATH/TO/hoplin [--runs N] ...

It uses the e2e tests' helper package, hoplin_e2e (PYTHONPATH above): Xvfb and weston start
as the tests start them, through hoplin_e2e.desktop, X is driven in-process through
hoplin_e2e.xscreen, and the game runs in an environment of its own from there, away from the
caller's desktop and settings. The game is started with
HOPLIN_TRACE_FRAMES=1, so it writes "hoplin-trace: frame <seconds> <microseconds>" on stderr
for every frame it puts on the screen: its time (CLOCK_MONOTONIC, the clock of
time.monotonic()), and the UI thread's CPU time for the message-loop pass that painted it.

What is measured:
  * start-up: time.monotonic() just before Popen to the first traced frame, per launch;
  * CPU on the idle title screen, from utime + stime in /proc/<pid>/stat (clock ticks), with
    the nanosecond run times in /proc/<pid>/task/*/schedstat as a finer cross-check;
  * CPU during runs (Start click until the title screen is painted again);
  * the tick period, from the traced frames of each run, and the UI thread's CPU per tick
    frame, from the traced passes;
  * peak RSS (VmHWM) just before exit, and that a click on Exit ends the program with 0;
  * RSS as a Wayland client of weston (its X11 backend on the same Xvfb), on the idle title
    screen, when weston is installed.
"""

import argparse
import datetime
import json
import os
import platform
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

import measure_report
from compare_startup import cpu_ticks, proc_kb
from hoplin_e2e import desktop, screens
from hoplin_e2e.xscreen import XScreen

TRACE_RE = re.compile(rb"^hoplin-trace: frame (\d+(?:\.\d+)?)(?: (\d+(?:\.\d+)?))?\s*$")

CLK_TCK = os.sysconf("SC_CLK_TCK")

# Frames closer together than this belong to one event (a tick, the click repaint merged
# with the first tick, the last tick followed by the outcome repaint). Ticks are 300 ms apart.
CLUSTER_GAP_S = 0.100
# A gap this long between two frames of a run is the outcome pause (2 s) before the title.
TITLE_GAP_S = 1.0
FIRST_FRAME_TIMEOUT_S = 15.0
EXIT_TIMEOUT_S = 10.0
# Where the pointer waits while nothing is clicked: on the screen, off the game's window.
POINTER_AWAY = (1200, 1000)
# Between one launch's first frame and its Exit click, and after it.
LAUNCH_PAUSE_S = 0.5
# On Start before the click.
HOVER_S = 0.3
# After a run, before the next click.
RUN_PAUSE_S = 1.5

# The paint benchmark's floor: memset and memcpy of the board's rows at 96 DPI.
FLOOR_BENCHMARK = "BM_Floor/96"
FLOOR_REPETITIONS = 5


def log(msg):
    print(f"[measure] {msg}", file=sys.stderr, flush=True)


class Game:
    """One hoplin process with its stderr trace collected on a thread."""

    def __init__(self, binary, env, screen=None):
        """env: the environment of a hoplin_e2e.desktop session, with DISPLAY or
        WAYLAND_DISPLAY; screen: the XScreen of its X server, to find and click the window."""
        self.env = dict(env, HOPLIN_TRACE_FRAMES="1")
        self.frames = []
        # The UI thread's CPU time (us) of the message-loop pass that painted each frame.
        self.frame_cpu_us = {}
        self.other_lines = []
        self.cond = threading.Condition()
        self.t_launch = time.monotonic()
        self.proc = subprocess.Popen([binary], env=self.env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.pid = self.proc.pid
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.screen = screen
        self.origin = None

    def _read(self):
        for line in self.proc.stderr:
            m = TRACE_RE.match(line)
            with self.cond:
                if m:
                    self.frames.append(float(m.group(1)))
                    if m.group(2) is not None:
                        self.frame_cpu_us[float(m.group(1))] = float(m.group(2))
                else:
                    self.other_lines.append(line.decode(errors="replace").rstrip())
                self.cond.notify_all()
        with self.cond:
            self.cond.notify_all()

    def frame_count(self):
        with self.cond:
            return len(self.frames)

    def frames_copy(self):
        with self.cond:
            return list(self.frames)

    def wait_for(self, predicate, timeout):
        """Waits until predicate(frames) is true; returns its value or None on timeout."""
        deadline = time.monotonic() + timeout
        with self.cond:
            while True:
                value = predicate(self.frames)
                if value:
                    return value
                left = deadline - time.monotonic()
                if left <= 0 or (self.proc.poll() is not None and not self.reader.is_alive()):
                    return None
                self.cond.wait(min(left, 0.005))

    def cpu_ticks(self):
        return cpu_ticks(self.pid)

    def sched_ns(self):
        """On-CPU nanoseconds summed over the live threads (exited threads are not included)."""
        total = 0
        task_dir = f"/proc/{self.pid}/task"
        for tid in os.listdir(task_dir):
            try:
                with open(f"{task_dir}/{tid}/schedstat") as f:
                    total += int(f.read().split()[0])
            except (FileNotFoundError, ProcessLookupError):
                pass
        return total

    def rollup_kb(self, key):
        """A sum over all mappings from /proc/<pid>/smaps_rollup, such as Pss."""
        return proc_kb(self.pid, "smaps_rollup", key)

    def ui_sched_ns(self):
        """On-CPU nanoseconds of the UI thread, the process's first."""
        with open(f"/proc/{self.pid}/task/{self.pid}/schedstat") as f:
            return int(f.read().split()[0])

    def status_kb(self, key):
        return proc_kb(self.pid, "status", key)

    def find_window(self):
        """The main window's client size, once it is on the screen."""
        window = desktop.wait_until(
            "the game's window",
            lambda: next((w for w, name in self.screen.windows_of(self.pid).items()
                          if name == screens.MAIN_CAPTION), None),
            FIRST_FRAME_TIMEOUT_S, self.proc)
        self.origin, size = self.screen.geometry(window)
        return size

    def move(self, point):
        """Moves the pointer to point in the window's client coordinates."""
        self.screen.move((self.origin[0] + point[0], self.origin[1] + point[1]))

    def click(self):
        self.screen.click()

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def report_stderr(self, rc, results):
        """Logs and keeps the game's non-trace stderr lines when it did not exit with 0."""
        if rc == 0:
            return
        self.reader.join(2)
        with self.cond:
            lines = list(self.other_lines)
        for line in lines:
            log(f"  game stderr: {line}")
        results.setdefault("exit_errors", []).append({"status": rc, "stderr": lines})

    def exit_by_click(self, exit_pt, results, label):
        """Clicks Exit and records the exit status; a game that does not end is killed."""
        self.move(exit_pt)
        self.click()
        rc = self.wait_exit(EXIT_TIMEOUT_S)
        results["exit_codes"].append(rc)
        log(f"{label}: exit status {rc}")
        self.report_stderr(rc, results)
        if rc is None:
            desktop.stop(self.proc)


def measure_wayland(binary, x_env, screen, folder, log_file, settle, extra_env):
    """RSS of the game as a Wayland client of weston on x_env's X server, on its idle title
    screen; None when weston is not installed."""
    if shutil.which("weston") is None:
        log("no weston: the Wayland measurement is left out")
        return None
    weston, wayland_env, output = desktop.start_weston(x_env, folder, log_file, screen)
    game = None
    try:
        game = Game(binary, dict(wayland_env, **extra_env))
        first = game.wait_for(lambda fr: fr[0] if fr else None, FIRST_FRAME_TIMEOUT_S)
        if first is None:
            raise RuntimeError(f"no Wayland frame within {FIRST_FRAME_TIMEOUT_S} s; "
                               f"stderr: {game.other_lines}")
        time.sleep(settle)
        result = {"launch_ms": (first - game.t_launch) * 1000,
                  "vmhwm_kb": game.status_kb("VmHWM"), "vmrss_kb": game.status_kb("VmRSS"),
                  "pss_kb": game.rollup_kb("Pss"), "output_size": output[1]}
        game.proc.terminate()
        result["sigterm_status"] = game.wait_exit(EXIT_TIMEOUT_S)
        log(f"Wayland: {result}")
        return result
    finally:
        if game is not None:
            desktop.stop(game.proc)
        desktop.stop(weston)


def measure_floor(bench):
    """The paint benchmark's floor in microseconds (the mean of its repetitions), or None
    when the benchmark is not built."""
    if not os.access(bench, os.X_OK):
        log(f"no {bench}: the floor is left out")
        return None
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(
            [bench, f"--benchmark_filter=^{FLOOR_BENCHMARK}$",
             f"--benchmark_repetitions={FLOOR_REPETITIONS}", f"--benchmark_out={out.name}",
             "--benchmark_out_format=json"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)
        report = json.load(out)
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") == "mean":
            return entry["real_time"]
    return None


def first_title_return(t_click):
    """Predicate: the first frame after a TITLE_GAP_S pause in the frames after t_click."""
    def predicate(frames):
        after = [f for f in frames if f > t_click]
        for a, b in zip(after, after[1:]):
            if b - a > TITLE_GAP_S:
                return b
        return None
    return predicate


def analyse_run(frames, t_click, t_title):
    """Tick times of one run: the traced frames between the click and the title frame.

    Frames within CLUSTER_GAP_S of each other are one event. The first event is the click's
    whole-window repaint together with the first tick: either one merged frame (the worker's
    board invalidation arrived before the UI thread painted) or two frames a few ms apart, of
    which the later one is the first tick. The last event is the last tick, possibly followed
    by a separate repaint of the outcome text; its first frame is the tick.
    """
    run = [f for f in frames if t_click < f < t_title]
    clusters = []
    for f in run:
        if clusters and f - clusters[-1][-1] < CLUSTER_GAP_S:
            clusters[-1].append(f)
        else:
            clusters.append([f])
    ticks = []
    for i, c in enumerate(clusters):
        ticks.append(c[-1] if i == 0 else c[0])
    info = {
        "frames": len(run),
        "ticks": len(ticks),
        "click_separate": len(clusters[0]) > 1 if clusters else False,
        "outcome_separate": len(clusters[-1]) > 1 if len(clusters) > 1 else False,
        "odd_clusters": sum(1 for c in clusters[1:-1] if len(c) != 1),
        "click_to_first_frame_ms": (run[0] - t_click) * 1000 if run else None,
    }
    periods = [(b - a) * 1000 for a, b in zip(ticks, ticks[1:])]
    info["tick_frames"] = ticks[1:]
    return periods, info


def machine_info():
    info = {"cores": os.cpu_count(), "clock_ticks_per_s": CLK_TCK}
    try:
        with open("/etc/debian_version") as f:
            info["debian"] = f.read().strip()
    except OSError:
        info["debian"] = None
    info["kernel"] = platform.release()
    model = None
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    info["cpu"] = model
    try:
        r = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "xvfb"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=10)
        info["xvfb"] = r.stdout.strip() if r.returncode == 0 and r.stdout.strip() else None
    except (OSError, subprocess.TimeoutExpired):
        info["xvfb"] = None
    return info


def measure(args, folder, desktop_log):
    """Measures in folder, where the desktop's parts log to desktop_log."""
    screen_width, screen_height = desktop.SCREEN_SIZE
    results = {"launch_ms": [], "exit_codes": [], "machine": machine_info(),
               "load_before": os.getloadavg(),
               "screen": f"{screen_width}x{screen_height}x{desktop.SCREEN_DEPTH}",
               "cluster_gap_s": CLUSTER_GAP_S, "floor_benchmark": FLOOR_BENCHMARK,
               "floor_repetitions": FLOOR_REPETITIONS}
    xvfb = None
    game = None
    try:
        xvfb, env = desktop.start_xvfb(desktop.own_environment(folder), desktop_log)
        screen = XScreen(env["DISPLAY"])
        results["display"] = env["DISPLAY"]
        log(f"Xvfb on {env['DISPLAY']}")
        game_env = dict(env, **args.extra_env)

        # Launches: the last one stays up for the title, run and RSS measurements.
        for i in range(args.launches):
            game = Game(args.binary, game_env, screen)
            first = game.wait_for(lambda fr: fr[0] if fr else None, FIRST_FRAME_TIMEOUT_S)
            if first is None:
                raise RuntimeError(f"no frame traced within {FIRST_FRAME_TIMEOUT_S} s; "
                                   f"stderr: {game.other_lines}")
            launch_ms = (first - game.t_launch) * 1000
            results["launch_ms"].append(launch_ms)
            width, height = game.find_window()
            log(f"launch {i + 1}: first frame after {launch_ms:.1f} ms, client {width}x{height}")
            layout = screens.Layout(width, height)
            start_pt = screens.centre(layout.start)
            exit_pt = screens.centre(layout.exit)
            results.update(client=(width, height), base=(layout.base_x, layout.base_y),
                           start_pt=start_pt, exit_pt=exit_pt)
            if i < args.launches - 1:
                time.sleep(LAUNCH_PAUSE_S)
                game.exit_by_click(exit_pt, results, f"launch {i + 1}")
                game = None
                time.sleep(LAUNCH_PAUSE_S)

        log(f"base units {layout.base_x}x{layout.base_y}, Start at {start_pt}, Exit at {exit_pt}")

        # Idle title screen. The pointer is parked outside the window first.
        screen.move(POINTER_AWAY)
        time.sleep(args.settle)
        n_frames0 = game.frame_count()
        ticks0, ns0, t0 = game.cpu_ticks(), game.sched_ns(), time.monotonic()
        ui0 = game.ui_sched_ns()
        time.sleep(args.title_seconds)
        ticks1, ns1, t1 = game.cpu_ticks(), game.sched_ns(), time.monotonic()
        ui1 = game.ui_sched_ns()
        wall = t1 - t0
        results["title"] = {
            "seconds": wall,
            "ticks": ticks1 - ticks0,
            "pct": (ticks1 - ticks0) / CLK_TCK / wall * 100,
            "sched_pct": (ns1 - ns0) / 1e9 / wall * 100,
            "ui_ns_per_s": (ui1 - ui0) / wall,
            "frames": game.frame_count() - n_frames0,
        }
        log(f"title: {results['title']}")

        # Runs.
        results["runs"] = []
        periods_all = []
        run_frames = []
        for r in range(args.runs):
            game.move(start_pt)
            time.sleep(HOVER_S)
            ticks0 = game.cpu_ticks()
            ui0 = game.ui_sched_ns()
            t_click = time.monotonic()
            game.click()
            t_title = game.wait_for(first_title_return(t_click), args.run_timeout)
            if t_title is None:
                raise RuntimeError(f"run {r + 1}: title screen did not come back")
            ticks1 = game.cpu_ticks()
            ui1 = game.ui_sched_ns()
            t_end = time.monotonic()
            frames = game.frames_copy()
            periods, info = analyse_run(frames, t_click, t_title)
            info["tick_cpu_us"] = [game.frame_cpu_us[t] for t in info.pop("tick_frames")
                                   if t in game.frame_cpu_us]
            run_frames.append({"click": t_click, "title": t_title,
                               "frames": [f for f in frames if t_click < f <= t_title],
                               "periods_ms": periods})
            info["cpu_pct"] = (ticks1 - ticks0) / CLK_TCK / (t_end - t_click) * 100
            info["cpu_ticks"] = ticks1 - ticks0
            info["seconds"] = t_end - t_click
            info["ui_ns"] = ui1 - ui0
            results["runs"].append(info)
            periods_all.extend(periods)
            log(f"run {r + 1}: {info}, periods "
                f"{min(periods):.2f}..{max(periods):.2f} ms" if periods else f"run {r + 1}: {info}")
            # Out of the window, and long enough for the worker to end before the next click.
            screen.move(POINTER_AWAY)
            time.sleep(RUN_PAUSE_S)
        results["periods"] = periods_all
        results["run_frames"] = run_frames

        results["vmhwm_kb"] = game.status_kb("VmHWM")
        results["vmrss_kb"] = game.status_kb("VmRSS")
        log(f"VmHWM {results['vmhwm_kb']} kB")
        game.exit_by_click(exit_pt, results, "final")
        game = None
        results["wayland"] = measure_wayland(args.binary, env, screen, folder, desktop_log,
                                             args.settle, args.extra_env)
        results["floor_us"] = measure_floor(args.bench)
        results["load_after"] = os.getloadavg()
        return results
    except AssertionError:
        # The log goes with the folder; what the desktop's parts said is shown now.
        desktop_log.seek(0)
        log(f"the desktop's log:\n{desktop_log.read().decode(errors='replace')}")
        raise
    finally:
        if game is not None:
            desktop.stop(game.proc)
        if xvfb is not None:
            desktop.stop(xvfb)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("binary", help="path to the hoplin executable")
    ap.add_argument("--runs", type=int, default=5, help="games to play (default 5)")
    ap.add_argument("--launches", type=int, default=5, help="launches timed (default 5)")
    ap.add_argument("--title-seconds", type=float, default=20.0,
                    help="length of the idle title measurement (default 20)")
    ap.add_argument("--settle", type=float, default=2.0,
                    help="seconds to wait on the title screen before measuring (default 2)")
    ap.add_argument("--run-timeout", type=float, default=120.0)
    ap.add_argument("--bench", help="the paint benchmark, for the floor (default: "
                    "bench/hoplin_paint_bench in the game's build folder)")
    ap.add_argument("--env", action="append", default=[], metavar="NAME=VALUE",
                    help="extra environment variable for the game (for comparisons)")
    ap.add_argument("--json", metavar="PATH", help="also write the raw measurements as JSON")
    measure_report.add_arguments(ap)
    args = ap.parse_args()
    if args.launches < 1 or args.runs < 1:
        ap.error("--launches and --runs must be at least 1")
    binary = os.path.abspath(args.binary)
    if args.bench is None:
        args.bench = os.path.join(os.path.dirname(os.path.dirname(binary)), "bench",
                                  "hoplin_paint_bench")
    if not os.access(binary, os.X_OK):
        ap.error(f"{args.binary} is not an executable")

    extra_env = {}
    for item in args.env:
        name, sep, value = item.partition("=")
        if not sep or not name:
            ap.error(f"--env takes NAME=VALUE, not {item!r}")
        extra_env[name] = value
    with tempfile.TemporaryDirectory(prefix="hoplin-measure-") as folder, \
            open(os.path.join(folder, "desktop.log"), "w+b") as desktop_log:
        res = measure(argparse.Namespace(**{**vars(args), "binary": binary,
                                            "extra_env": extra_env}), folder, desktop_log)
    res["settle"] = args.settle
    res["extra_env"] = extra_env
    res["date"] = datetime.date.today().isoformat()
    res["binary_shown"] = args.binary
    if args.json:
        with open(args.json, "w") as f:
            json.dump(res, f, indent=1)
    if not res["periods"]:
        raise RuntimeError("no tick periods measured")
    measure_report.publish(res, args)
    failed = [c for c in res["exit_codes"] if c != 0]
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
