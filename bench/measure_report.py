#!/usr/bin/env python3
"""Writes a measurement of bench/measure_binary.py as its section of bench/README.md.

Usage: python3 bench/measure_report.py MEASUREMENT.json [--notes FILE] [--no-readme]

measure_binary.py hands every measurement to this; on its own, it renders one saved with
measure_binary.py --json again (with other notes, say) without measuring.
"""

import argparse
import json
import os
import statistics
import sys

SECTION_HEADING = "## hoplin under Xvfb (measure_binary.py)"
README = os.path.join(os.path.dirname(os.path.abspath(__file__)), "README.md")

TARGET_TITLE_CPU_PCT = 0.2
TARGET_STARTUP_MS = 150.0
TARGET_TICK_MS = 300.0
TARGET_TICK_P99_TOLERANCE_MS = 2.0
TARGET_RSS_MB = 40.0
TARGET_FRAME_TO_FLOOR = 10.0


def add_arguments(parser):
    """The options of what happens to a rendered section, for this script and the measuring."""
    parser.add_argument("--readme", default=README,
                        help="the file whose section is replaced (default: bench/README.md)")
    parser.add_argument("--no-readme", action="store_true", help="print the section only")
    parser.add_argument("--notes", metavar="FILE",
                        help="markdown added to the section under 'Notes on this measurement'")


def percentile(values, p):
    """Linear interpolation between closest ranks (numpy's default, 'inclusive')."""
    s = sorted(values)
    if len(s) == 1:
        return s[0]
    k = (len(s) - 1) * p / 100.0
    lo = int(k)
    hi = min(lo + 1, len(s) - 1)
    return s[lo] + (s[hi] - s[lo]) * (k - lo)


def ui_per_frame(res):
    """The UI thread's CPU per frame of the runs, in microseconds, less what the idle title
    screen costs over the same time (its timers): (gross, net)."""
    runs = res["runs"]
    # Each run's frames, and the title's that ends it.
    frames = sum(r["frames"] + 1 for r in runs)
    ui_ns = sum(r["ui_ns"] for r in runs)
    idle_ns = res["title"]["ui_ns_per_s"] * sum(r["seconds"] for r in runs)
    return ui_ns / frames / 1000, (ui_ns - idle_ns) / frames / 1000


def fmt_ms(v):
    return f"{v:.1f} ms"


def render_section(res, notes=None):
    m = res["machine"]
    clk_tck = m["clock_ticks_per_s"]
    launch = res["launch_ms"]
    title = res["title"]
    runs = res["runs"]
    periods = res["periods"]
    run_cpu_ticks = sum(r["cpu_ticks"] for r in runs)
    run_seconds = sum(r["seconds"] for r in runs)
    run_cpu_pct = run_cpu_ticks / clk_tck / run_seconds * 100
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
    tick_res = 1 / clk_tck / title["seconds"] * 100

    w, h = res["client"]
    bx, by = res["base"]
    L = []
    L.append(SECTION_HEADING)
    L.append("")
    L.append(f"`bench/measure_binary.py` starts its own Xvfb (`-screen 0 {res['screen']}`, on a "
             "display number that the server picks) through the e2e tests' helper package "
             "`hoplin_e2e`, runs the real binary there in an environment of its own (its own "
             "home and XDG folders, the C locale) with `HOPLIN_TRACE_FRAMES=1`, drives it "
             "through XTest in-process and reads `/proc/<pid>`. Frame times are the "
             "`hoplin-trace: frame` "
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
             "(`--no-readme` only prints it). `--json FILE` keeps the raw measurements, and "
             "`python3 bench/measure_report.py FILE` renders them again without measuring.")
    L.append("")
    L.append("### Results")
    L.append("")
    load_b = ", ".join(f"{x:.2f}" for x in res["load_before"])
    load_a = ", ".join(f"{x:.2f}" for x in res["load_after"])
    L.append(f"Measured {res['date']} on {m['cores']} cores "
             f"({m['cpu'] or 'unknown CPU'}), Debian {m['debian']}, kernel {m['kernel']}, "
             f"Xvfb {m['xvfb']} without a window manager, binary `{res['binary_shown']}`"
             + "".join(f" with `{k}={v}`" for k, v in res["extra_env"].items())
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
    L.append(f"- CPU is utime + stime of `/proc/<pid>/stat` in clock ticks of 1/{clk_tck} s. "
             f"Over {title['seconds']:.0f} s one tick is {tick_res:.3f} % of a core, so the "
             f"title figure can only be a multiple of that, and a count of 0 means under one "
             f"tick; the target of {TARGET_TITLE_CPU_PCT} % is "
             f"{TARGET_TITLE_CPU_PCT / tick_res:.0f} "
             f"ticks. The schedstat row sums the nanosecond on-CPU times in "
             f"`/proc/<pid>/task/*/schedstat` over the same interval. The title interval "
             f"starts {res['settle']:.0f} s after the window appeared, with the pointer "
             f"outside the window.")
    L.append("- Run CPU covers the Start click until the title screen is painted again "
             "(the last tick, the 2 s outcome pause and the title repaint included).")
    L.append("- Start-up is `time.monotonic()` just before `Popen` to the time in the first "
             "trace line (so it includes exec, SDL and X set-up, fonts and the first paint).")
    L.append(f"- Tick periods: the frames strictly between the Start click and the title repaint "
             f"are grouped into events (frames under {res['cluster_gap_s'] * 1000:.0f} ms apart "
             f"are one event); each event is one tick, and the periods are the differences between "
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
                 f"`{res['floor_benchmark']}`, the mean of {res['floor_repetitions']} "
                 "repetitions, run right after the game.")
        L.append("- The schedstat cross-check is the first thread's "
                 "`/proc/<pid>/task/<pid>/schedstat` from the Start click until the title is "
                 "back, over the frames traced in that time; the net figure takes off the idle "
                 "title screen's rate for the same time (the window timers). It counts every "
                 "frame of a run, and its subtraction of the timers makes it vary by a factor "
                 "of about two between measurements.")
    if wayland:
        out_w, out_h = wayland["output_size"]
        L.append("- On Wayland the game runs as a client of weston (`--backend=x11-backend.so`, "
                 f"{out_w} x {out_h}, on the same Xvfb, configured as for the e2e tests), with "
                 "`WAYLAND_DISPLAY` set and no `DISPLAY`. Its window is "
                 "shown through SDL's OpenGL ES renderer (Mesa, llvmpipe here), which has no "
                 "software path on Wayland; that renderer, its driver and libdecor's title bar "
                 "are what the RSS adds over X11. Measured on the idle title screen "
                 f"{res['settle']:.0f} s after the first frame, then ended with SIGTERM.")
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


def publish(res, args):
    """Prints the section for the measurement res, and puts it in the README unless
    args.no_readme; args carries the options of add_arguments."""
    notes = None
    if args.notes:
        with open(args.notes) as f:
            notes = f.read()
    section = render_section(res, notes)
    print(section)
    if not args.no_readme:
        write_readme(args.readme, section)
        print(f"wrote {args.readme}", file=sys.stderr)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("measurement", help="a file written by measure_binary.py --json")
    add_arguments(ap)
    args = ap.parse_args()
    with open(args.measurement) as f:
        publish(json.load(f), args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
