#!/usr/bin/python3
"""Measures the pet against oneko on the X desktop it runs in (bench/run.sh
starts one), prints the table and writes it with the machine's details.

usage: measure.py GLUGMO_EXECUTABLE OUTPUT_MD

Environment: BENCH_SECONDS (length of each measuring window, default 60),
BENCH_LAUNCHES (start-ups timed, default 10), BENCH_SETTLE (seconds a
program runs before its window is measured, default 2)."""

import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import machine
import report
from map_watch import MapWatch, is_viewable
from usage import CpuMeter, children_by_command, peak_rss, resident

PET_TITLE = "咕噜宝"
CLICK_EVERY = 2.0
DOUBLE_CLICK_GAP_MS = 120
# Long enough for the reaction the first click of a double click starts
# to have played out, so its decoding is not what the window measures.
HIDDEN_SETTLE = 3.0


class Bench:
    def __init__(self, pet, seconds, launches, settle):
        self.pet = str(Path(pet).resolve())
        self.oneko = shutil.which("oneko") or "/usr/games/oneko"
        self.seconds, self.launches, self.settle = seconds, launches, settle
        desktop = children_by_command(os.getppid())
        missing = {"Xvfb", "picom"} - desktop.keys()
        if missing:
            sys.exit(f"measure: run me through bench/run.sh; no {', '.join(sorted(missing))} beside me")
        self.display = {"x_server": desktop["Xvfb"], "compositor": desktop["picom"]}
        self.watch = MapWatch()
        self.bubbles = []  # bubbles shown in each of the pet's windows, in order
        screen = self.watch.d.screen()
        self.screen_centre = (screen.width_in_pixels // 2, screen.height_in_pixels // 2)

    # --- launching ------------------------------------------------------------

    @contextlib.contextmanager
    def fresh_home(self):
        home = Path(tempfile.mkdtemp(prefix="glugmo-bench-home."))
        env = dict(os.environ, HOME=str(home), XDG_CONFIG_HOME=str(home / ".config"),
                   XDG_DATA_HOME=str(home / ".local/share"), XDG_CACHE_HOME=str(home / ".cache"),
                   XDG_RUNTIME_DIR=str(home / "runtime"))
        (home / "runtime").mkdir(mode=0o700)
        try:
            yield env
        finally:
            shutil.rmtree(home, ignore_errors=True)

    @contextlib.contextmanager
    def running(self, argv, title, env=None):
        """Starts a program, yields (process, seconds to its window, window)."""
        process, seconds, window = self.watch.launch(
            argv, title, timeout=20, env=env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            yield process, seconds, window
        finally:
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    @contextlib.contextmanager
    def pet_running(self):
        with self.fresh_home() as env, self.running([self.pet], PET_TITLE, env) as launched:
            yield launched

    def startup_ms(self, start, launches=None):
        times = []
        for _ in range(self.launches if launches is None else launches):
            with start() as (_, seconds, _window):
                times.append(seconds * 1000)
            time.sleep(0.5)  # let the desktop forget the last window
        return times

    # --- measuring ------------------------------------------------------------

    def measure(self, process, during=None, pet_window=None):
        """A stretch of self.seconds over the program and the display; given
        the pet's window, also counts the bubbles shown meanwhile."""
        if pet_window is not None:
            self.watch.maps_since(PET_TITLE, besides=pet_window)
        display = {name: pid for name, pid in self.display.items() if pid is not None}
        meter = CpuMeter({"program": process.pid, **display}, time.monotonic)
        meter.start()
        if during:
            during(time.monotonic() + self.seconds)
        else:
            time.sleep(self.seconds)
        spent = meter.stop()
        if process.poll() is not None:
            raise RuntimeError(f"{process.args[0]} exited while measured")
        if pet_window is not None:
            self.bubbles.append(self.watch.maps_since(PET_TITLE, besides=pet_window))
        compositor = spent.percent_of_core("compositor") if "compositor" in display else 0.0
        return report.Run(spent.percent_of_core("program"), spent.percent_of_core("x_server"),
                          compositor, peak_rss(process.pid), spent.cpu["program"], resident(process.pid))

    def stop_compositor(self):
        """For the windows measured without one: the pet then cuts its
        window to the picture's shape at every step."""
        pid = self.display["compositor"]
        os.kill(pid, signal.SIGTERM)
        deadline = time.monotonic() + 10
        while Path(f"/proc/{pid}").exists() and time.monotonic() < deadline:
            time.sleep(0.05)
        self.display["compositor"] = None
        time.sleep(1)

    def desktop_alone(self):
        meter = CpuMeter(self.display, time.monotonic)
        meter.start()
        time.sleep(self.seconds)
        spent = meter.stop()
        return spent.percent_of_core("x_server"), spent.percent_of_core("compositor")

    def pet_scenario(self, name):
        self.pointer_to(*self.screen_centre)
        with self.pet_running() as (process, _, window):
            time.sleep(self.settle)
            x, y = self.watch.centre_of(window)
            if name == "idle":
                return self.measure(process, pet_window=window)
            if name == "hidden":
                self.pointer_to(x, y)
                xdotool("click", "--repeat", "2", "--delay", str(DOUBLE_CLICK_GAP_MS), "1")
                time.sleep(HIDDEN_SETTLE)
                if is_viewable(window):
                    raise RuntimeError("a double click on the pet did not hide it")
                return self.measure(process, pet_window=window)
            self.pointer_to(x, y)
            return self.measure(process, during=clicking, pet_window=window)

    def oneko_scenario(self, launches=None):
        self.pointer_to(*self.screen_centre)
        start = lambda: self.running([self.oneko], self.oneko)
        times = self.startup_ms(start, launches)
        with start() as (process, _, _window):
            time.sleep(self.settle)
            return times, self.measure(process)

    def pointer_to(self, x, y):
        xdotool("mousemove", str(x), str(y))


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stdout=subprocess.DEVNULL)


def clicking(until):
    """A left click where the pointer is, every CLICK_EVERY seconds."""
    next_click = time.monotonic()
    while next_click < until:
        xdotool("click", "1")
        next_click += CLICK_EVERY
        time.sleep(max(0.0, min(next_click, until) - time.monotonic()))
    time.sleep(max(0.0, until - time.monotonic()))


def env_number(name, default, kind=float):
    return kind(os.environ.get(name, default))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    pet, output = sys.argv[1:]
    bench = Bench(pet, env_number("BENCH_SECONDS", 60), env_number("BENCH_LAUNCHES", 10, int),
                  env_number("BENCH_SETTLE", 2))
    load_before = machine.load_average()
    step = lambda what: print(f"measure: {what}", file=sys.stderr, flush=True)
    step(f"desktop alone, {bench.seconds:g} s")
    alone = bench.desktop_alone()
    step(f"glugmo start-up x{bench.launches}")
    pet_startup = bench.startup_ms(bench.pet_running)
    runs = {}
    for name, _ in report.SCENARIOS:
        step(f"glugmo {name}, {bench.seconds:g} s")
        runs[name] = bench.pet_scenario(name)
    step(f"oneko start-up x{bench.launches} and {bench.seconds:g} s")
    oneko_startup, runs["oneko"] = bench.oneko_scenario()
    step(f"without the compositor: glugmo idle and oneko, {bench.seconds:g} s each")
    bench.stop_compositor()
    runs["bare"] = bench.pet_scenario("idle")
    _, runs["bare_oneko"] = bench.oneko_scenario(launches=0)
    bench.watch.close()

    table = report.markdown(report.rows(pet_startup, oneko_startup, runs))
    print(table)
    notes = machine.notes(bench.seconds, pet_startup, oneko_startup, alone,
                          load_before, machine.load_average())
    shown = ", ".join(f"{name} {count}" for (name, _), count in zip(report.SCENARIOS, bench.bubbles))
    # The idle pet stretches on a coin toss and says so: that window then
    # also pays for the bubble's first text.
    notes.append(f"Speech bubbles shown during each window: {shown}.")
    # The pet hands back what it read when it hides, so what it holds as a
    # window ends may be well below its peak.
    held = ", ".join(f"{name} {runs[name].end_rss / report.MIB:.1f}"
                     for name in ("idle", "hidden", "busy", "oneko"))
    notes.append(f"RSS as each window ended (MiB): {held}.")
    notes.append("The no-compositor row: picom stopped, the pet idle (its window cut to the "
                 f"picture at every step; speech bubbles shown: {bench.bubbles[-1]}) and oneko, "
                 "one window each.")
    Path(output).parent.mkdir(parents=True, exist_ok=True)
    previous = Path(output).read_text() if Path(output).exists() else None
    Path(output).write_text(machine.document(table, notes, previous))
    step(f"written to {output}")


if __name__ == "__main__":
    main()
