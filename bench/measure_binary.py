#!/usr/bin/env python3
"""Measures the real hoplin binary under its own Xvfb and writes the results to bench/README.md.

Usage: python3 bench/measure_binary.py PATH/TO/hoplin [--runs N] [--launches N] ...

Standard library only. Needs Xvfb and xdotool on PATH. The game is started with
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
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SECTION_HEADING = "## hoplin under Xvfb (measure_binary.py)"
TRACE_RE = re.compile(rb"^hoplin-trace: frame (\d+(?:\.\d+)?)(?: (\d+(?:\.\d+)?))?\s*$")

# Dialog layout in dialog units: the dialog, then (x, y, cx, cy) of the two title buttons.
DIALOG_UNITS = (271, 163)
START_BUTTON = (62, 99, 50, 21)
EXIT_BUTTON = (138, 99, 50, 21)

FIRST_DISPLAY = 130
WESTON_SOCKET = "hoplin-measure"
WESTON_OUTPUT = ("--width=800", "--height=600")
CLK_TCK = os.sysconf("SC_CLK_TCK")

# Frames closer together than this belong to one event (a tick, the click repaint merged
# with the first tick, the last tick followed by the outcome repaint). Ticks are 300 ms apart.
CLUSTER_GAP_S = 0.100
# A gap this long between two frames of a run is the outcome pause (2 s) before the title.
TITLE_GAP_S = 1.0

TARGET_TITLE_CPU_PCT = 0.2
TARGET_STARTUP_MS = 150.0
TARGET_TICK_MS = 300.0
TARGET_TICK_P99_TOLERANCE_MS = 2.0
TARGET_RSS_MB = 40.0
TARGET_FRAME_TO_FLOOR = 10.0
# The paint benchmark's floor: memset and memcpy of the board's rows at 96 DPI.
FLOOR_BENCHMARK = "BM_Floor/96"
FLOOR_REPETITIONS = 5


def log(msg):
    print(f"[measure] {msg}", file=sys.stderr, flush=True)


def muldiv(a, b, c):
    """Windows' MulDiv: a * b / c rounded half away from zero."""
    n = a * b
    q, r = divmod(abs(n), abs(c))
    if 2 * r >= abs(c):
        q += 1
    return q if (n >= 0) == (c > 0) else -q


def derive_base(size, units, divisor):
    """The integer base unit b with MulDiv(units, b, divisor) == size, or None."""
    for b in range(1, 1000):
        if muldiv(units, b, divisor) == size:
            return b
    return None


def button_centre(rect, base_x, base_y):
    x, y, cx, cy = rect
    left = muldiv(x, base_x, 4)
    right = muldiv(x + cx, base_x, 4)
    top = muldiv(y, base_y, 8)
    bottom = muldiv(y + cy, base_y, 8)
    return (left + right) // 2, (top + bottom) // 2


def percentile(values, p):
    """Linear interpolation between closest ranks (numpy's default, 'inclusive')."""
    s = sorted(values)
    if len(s) == 1:
        return s[0]
    k = (len(s) - 1) * p / 100.0
    lo = int(k)
    hi = min(lo + 1, len(s) - 1)
    return s[lo] + (s[hi] - s[lo]) * (k - lo)


class Xvfb:
    """An Xvfb server of our own on the first free display from :130 up."""

    def __init__(self):
        self.proc = None
        self.display = None
        self.log = None

    def start(self):
        for n in range(FIRST_DISPLAY, FIRST_DISPLAY + 50):
            if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
                continue
            self.log = tempfile.TemporaryFile()
            proc = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline and proc.poll() is None:
                if os.path.exists(f"/tmp/.X11-unix/X{n}") and self._answers(n):
                    self.proc = proc
                    self.display = f":{n}"
                    return self.display
                time.sleep(0.05)
            # Lost a race for the display, or it never came up: try the next one.
            self._end(proc)
        raise RuntimeError("no free X display from :130 up")

    @staticmethod
    def _answers(n):
        env = dict(os.environ, DISPLAY=f":{n}")
        r = subprocess.run(["xdotool", "getdisplaygeometry"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5)
        return r.returncode == 0

    @staticmethod
    def _end(proc):
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()

    def stop(self):
        if self.proc is not None:
            self._end(self.proc)
            self.proc = None


class Game:
    """One hoplin process with its stderr trace collected on a thread."""

    def __init__(self, binary, display, extra_env=None):
        """display None: a Wayland client, with WAYLAND_DISPLAY in extra_env."""
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("SDL_VIDEODRIVER", None)
        env.pop("DISPLAY", None)
        env.update(extra_env or {})
        if display is not None:
            env["DISPLAY"] = display
        env["HOPLIN_TRACE_FRAMES"] = "1"
        self.env = env
        self.frames = []
        # The UI thread's CPU time (us) of the message-loop pass that painted each frame.
        self.frame_cpu_us = {}
        self.other_lines = []
        self.cond = threading.Condition()
        self.t_launch = time.monotonic()
        self.proc = subprocess.Popen([binary], env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.pid = self.proc.pid
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.window = None

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
        with open(f"/proc/{self.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        # After the comm field: state is fields[0]; utime and stime are fields 14 and 15.
        return int(fields[11]) + int(fields[12])

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

    def _proc_kb(self, name, key):
        """The kB value of the line "key:" in /proc/<pid>/<name>, or None."""
        with open(f"/proc/{self.pid}/{name}") as f:
            for line in f:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
        return None

    def rollup_kb(self, key):
        """A sum over all mappings from /proc/<pid>/smaps_rollup, such as Pss."""
        return self._proc_kb("smaps_rollup", key)

    def ui_sched_ns(self):
        """On-CPU nanoseconds of the UI thread, the process's first."""
        with open(f"/proc/{self.pid}/task/{self.pid}/schedstat") as f:
            return int(f.read().split()[0])

    def status_kb(self, key):
        return self._proc_kb("status", key)

    def xdotool(self, *args, timeout=15):
        r = subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, text=True, timeout=timeout)
        if r.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)} failed: {r.stderr.strip()}")
        return r.stdout

    def find_window(self):
        out = self.xdotool("search", "--sync", "--name", "^Hoplin$")
        self.window = out.split()[-1]
        geom = {}
        for line in self.xdotool("getwindowgeometry", "--shell", self.window).splitlines():
            if "=" in line:
                k, v = line.split("=", 1)
                geom[k] = v
        return int(geom["WIDTH"]), int(geom["HEIGHT"])

    def move(self, point):
        self.xdotool("mousemove", "--window", self.window, str(point[0]), str(point[1]))

    def click(self):
        self.xdotool("click", "1")

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

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def exit_by_click(self, exit_pt, results, label):
        """Clicks Exit and records the exit status; a game that does not end is killed."""
        self.move(exit_pt)
        self.click()
        rc = self.wait_exit(10)
        results["exit_codes"].append(rc)
        log(f"{label}: exit status {rc}")
        self.report_stderr(rc, results)
        if rc is None:
            self.kill()


def measure_wayland(binary, display, settle, extra_env):
    """RSS of the game as a Wayland client of weston on display, on its idle title screen;
    None when weston is not installed."""
    if shutil.which("weston") is None:
        log("no weston: the Wayland measurement is left out")
        return None
    with tempfile.TemporaryDirectory(prefix="hoplin-measure-xdg-") as runtime:
        weston = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", f"--socket={WESTON_SOCKET}", *WESTON_OUTPUT,
             "--idle-time=0"],
            env=dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        game = None
        try:
            deadline = time.monotonic() + 10
            while not os.path.exists(os.path.join(runtime, WESTON_SOCKET)):
                if time.monotonic() > deadline or weston.poll() is not None:
                    raise RuntimeError("weston did not come up")
                time.sleep(0.05)
            game = Game(binary, None, {**extra_env, "WAYLAND_DISPLAY": WESTON_SOCKET,
                                       "XDG_RUNTIME_DIR": runtime})
            first = game.wait_for(lambda fr: fr[0] if fr else None, 15)
            if first is None:
                raise RuntimeError(f"no Wayland frame within 15 s; stderr: {game.other_lines}")
            time.sleep(settle)
            result = {"launch_ms": (first - game.t_launch) * 1000,
                      "vmhwm_kb": game.status_kb("VmHWM"), "vmrss_kb": game.status_kb("VmRSS"),
                      "pss_kb": game.rollup_kb("Pss")}
            game.proc.terminate()
            result["sigterm_status"] = game.wait_exit(10)
            log(f"Wayland: {result}")
            return result
        finally:
            if game is not None:
                game.kill()
            Xvfb._end(weston)


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


def ui_per_frame(res):
    """The UI thread's CPU per frame of the runs, in microseconds, less what the idle title
    screen costs over the same time (its timers): (gross, net)."""
    runs = res["runs"]
    # Each run's frames, and the title's that ends it.
    frames = sum(r["frames"] + 1 for r in runs)
    ui_ns = sum(r["ui_ns"] for r in runs)
    idle_ns = res["title"]["ui_ns_per_s"] * sum(r["seconds"] for r in runs)
    return ui_ns / frames / 1000, (ui_ns - idle_ns) / frames / 1000


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
    info = {"cores": os.cpu_count()}
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


def measure(args):
    results = {"launch_ms": [], "exit_codes": [], "machine": machine_info(),
               "load_before": os.getloadavg()}
    xvfb = Xvfb()
    game = None
    try:
        display = xvfb.start()
        results["display"] = display
        log(f"Xvfb on {display}")

        # Launches: the last one stays up for the title, run and RSS measurements.
        for i in range(args.launches):
            game = Game(args.binary, display, args.extra_env)
            first = game.wait_for(lambda fr: fr[0] if fr else None, 15)
            if first is None:
                raise RuntimeError(f"no frame traced within 15 s; stderr: {game.other_lines}")
            launch_ms = (first - game.t_launch) * 1000
            results["launch_ms"].append(launch_ms)
            width, height = game.find_window()
            log(f"launch {i + 1}: first frame after {launch_ms:.1f} ms, client {width}x{height}")
            base_x = derive_base(width, DIALOG_UNITS[0], 4)
            base_y = derive_base(height, DIALOG_UNITS[1], 8)
            if base_x is None or base_y is None:
                raise RuntimeError(f"client {width}x{height} matches no dialog base units")
            start_pt = button_centre(START_BUTTON, base_x, base_y)
            exit_pt = button_centre(EXIT_BUTTON, base_x, base_y)
            results.update(client=(width, height), base=(base_x, base_y),
                           start_pt=start_pt, exit_pt=exit_pt)
            if i < args.launches - 1:
                time.sleep(0.5)
                game.exit_by_click(exit_pt, results, f"launch {i + 1}")
                game = None
                time.sleep(0.5)

        log(f"base units {base_x}x{base_y}, Start at {start_pt}, Exit at {exit_pt}")

        # Idle title screen. The pointer is parked outside the window first.
        game.xdotool("mousemove", "1200", "1000")
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
            time.sleep(0.3)
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
            game.xdotool("mousemove", "1200", "1000")
            time.sleep(1.5)
        results["periods"] = periods_all
        results["run_frames"] = run_frames

        results["vmhwm_kb"] = game.status_kb("VmHWM")
        results["vmrss_kb"] = game.status_kb("VmRSS")
        log(f"VmHWM {results['vmhwm_kb']} kB")
        game.exit_by_click(exit_pt, results, "final")
        game = None
        results["wayland"] = measure_wayland(args.binary, display, args.settle, args.extra_env)
        results["floor_us"] = measure_floor(args.bench)
        results["load_after"] = os.getloadavg()
        return results
    finally:
        if game is not None:
            game.kill()
        xvfb.stop()


def fmt_ms(v):
    return f"{v:.1f} ms"


def render_section(res, binary, notes=None):
    m = res["machine"]
    launch = res["launch_ms"]
    title = res["title"]
    runs = res["runs"]
    periods = res["periods"]
    run_cpu_ticks = sum(r["cpu_ticks"] for r in runs)
    run_seconds = sum(r["seconds"] for r in runs)
    run_cpu_pct = run_cpu_ticks / CLK_TCK / run_seconds * 100
    p_mean = statistics.fmean(periods)
    p50 = percentile(periods, 50)
    p99 = percentile(periods, 99)
    rss_mb = res["vmhwm_kb"] / 1024
    launch_med = statistics.median(launch)
    launch_max = max(launch)
    codes = res["exit_codes"]

    def yes(b):
        return "yes" if b else "**no**"

    title_met = title["pct"] < TARGET_TITLE_CPU_PCT
    launch_met = launch_max < TARGET_STARTUP_MS
    launch_med_met = launch_med < TARGET_STARTUP_MS
    p99_met = abs(p99 - TARGET_TICK_MS) <= TARGET_TICK_P99_TOLERANCE_MS
    rss_met = rss_mb < TARGET_RSS_MB
    exit_met = all(c == 0 for c in codes)
    tick_res = 1 / CLK_TCK / title["seconds"] * 100

    w, h = res["client"]
    bx, by = res["base"]
    L = []
    L.append(SECTION_HEADING)
    L.append("")
    L.append("`bench/measure_binary.py` starts its own Xvfb (`-screen 0 1280x1024x24`, first free "
             "display from :130), runs the real binary with `HOPLIN_TRACE_FRAMES=1`, drives it "
             "with `xdotool` and reads `/proc/<pid>`. Frame times are the `hoplin-trace: frame` "
             "lines (CLOCK_MONOTONIC, the clock of Python's `time.monotonic()`), and each line "
             "also carries the UI thread's CPU time for the pass of the message loop that "
             "painted the frame.")
    L.append("")
    L.append("### Re-running")
    L.append("")
    L.append("```sh")
    L.append("./run.sh            # or: cmake --preset default && cmake --build --preset default")
    L.append("python3 bench/measure_binary.py build/default/app/hoplin")
    L.append("```")
    L.append("")
    L.append("It takes one to two minutes (about 65 s here) and replaces this section "
             "(`--no-readme` only prints it).")
    L.append("")
    L.append("### Results")
    L.append("")
    load_b = ", ".join(f"{x:.2f}" for x in res["load_before"])
    load_a = ", ".join(f"{x:.2f}" for x in res.get("load_after", ()))
    L.append(f"Measured {res.get('date', datetime.date.today().isoformat())} on {m['cores']} cores "
             f"({m['cpu'] or 'unknown CPU'}), Debian {m['debian']}, kernel {m['kernel']}, "
             f"Xvfb {m['xvfb']} without a window manager, binary `{binary}`"
             + "".join(f" with `{k}={v}`" for k, v in res.get("extra_env", {}).items())
             + ". Load average "
             f"(1, 5, 15 min) {load_b} before and {load_a} after. Client area {w} x {h}, so "
             f"base units {bx} x {by}; Start clicked at {tuple(res['start_pt'])}, Exit at "
             f"{tuple(res['exit_pt'])}. {len(launch)} launches, {len(runs)} runs, "
             f"{len(periods)} tick periods.")
    L.append("")
    L.append("| What | Measured | Target | Met |")
    L.append("|------|----------|--------|-----|")
    L.append(f"| CPU, idle title screen ({title['seconds']:.1f} s, /proc stat) | "
             f"{title['pct']:.3f} % of a core ({title['ticks']} clock ticks) | under "
             f"{TARGET_TITLE_CPU_PCT} % | {yes(title_met)} |")
    L.append(f"| CPU, idle title screen (schedstat cross-check) | {title['sched_pct']:.4f} % "
             f"of a core | - | - |")
    L.append(f"| Frames painted on the idle title screen | {title['frames']} | - | - |")
    L.append(f"| CPU during a run (click to title, all {len(runs)} runs) | "
             f"{run_cpu_pct:.2f} % of a core ({run_cpu_ticks} ticks over {run_seconds:.1f} s; "
             f"per run {min(r['cpu_pct'] for r in runs):.2f} - "
             f"{max(r['cpu_pct'] for r in runs):.2f} %) | none set | - |")
    L.append(f"| Start to first frame, median | {fmt_ms(launch_med)} | under "
             f"{TARGET_STARTUP_MS:.0f} ms | {yes(launch_med_met)} |")
    L.append(f"| Start to first frame, max | {fmt_ms(launch_max)} | under "
             f"{TARGET_STARTUP_MS:.0f} ms | {yes(launch_met)} |")
    L.append(f"| Tick period, mean | {p_mean:.2f} ms | - | - |")
    L.append(f"| Tick period, p50 | {p50:.2f} ms | - | - |")
    L.append(f"| Tick period, p99 | {p99:.2f} ms | {TARGET_TICK_MS:.0f} +- "
             f"{TARGET_TICK_P99_TOLERANCE_MS:.0f} ms | {yes(p99_met)} |")
    L.append(f"| Tick period, min / max | {min(periods):.2f} / {max(periods):.2f} ms | - | - |")
    L.append(f"| Tick period samples | {len(periods)} | - | - |")
    later = [p for r in res["run_frames"] for p in r["periods_ms"][1:]]
    if later:
        L.append(f"| Tick period without each run's first period: p99, min / max | "
                 f"{percentile(later, 99):.2f} ms, {min(later):.2f} / {max(later):.2f} ms "
                 f"({len(later)} samples) | - | - |")
    L.append(f"| Peak RSS (VmHWM before exit) | {rss_mb:.1f} MB ({res['vmhwm_kb']} kB) | "
             f"under {TARGET_RSS_MB:.0f} MB | {yes(rss_met)} |")
    L.append(f"| Exit click, exit status | {', '.join(str(c) for c in codes)} | 0 | "
             f"{yes(exit_met)} |")
    tick_cpu = [c for r in runs for c in r["tick_cpu_us"]]
    if res.get("floor_us") and tick_cpu:
        median = statistics.median(tick_cpu)
        ratio = median / res["floor_us"]
        L.append(f"| UI thread CPU per tick frame: the pass that painted it, median (p10 / p90) | "
                 f"{median:.0f} us ({percentile(tick_cpu, 10):.0f} / "
                 f"{percentile(tick_cpu, 90):.0f} us, {len(tick_cpu)} ticks) | - | - |")
        L.append(f"| ... to the floor (memset + memcpy of the board's rows, "
                 f"{res['floor_us']:.1f} us in this run) | {ratio:.1f}x | within "
                 f"{TARGET_FRAME_TO_FLOOR:.0f}x | {yes(ratio <= TARGET_FRAME_TO_FLOOR)} |")
    if res.get("floor_us"):
        gross, net = ui_per_frame(res)
        L.append(f"| UI thread CPU per frame of a run, less the idle title rate (gross): "
                 f"schedstat cross-check | {net:.0f} us ({gross:.0f} us) | - | - |")
    wayland = res.get("wayland")
    if wayland:
        L.append(f"| Wayland (weston): RSS on the idle title screen, peak / now / PSS | "
                 f"{wayland['vmhwm_kb'] / 1024:.1f} / {wayland['vmrss_kb'] / 1024:.1f} / "
                 f"{wayland['pss_kb'] / 1024:.1f} MB | - | - |")
        L.append(f"| Wayland (weston): start to first frame; SIGTERM exit status | "
                 f"{fmt_ms(wayland['launch_ms'])}; {wayland['sigterm_status']} | - | - |")
    L.append("")
    L.append("Start-up per launch: " + ", ".join(f"{x:.1f}" for x in launch) + " ms.")
    L.append("")
    ticks_per_run = ", ".join(str(r["ticks"]) for r in runs)
    separate = sum(1 for r in runs if r["click_separate"])
    outcome_sep = sum(1 for r in runs if r["outcome_separate"])
    L.append("### How the numbers are taken")
    L.append("")
    L.append(f"- CPU is utime + stime of `/proc/<pid>/stat` in clock ticks of 1/{CLK_TCK} s. "
             f"Over {title['seconds']:.0f} s one tick is {tick_res:.3f} % of a core, so the "
             f"title figure can only be a multiple of that, and a count of 0 means under one "
             f"tick; the target of {TARGET_TITLE_CPU_PCT} % is "
             f"{TARGET_TITLE_CPU_PCT / tick_res:.0f} "
             f"ticks. The schedstat row sums the nanosecond on-CPU times in "
             f"`/proc/<pid>/task/*/schedstat` over the same interval. The title interval "
             f"starts {res.get('settle', 0):.0f} s after the window appeared, with the pointer "
             f"outside the window.")
    L.append("- Run CPU covers the Start click until the title screen is painted again "
             "(the last tick, the 2 s outcome pause and the title repaint included).")
    L.append("- Start-up is `time.monotonic()` just before `Popen` to the time in the first "
             "trace line (so it includes exec, SDL and X set-up, fonts and the first paint).")
    L.append(f"- Tick periods: the frames strictly between the Start click and the title repaint "
             f"are grouped into events (frames under {CLUSTER_GAP_S * 1000:.0f} ms apart are one "
             f"event); each event is one tick, and the periods are the differences between "
             f"consecutive ticks of a run, never across runs. The click's whole-window repaint "
             f"comes just before the first tick: when it is a separate frame (it was in "
             f"{separate} of {len(runs)} runs) the first event's later frame is taken as the "
             f"first tick, otherwise the single merged frame is. At the end, the last tick can "
             f"be followed within microseconds by the outcome repaint (FAIL!!, a separate frame "
             f"in {outcome_sep} of {len(runs)} runs); the event's first frame is the tick. "
             f"Ticks per run: {ticks_per_run}. Percentiles interpolate linearly between closest "
             f"ranks; with this few samples p99 is close to the maximum.")
    L.append("- Peak RSS is `VmHWM` from `/proc/<pid>/status` after the last run, just before "
             "the Exit click.")
    if res.get("floor_us"):
        L.append("- The UI thread's CPU per tick frame is the second number of each tick's "
                 "trace line: the thread's `CLOCK_THREAD_CPUTIME_ID` from just before the "
                 "message loop's wait that the tick's invalidation ends to the end of the pass "
                 "that painted and sent the frame, so the wake-up, the paint and the update of "
                 "the window are in it, and the window timers' passes are not. The ticks are "
                 "those of the tick periods, less each run's first event (which may hold the "
                 "click's whole-window repaint). The floor is `hoplin_paint_bench`'s "
                 f"`{FLOOR_BENCHMARK}`, the mean of {FLOOR_REPETITIONS} repetitions, run "
                 "right after the game.")
        L.append("- The schedstat cross-check is the first thread's "
                 "`/proc/<pid>/task/<pid>/schedstat` from the Start click until the title is "
                 "back, over the frames traced in that time; the net figure takes off the idle "
                 "title screen's rate for the same time (the window timers). It counts every "
                 "frame of a run, and its subtraction of the timers makes it vary by a factor "
                 "of about two between measurements.")
    if wayland:
        L.append("- On Wayland the game runs as a client of weston (`--backend=x11-backend.so`, "
                 "800 x 600, on the same Xvfb), with only `WAYLAND_DISPLAY` set. Its window is "
                 "shown through SDL's OpenGL ES renderer (Mesa, llvmpipe here), which has no "
                 "software path on Wayland; that renderer, its driver and libdecor's title bar "
                 "are what the RSS adds over X11. Measured on the idle title screen "
                 f"{res.get('settle', 0):.0f} s after the first frame, then ended with SIGTERM.")
    for err in res.get("exit_errors", []):
        text = " / ".join(line.strip() for line in err["stderr"][:3]) or "(nothing on stderr)"
        L.append(f"- A launch ended with status {err['status']}; its stderr began: `{text}`")
    if notes:
        L.append("")
        L.append("### Notes on this measurement")
        L.append("")
        L.append(notes.rstrip("\n"))
    return "\n".join(L) + "\n"


def write_readme(path, section):
    with open(path) as f:
        text = f.read()
    lines = text.splitlines(keepends=True)
    start = None
    for i, line in enumerate(lines):
        if line.rstrip("\n") == SECTION_HEADING:
            start = i
            break
    if start is None:
        if not text.endswith("\n"):
            text += "\n"
        text += "\n" + section
    else:
        end = len(lines)
        for j in range(start + 1, len(lines)):
            if lines[j].startswith("## "):
                end = j
                break
        tail = "".join(lines[end:])
        text = "".join(lines[:start]) + section + ("\n" + tail if tail else "")
    with open(path, "w") as f:
        f.write(text)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("binary", help="path to the hoplin executable")
    ap.add_argument("--runs", type=int, default=5, help="games to play (default 5)")
    ap.add_argument("--launches", type=int, default=5, help="launches timed (default 5)")
    ap.add_argument("--title-seconds", type=float, default=20.0,
                    help="length of the idle title measurement (default 20)")
    ap.add_argument("--settle", type=float, default=2.0,
                    help="seconds to wait on the title screen before measuring (default 2)")
    ap.add_argument("--run-timeout", type=float, default=120.0)
    ap.add_argument("--readme", default=os.path.join(here, "README.md"))
    ap.add_argument("--bench", help="the paint benchmark, for the floor (default: "
                    "bench/hoplin_paint_bench in the game's build folder)")
    ap.add_argument("--no-readme", action="store_true", help="print the section only")
    ap.add_argument("--env", action="append", default=[], metavar="NAME=VALUE",
                    help="extra environment variable for the game (for comparisons)")
    ap.add_argument("--json", metavar="PATH", help="also write the raw measurements as JSON")
    ap.add_argument("--from-json", metavar="PATH",
                    help="render the section from a --json file instead of measuring")
    ap.add_argument("--notes", metavar="FILE",
                    help="markdown added to the section under 'Notes on this measurement'")
    args = ap.parse_args()
    if args.launches < 1 or args.runs < 1:
        ap.error("--launches and --runs must be at least 1")
    binary = os.path.abspath(args.binary)
    if args.bench is None:
        args.bench = os.path.join(os.path.dirname(os.path.dirname(binary)), "bench",
                                  "hoplin_paint_bench")
    if not args.from_json and not os.access(binary, os.X_OK):
        ap.error(f"{args.binary} is not an executable")

    extra_env = {}
    for item in args.env:
        name, sep, value = item.partition("=")
        if not sep or not name:
            ap.error(f"--env takes NAME=VALUE, not {item!r}")
        extra_env[name] = value
    if args.from_json:
        # Renders a saved measurement again (with other notes, say) without measuring.
        with open(args.from_json) as f:
            res = json.load(f)
        binary_shown = res.get("binary_shown", args.binary)
    else:
        res = measure(argparse.Namespace(**{**vars(args), "binary": binary,
                                            "extra_env": extra_env}))
        res["settle"] = args.settle
        res["extra_env"] = extra_env
        res["date"] = datetime.date.today().isoformat()
        binary_shown = res["binary_shown"] = args.binary
    if args.json and not args.from_json:
        with open(args.json, "w") as f:
            json.dump(res, f, indent=1)
    if not res["periods"]:
        raise RuntimeError("no tick periods measured")
    notes = None
    if args.notes:
        with open(args.notes) as f:
            notes = f.read()
    section = render_section(res, binary_shown, notes)
    print(section)
    if not args.no_readme:
        write_readme(args.readme, section)
        log(f"wrote {args.readme}")
    failed = [c for c in res["exit_codes"] if c != 0]
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
