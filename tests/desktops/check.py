#!/usr/bin/python3
"""Runs one scenario on the real glugmo on each desktop of desktops.py and
writes the table of what held to docs/desktops.md. Hand-run through
tests/desktops/run.sh; screenshots go to build/desktops/.

usage: check.py path/to/glugmo [desktop-name-substring...]
"""

import json
import subprocess
import sys
import time
import traceback
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

from desktops import SETUPS, SwayDesktop, XDesktop  # noqa: E402
from pet_process import Home  # noqa: E402
from scenario import COLUMNS, Scenario  # noqa: E402

SHOTS = ROOT / "build" / "desktops"


def run(exe, setup):
    """The outcome of each column on one desktop: (True/False/None, note)."""
    results = {}
    try:
        desktop = SwayDesktop(setup) if setup.kind == "sway" else XDesktop(setup)
    except Exception as problem:
        traceback.print_exc()
        return {"_error": f"the desktop did not come up: {problem}"}
    home = Home()
    pets = []
    try:
        scenario = Scenario(exe, desktop, home, pets, setup, results,
                            SHOTS / slug(setup.name))
        scenario.run()
    except Exception as problem:  # a step that could not go on: the rest is unknown
        results.setdefault("_error", f"{type(problem).__name__}: {problem}")
        traceback.print_exc()
    finally:
        for pet in pets:
            pet.stop()
        home.remove()
        desktop.close()
    return results


def slug(name):
    return "".join(c if c.isalnum() else "-" for c in name.lower()).strip("-")


def write_table(rows):
    mark = {True: "yes", False: "**NO**", None: "–"}
    lines = ["# The pet on each desktop", "",
             "Written by `tests/desktops/run.sh` (run by hand; it installs the window",
             "managers). Each desktop runs in its own Xvfb at 1440x900 unless said;",
             "\"–\" is a check that does not apply there or could not run. Notes below",
             "the table say what was seen where a check failed.", "",
             "| desktop | " + " | ".join(title for _, title in COLUMNS) + " |",
             "|---|" + "---|" * len(COLUMNS)]
    notes = []
    for name, results in rows:
        cells = []
        for key, _ in COLUMNS:
            ok, note = results.get(key, (None, "not reached"))
            cells.append(mark[ok])
            if ok is False or (ok is None and note and note != "not reached"):
                notes.append(f"- {name}, {key}: {note}")
        if "_error" in results:
            notes.append(f"- {name}: stopped early: {results['_error']}")
        lines.append(f"| {name} | " + " | ".join(cells) + " |")
    lines += ["", "## Notes", ""] + (notes or ["Nothing failed."])
    (ROOT / "docs" / "desktops.md").write_text("\n".join(lines) + "\n")
    return "\n".join(lines)


def run_apart(exe, setup):
    """One desktop in a process of its own: python-xlib cannot open a second
    display whose extensions number their events differently (XWayland)."""
    child = subprocess.run([sys.executable, __file__, exe, "--only", setup.name],
                           stdout=subprocess.PIPE, text=True, check=False)
    lines = child.stdout.strip().splitlines()
    try:
        return {key: tuple(value) if isinstance(value, list) else value
                for key, value in json.loads(lines[-1]).items()}
    except (IndexError, ValueError):
        return {"_error": f"the check itself failed (status {child.returncode})"}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    exe = str(Path(sys.argv[1]).resolve())
    if sys.argv[2:3] == ["--only"]:
        setup = next(s for s in SETUPS if s.name == sys.argv[3])
        print(json.dumps(run(exe, setup)))
        return
    wanted = sys.argv[2:]
    rows = []
    for setup in SETUPS:
        if wanted and not any(w.lower() in setup.name.lower() for w in wanted):
            continue
        print(f"== {setup.name}", flush=True)
        started = time.monotonic()
        rows.append((setup.name, run_apart(exe, setup)))
        print(f"   {time.monotonic() - started:.0f} s: {rows[-1][1]}", flush=True)
    print(write_table(rows))


if __name__ == "__main__":
    main()
