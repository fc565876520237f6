"""The one scenario every desktop runs, as a user of it would meet the pet,
with each outcome recorded under a column of the table."""

import subprocess
import time

from Xlib import X, Xatom, display, protocol

from desktop import wait_for
from pet_geometry import DEFAULT_SIZE, centre, default_frame, pet_rect
from pet_process import Pet
from pixels import changed_pixels

COLUMNS = [
    ("position", "placed in the free area"),
    ("undecorated", "no frame"),
    ("above", "stays above"),
    ("workspaces", "every workspace"),
    ("focus", "no focus, no attention"),
    ("margin", "margin click passes"),
    ("bubble", "bubble above, on screen"),
    ("drag", "drag"),
    ("hide-show", "hide/show x3, no drift"),
    ("menu", "right-click menu"),
    ("tray", "tray icon / menu on relaunch"),
    ("transparent", "no black box"),
]

QUOTE, HIDE = 2, 8  # Down presses to these items of the menu


class Cover:
    """An ordinary window (a dialog, so tiling managers float it) put over the
    pet and raised, as when the user brings another program to the front."""

    COLOUR = (0, 200, 0)

    def __init__(self, desktop, box):
        self._x = display.Display(desktop.name)
        screen = self._x.screen()
        x, y, w, h = box
        self.window = screen.root.create_window(
            x, y, w, h, 0, screen.root_depth,
            background_pixel=(self.COLOUR[0] << 16) | (self.COLOUR[1] << 8) | self.COLOUR[2])
        self.window.set_wm_name("cover")
        atom = self._x.intern_atom
        self.window.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                                    [atom("_NET_WM_WINDOW_TYPE_DIALOG")])
        self.window.set_wm_normal_hints(flags=1 | 2, x=x, y=y, width=w, height=h)
        self.window.map()
        self._x.sync()
        time.sleep(0.5)
        # As a taskbar or pager asks for it: raised and activated.
        root = screen.root
        event = protocol.event.ClientMessage(window=self.window, client_type=atom("_NET_ACTIVE_WINDOW"),
                                             data=(32, [2, X.CurrentTime, 0, 0, 0]))
        root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.window.configure(stack_mode=X.Above)
        self._x.sync()

    def close(self):
        self.window.destroy()
        self._x.close()


class Scenario:
    def __init__(self, exe, desktop, home, pets, setup, results, shots):
        self.exe, self.d, self.home = exe, desktop, home
        self.pets, self.setup, self.results, self.shots = pets, setup, results, shots
        self.scale = float(setup.pet_env.get("QT_SCALE_FACTOR", 1))
        shots.mkdir(parents=True, exist_ok=True)

    # --- recording --------------------------------------------------------

    def record(self, key, ok, note=""):
        """Keeps the first failure of a column; a later pass does not hide it."""
        if self.results.get(key, (True,))[0] is not False:
            self.results[key] = (ok, note)

    def shot(self, label):
        self.d.screenshot(self.shots / f"{label}.png")

    # --- reading the desktop ------------------------------------------------

    def launch(self):
        pet = Pet(self.exe, self.d, self.home, extra_env=self.setup.pet_env)
        self.pets.append(pet)
        return pet

    def top_level(self, window):
        """The window, or the window manager's frame around it, under the root."""
        chain = self.d.ancestors(window)
        return chain[-1] if chain else window

    def stacking(self):
        return [w.id for w in self.d.root.query_tree().children]

    def above(self, upper, lower):
        order = self.stacking()
        return order.index(self.top_level(upper).id) > order.index(self.top_level(lower).id)

    def states(self, window):
        value = self.d.property(window, "_NET_WM_STATE", Xatom.ATOM) or []
        return {self.d.x.get_atom_name(a) for a in value}

    def iconic(self, window):
        value = self.d.property(window, "WM_STATE")
        return bool(value is not None and len(value) and value[0] == 3)

    def check_focus(self, when, *windows):
        ours = {w.id for w in windows} | {self.top_level(w).id for w in windows}
        active = (self.d.property(self.d.root, "_NET_ACTIVE_WINDOW", Xatom.WINDOW) or [0])[0]
        focus = self.d.x.get_input_focus().focus
        focus_id = focus.id if hasattr(focus, "id") else focus
        for window in windows:
            if "_NET_WM_STATE_DEMANDS_ATTENTION" in self.states(window):
                self.record("focus", False, f"asks for attention {when}")
                return
        if active in ours:
            self.record("focus", False, f"active window {when}")
        elif focus_id in ours:
            self.record("focus", False, f"keyboard focus {when}")
        else:
            self.record("focus", True)

    def expected_frame(self):
        s = self.scale
        area = tuple(v / s for v in self.d.free_area())
        return tuple(v * s for v in default_frame(area))

    def pet_box(self, frame):
        s = self.scale
        return tuple(v * s for v in pet_rect(tuple(v / s for v in frame), DEFAULT_SIZE))

    # --- the scenario -----------------------------------------------------

    def run(self):
        pet = self.launch()
        window = pet.window()
        time.sleep(0.5)
        self.shot("start")
        self.check_placement(window)
        self.check_focus("at start", window)
        self.check_margin(window)
        self.check_bubble(pet, window)
        self.check_above(window)
        self.check_workspaces(window)
        self.check_drag(window)
        self.check_hide_show(pet, window)
        self.check_menu(pet, window)
        self.check_tray(pet)

    def check_placement(self, window):
        frame = self.d.geometry(window)
        want = self.expected_frame()
        off = max(abs(a - b) for a, b in zip(frame, want))
        self.record("position", off <= 2, f"at {frame}, expected {tuple(round(v) for v in want)}")
        top = self.top_level(window)
        outer = self.d.geometry(top)
        self.record("undecorated", outer[2:] == frame[2:],
                    f"frame {outer} around the window {frame}")

    def check_margin(self, window):
        x, y, _, _ = self.d.geometry(window)
        self.d.xdotool("mousemove", x + 3, y + 3)
        time.sleep(0.2)
        child = self.d.root.query_pointer().child
        child_id = child.id if hasattr(child, "id") else child
        self.record("margin", child_id != self.top_level(window).id,
                    "the window's transparent margin takes the pointer")

    def check_bubble(self, pet, window):
        rect = self.pet_box(self.d.geometry(window))
        self.d.click(centre(rect))
        try:
            bubble = wait_for(lambda: pet.bubble(window), 3, "the bubble")
        except AssertionError:
            self.record("bubble", False, "no bubble after a click")
            return
        time.sleep(0.4)
        self.shot("bubble")
        box = self.d.geometry(bubble)
        monitor = self.d.monitors()[0]
        inside = (box[0] >= monitor[0] and box[1] >= monitor[1]
                  and box[0] + box[2] <= monitor[0] + monitor[2]
                  and box[1] + box[3] <= monitor[1] + monitor[3])
        over = box[1] + box[3] <= rect[1] + 1
        centred = abs((box[0] + box[2] / 2) - (rect[0] + rect[2] / 2)) <= 2
        self.record("bubble", inside and over and centred and self.above(bubble, window),
                    f"bubble {box}, pet {tuple(round(v) for v in rect)}, "
                    f"{'stacked above' if self.above(bubble, window) else 'stacked below'} the pet")
        self.check_focus("with a bubble", window, bubble)
        wait_for(lambda: pet.bubble(window) is None, 6, "the bubble to go")

    def check_above(self, window):
        x, y, w, h = self.d.geometry(window)
        cover = Cover(self.d, (x - 50, y - 50, w + 100, h + 100))
        try:
            # Tiling window managers centre a new floating window at a size
            # of their own; put it over the pet as a user would.
            place = ['[title="^cover$"]', "resize", "set", str(w + 100), str(h + 100), ",",
                     "move", "position", str(x - 50), str(y - 50), ",", "focus"]
            if self.setup.kind == "sway":
                self.d.swaymsg(*place)
            elif self.setup.name == "i3":
                subprocess.run(["i3-msg", "-q", *place], check=False,
                               env={"DISPLAY": self.d.name, "PATH": "/usr/bin:/bin"})
            time.sleep(1.0)
            self.shot("covered")
            inner = self.pet_box(self.d.geometry(window))
            cx, cy = centre(inner)
            pixel = self.d.grab((cx - 2, cy - 2, 4, 4)).getpixel((1, 1))
            shown = max(abs(a - b) for a, b in zip(pixel, Cover.COLOUR)) > 30
            cover_top = self.d.x.create_resource_object("window", cover.window.id)
            cx0, cy0, cw, ch = self.d.geometry(cover_top)
            if not (cx0 <= x and cy0 <= y and cx0 + cw >= x + w and cy0 + ch >= y + h):
                self.record("above", None, f"the covering window landed at {(cx0, cy0, cw, ch)}")
                return
            self.record("above", shown and self.above(window, cover_top),
                        "a window raised over the pet hides it")
            self.check_focus("with another window raised", window)
        finally:
            cover.close()

    def switch_workspace(self, index):
        if self.setup.kind == "sway":
            self.d.swaymsg("workspace", "number", str(index + 1))
            return
        if self.setup.name == "i3":
            subprocess.run(["i3-msg", "-q", "workspace", str(index + 1)], check=False,
                           env={"DISPLAY": self.d.name, "PATH": "/usr/bin:/bin"})
            return
        root = self.d.root
        atom = self.d.atom
        for name, value in (("_NET_NUMBER_OF_DESKTOPS", 2), ("_NET_CURRENT_DESKTOP", index)):
            event = protocol.event.ClientMessage(window=root, client_type=atom(name),
                                                 data=(32, [value, X.CurrentTime, 0, 0, 0]))
            root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.d.x.sync()

    def current_workspace(self):
        return (self.d.property(self.d.root, "_NET_CURRENT_DESKTOP", Xatom.CARDINAL) or [None])[0]

    def check_workspaces(self, window):
        before = self.current_workspace()
        self.switch_workspace(1)
        time.sleep(1.0)
        after = self.current_workspace()
        if after == before and self.setup.name != "i3" and self.setup.kind != "sway":
            self.record("workspaces", None, "could not switch to a second workspace")
            return
        self.shot("workspace-2")
        self.record("workspaces", self.d.viewable(window) and self.d.viewable(self.top_level(window)),
                    f"not shown on workspace {after}")
        self.switch_workspace(0)
        time.sleep(0.7)

    def check_drag(self, window):
        frame = self.d.geometry(window)
        start = centre(self.pet_box(frame))
        self.d.drag(start, (start[0] - 300, start[1] - 200))
        time.sleep(1.0)
        moved = self.d.geometry(window)
        # A window manager's move starts once the pointer passed the drag
        # distance, so it may fall that much short.
        off = max(abs(moved[0] - (frame[0] - 300)), abs(moved[1] - (frame[1] - 200)))
        self.record("drag", off <= 12 * self.scale, f"dragged by (-300, -200) from {frame[:2]}, now at {moved[:2]}")
        self.check_focus("after a drag", window)

    def show_again(self, pet):
        if self.setup.tray:
            self.tray_menu(pet, HIDE)
        else:
            # A second launch brings the pet back and opens its menu beside it.
            self.launch()
            wait_for(pet.menu, 4, "the menu from a second launch")
            self.d.keys("Escape")
            wait_for(lambda: pet.menu() is None, 3, "the menu to close")

    def tray_icon(self, pet):
        """Our icon docked in the tray, wherever the tray lives (a panel, or
        the window manager's own toolbar): the window of ours, other than
        the pet and its bubble, that something took in as its child."""
        for window in pet._own_windows():
            if (self.d.viewable(window) and self.d.ancestors(window)
                    and "_NET_WM_WINDOW_TYPE_UTILITY" not in self.d.window_types(window)):
                return window
        return None

    def tray_menu(self, pet, downs):
        icon = wait_for(lambda: self.tray_icon(pet), 5, "the tray icon")
        self.d.click(centre(self.d.geometry(icon)), button=3)
        wait_for(pet.menu, 5, "the tray menu")
        self.d.keys(*["Down"] * downs, "Return")
        wait_for(lambda: pet.menu() is None, 3, "the menu to close")
        time.sleep(0.5)  # a popup just closed keeps the pointer grab a moment

    def check_hide_show(self, pet, window):
        frame = self.d.geometry(window)
        # The bottom-left corner: a long quote's bubble may reach over the top.
        x, y, _, h = frame
        margin = (x, y + h - 12, 12, 12)
        for round_ in range(1, 4):
            self.d.click(centre(self.pet_box(frame)), repeat=2, delay_ms=100)
            wait_for(lambda: not self.d.viewable(window), 3, "the pet to hide")
            time.sleep(0.3)
            under = self.d.grab(margin)
            if self.setup.tray:  # a bubble on screen while the pet is hidden
                self.tray_menu(pet, QUOTE)
            self.show_again(pet)
            try:
                wait_for(lambda: self.d.viewable(window), 4, "the pet to come back")
            except AssertionError:
                self.record("hide-show", False,
                            f"show {round_}: not back; iconic={self.iconic(window)}, "
                            f"states={sorted(self.states(window))}")
                self.shot(f"hidden-{round_}")
                return
            time.sleep(0.6)
            now = self.d.geometry(window)
            hidden = self.iconic(window) or "_NET_WM_STATE_HIDDEN" in self.states(window)
            self.record("hide-show", now == frame and not hidden,
                        f"show {round_}: at {now}, was {frame}, minimised={hidden}")
            self.check_focus(f"after show {round_}", window)
            changed = changed_pixels(under, self.d.grab(margin))
            self.record("transparent", changed == 0,
                        f"{changed} of 144 margin pixels differ from the desktop behind")
        self.shot("after-hide-show")

    def check_menu(self, pet, window):
        self.d.click(centre(self.pet_box(self.d.geometry(window))), button=3)
        try:
            wait_for(pet.menu, 3, "the pet's menu")
            self.shot("menu")
            self.record("menu", True)
        except AssertionError:
            self.record("menu", False, "no menu after a right click")
        self.d.keys("Escape")
        time.sleep(0.3)

    def check_tray(self, pet):
        if self.setup.tray:
            try:
                wait_for(lambda: self.tray_icon(pet), 5, "the tray icon")
                self.record("tray", True)
            except AssertionError:
                self.record("tray", False, "no icon in the tray")
            return
        self.launch()
        try:
            wait_for(pet.menu, 4, "the menu from a second launch")
            self.shot("menu-from-relaunch")
            self.record("tray", True)
        except AssertionError:
            self.record("tray", False, "no tray, and a second launch opens no menu")
        self.d.keys("Escape")
