#!/usr/bin/python3
"""Runs one scenario on the real glugmo on each desktop of desktops.py, as a user of it would meet the pet, and
writes what held to docs/desktops.md. Hand-run through tests/desktops/run.sh; screenshots go to build/desktops/.

usage: check.py path/to/glugmo [desktop-name-substring...]
"""

import contextlib
from concurrent.futures import ProcessPoolExecutor
import sys
import time
import traceback
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

from desktop import (DEFAULT_SIZE, ColourWindow, Home, Pet, centre, changed_pixels, default_frame, pet_rect,  # noqa: E402
                     wait_for)
from desktops import SETUPS, SwayDesktop, XDesktop  # noqa: E402

COLUMNS = {"position": "placed in the free area", "undecorated": "no frame", "above": "stays above",
           "workspaces": "every workspace", "focus": "no focus, no attention", "margin": "margin click passes",
           "bubble": "bubble above, on screen", "drag": "drag", "hide-show": "hide/show x3, no drift",
           "menu": "right-click menu", "tray": "tray icon / menu on relaunch", "transparent": "no black box"}
QUOTE, HIDE = 2, 8  # Down presses to these items of the menu
COVER = (0, 200, 0)
MARKS = {True: "yes", False: "**NO**", None: "–"}


def inside(box, outer):
    return all(outer[i] <= box[i] and box[i] + box[i + 2] <= outer[i] + outer[i + 2] for i in (0, 1))


class Scenario:
    def __init__(self, exe, setup):
        self.d = SwayDesktop(setup) if setup.kind == "sway" else XDesktop(setup)
        self.exe, self.setup, self.home, self.results, self.pets = exe, setup, Home(), {}, []
        self.scale, self.tiling = float(setup.pet_env.get("QT_SCALE_FACTOR", 1)), setup.tiling
        slug = "-".join("".join(c if c.isalnum() else " " for c in setup.name.lower()).split())
        self.shots = ROOT / "build" / "desktops" / slug
        self.shots.mkdir(parents=True, exist_ok=True)

    def record(self, key, ok, note=""):
        """Keeps the first failure of a column; a later pass does not hide it."""
        if self.results.get(key, (True,))[0] is not False:
            self.results[key] = (ok, note)

    def wait(self, key, predicate, note, shot):
        """Records whether predicate came true within 5 s, and how the screen looks a moment later."""
        try:
            value = wait_for(predicate, 5, note)
        except AssertionError:
            return self.record(key, False, note)
        self.record(key, True)
        time.sleep(0.4)
        self.shot(shot)
        return value

    def shot(self, label):
        self.d.screenshot(self.shots / f"{label}.png")

    def launch(self):
        self.pets.append(Pet(self.exe, self.d, self.home, extra_env=self.setup.pet_env))
        return self.pets[0]

    def top(self, window):
        """The window, or the window manager's frame around it, under the root."""
        return (self.d.ancestors(window) or [window])[-1]

    def above(self, upper, lower):
        order = [w.id for w in self.d.root.query_tree().children]
        return order.index(self.top(upper).id) > order.index(self.top(lower).id)

    def states(self, window):
        return {self.d.x.get_atom_name(a) for a in self.d.property(window, "_NET_WM_STATE") or []}

    def check_focus(self, when, *windows):
        ours = {w.id for w in windows} | {self.top(w).id for w in windows}
        active = (self.d.property(self.d.root, "_NET_ACTIVE_WINDOW") or [0])[0]
        focus = getattr(self.d.x.get_input_focus().focus, "id", None)
        attention = any("_NET_WM_STATE_DEMANDS_ATTENTION" in self.states(w) for w in windows)
        self.record("focus", not attention and active not in ours and focus not in ours,
                    f"asks for attention {when}" if attention else f"active or focused {when}")

    def scaled(self, to_points, box):
        """The pet's geometry in points, on a screen scaled by QT_SCALE_FACTOR."""
        return tuple(v * self.scale for v in to_points(tuple(v / self.scale for v in box)))

    def pet_box(self, window):
        return self.scaled(lambda frame: pet_rect(frame, DEFAULT_SIZE), self.d.geometry(window))

    def run(self):
        try:
            window = (pet := self.launch()).window()
            time.sleep(0.5)
            self.shot("start")
            frame, want = self.d.geometry(window), self.scaled(default_frame, self.d.free_area())
            self.record("position", max(abs(a - b) for a, b in zip(frame, want)) <= 2,
                        f"at {frame}, expected {tuple(round(v) for v in want)}")
            outer = self.d.geometry(self.top(window))
            self.record("undecorated", outer[2:] == frame[2:], f"frame {outer} around the window {frame}")
            self.check_focus("at start", window)
            self.d.xdotool("mousemove", frame[0] + 3, frame[1] + 3, "sleep", 0.2)
            child = self.d.root.query_pointer().child
            self.record("margin", getattr(child, "id", child) != self.top(window).id,
                        "the window's transparent margin takes the pointer")
            for check in (self.bubble, self.cover, self.workspaces, self.drag, self.hide_show):
                check(pet, window)
            self.d.click(centre(self.pet_box(window)), button=3)
            self.wait("menu", pet.menu, "no menu after a right click", "menu")
            self.d.keys("Escape")
            time.sleep(0.3)
            if self.setup.tray:
                self.wait("tray", pet.tray_icon, "no icon in the tray", "tray")
            else:
                self.launch()
                self.wait("tray", pet.menu, "no tray, and a second launch opens no menu", "menu-from-relaunch")
        except Exception as problem:  # a step that could not go on: the rest is unknown
            self.results.setdefault("_error", f"{type(problem).__name__}: {problem}")
            traceback.print_exc()
        finally:
            for pet in self.pets:
                pet.stop()
            self.home.remove()
            self.d.close()
        return self.results

    def bubble(self, pet, window):
        rect = self.pet_box(window)
        self.d.click(centre(rect))
        if bubble := self.wait("bubble", lambda: pet.bubble(window), "no bubble after a click", "bubble"):
            bx, by, bw, bh = box = self.d.geometry(bubble)
            stacked = self.above(bubble, window)
            self.record("bubble", inside(box, self.d.monitors()[0]) and by + bh <= rect[1] + 1
                        and abs(bx + bw / 2 - centre(rect)[0]) <= 2 and stacked,
                        f"bubble {box}, pet {tuple(round(v) for v in rect)}, stacked {'above' if stacked else 'below'}")
            self.check_focus("with a bubble", window, bubble)
            wait_for(lambda: pet.bubble(window) is None, 6, "the bubble to go")

    def cover(self, pet, window):
        """A dialog (tiling managers float it) put over the pet and raised, as a program brought to the front."""
        x, y, w, h = self.d.geometry(window)
        box = (x - 50, y - 50, w + 100, h + 100)
        cover = ColourWindow(self.d, COVER, box, "DIALOG")
        try:
            time.sleep(0.5)
            self.d.xdotool("windowactivate", cover.window.id, "windowraise", cover.window.id)
            # Tiling managers centre a new floating window at a size of their own; put it over the pet as a user would.
            self.d.order('[title="^dialog$"]', "resize", "set", str(box[2]), str(box[3]), ",",
                       "move", "position", str(box[0]), str(box[1]), ",", "focus")
            time.sleep(1.0)
            self.shot("covered")
            cx, cy = centre(self.pet_box(window))
            hidden = max(abs(a - b) for a, b in zip(self.d.grab((cx - 2, cy - 2, 4, 4)).getpixel((1, 1)), COVER)) > 30
            if not inside((x, y, w, h), landed := self.d.geometry(cover.window)):
                return self.record("above", None, f"the covering window landed at {landed}")
            self.record("above", hidden and self.above(window, cover.window),
                        "a window raised over the pet hides it")
            self.check_focus("with another window raised", window)
        finally:
            cover.close()

    def switch_workspace(self, index):
        self.d.order("workspace", "number", str(index + 1))
        if not self.tiling:
            self.d.xdotool("set_num_desktops", 2, "set_desktop", index)
        time.sleep(1.0)
        return (self.d.property(self.d.root, "_NET_CURRENT_DESKTOP") or [None])[0]

    def workspaces(self, pet, window):
        before = (self.d.property(self.d.root, "_NET_CURRENT_DESKTOP") or [None])[0]
        if (after := self.switch_workspace(1)) == before and not self.tiling:
            return self.record("workspaces", None, "could not switch to a second workspace")
        self.shot("workspace-2")
        self.record("workspaces", self.d.viewable(window) and self.d.viewable(self.top(window)),
                    f"not shown on workspace {after}")
        self.switch_workspace(0)

    def drag(self, pet, window):
        frame, start = self.d.geometry(window), centre(self.pet_box(window))
        self.d.drag(start, (start[0] - 300, start[1] - 200))
        time.sleep(1.0)
        moved = self.d.geometry(window)
        # A window manager's move starts once the pointer passed the drag distance: it may fall that much short.
        self.record("drag", max(abs(moved[0] - frame[0] + 300), abs(moved[1] - frame[1] + 200)) <= 12 * self.scale,
                    f"dragged by (-300, -200) from {frame[:2]}, now at {moved[:2]}")
        self.check_focus("after a drag", window)

    def pick(self, pet, *keys):
        wait_for(pet.menu, 5, "a menu")
        self.d.keys(*keys)
        wait_for(lambda: pet.menu() is None, 3, "the menu to close")
        time.sleep(0.5)  # a popup just closed keeps the pointer grab a moment

    def hide_show(self, pet, window):
        frame = self.d.geometry(window)
        # The bottom-left corner: a long quote's bubble may reach over the top.
        margin = (frame[0], frame[1] + frame[3] - 12, 12, 12)
        for round_ in range(1, 4):
            self.d.click(centre(self.pet_box(window)), repeat=2, delay_ms=100)
            wait_for(lambda: not self.d.viewable(window), 3, "the pet to hide")
            time.sleep(0.3)
            under = self.d.grab(margin)
            for downs in (QUOTE, HIDE) if self.setup.tray else ():  # a bubble while the pet is hidden; show it again
                self.d.click(centre(self.d.geometry(wait_for(pet.tray_icon, 5, "the tray icon"))), button=3)
                self.pick(pet, *["Down"] * downs, "Return")
            if not self.setup.tray:  # a second launch brings the pet back and opens its menu beside it
                self.launch()
                self.pick(pet, "Escape")
            with contextlib.suppress(AssertionError):
                wait_for(lambda: self.d.viewable(window), 5, "the pet to come back")
                time.sleep(0.6)
            now, shown, states = self.d.geometry(window), self.d.viewable(window), self.states(window)
            iconic = (self.d.property(window, "WM_STATE") or [0])[0] == 3
            self.record("hide-show", shown and now == frame and not iconic and "_NET_WM_STATE_HIDDEN" not in states,
                        f"show {round_}: shown={shown} at {now}, was {frame}, iconic={iconic}, states={sorted(states)}")
            if not shown:
                return self.shot(f"hidden-{round_}")
            self.check_focus(f"after show {round_}", window)
            changed = changed_pixels(under, self.d.grab(margin))
            self.record("transparent", changed == 0, f"{changed} of 144 margin pixels differ from the desktop behind")
        self.shot("after-hide-show")


def write_table(rows):
    lines = ["# The pet on each desktop", "", "Written by `tests/desktops/run.sh`, run by hand (it installs window "
             "managers); Xvfb at 1440x900 unless said. \"–\": does not apply or could not run.", "",
             "| desktop | " + " | ".join(COLUMNS.values()) + " |", "|---|" + "---|" * len(COLUMNS)]
    notes = []
    for name, results in rows:
        outcomes = [(key, *results.get(key, (None, "not reached"))) for key in COLUMNS]
        notes += [f"- {name}, {key}: {note}" for key, ok, note in outcomes
                  if ok is False or (ok is None and note and note != "not reached")]
        notes += [f"- {name}: stopped early: {results['_error']}"] if "_error" in results else []
        lines.append(f"| {name} | " + " | ".join(MARKS[ok] for _, ok, _ in outcomes) + " |")
    lines += ["", "## Notes", ""] + (notes or ["Nothing failed."])
    (ROOT / "docs" / "desktops.md").write_text("\n".join(lines) + "\n")
    print("\n".join(lines))


def play(exe, setup):
    return Scenario(exe, setup).run()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    exe, wanted, rows = str(Path(sys.argv[1]).resolve()), [w.lower() for w in sys.argv[2:]], []
    for setup in (s for s in SETUPS if not wanted or any(w in s.name.lower() for w in wanted)):
        print(f"== {setup.name}", flush=True)
        # A process per desktop: python-xlib cannot open a second display numbering its events otherwise (XWayland).
        with ProcessPoolExecutor(1) as pool:
            try:
                rows.append((setup.name, pool.submit(play, exe, setup).result()))
            except Exception as problem:
                rows.append((setup.name, {"_error": f"the desktop did not come up: {problem}"}))
        print(f"   {rows[-1][1]}", flush=True)
    write_table(rows)


if __name__ == "__main__":
    main()
