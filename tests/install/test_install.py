"""The .deb CPack makes (by `cmake --install`'s rules), unpacked: its control fields, the freedesktop
layout, its program started as its desktop entry starts it, and the login entry it writes.
Run as: GLUGMO_BUILD_DIR=build python3 test_install.py <project version>"""

import configparser
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest
from pathlib import Path

from PIL import Image

SOURCE = Path(__file__).resolve().parents[2]
# The runtime packages the program cannot start without, on Debian 12.
NEEDED = {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6dbus6", "libgif7", "libxcb1", "libxcb-shape0"}
VERSION = None


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


class InstallTest(unittest.TestCase):

    def assertValidEntry(self, path):
        check = subprocess.run(["desktop-file-validate", str(path)], capture_output=True, text=True)
        self.assertEqual((check.returncode, check.stdout + check.stderr), (0, ""), "valid, without even a hint")
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str  # keys are case-sensitive
        parser.read(path, encoding="utf-8")
        return parser["Desktop Entry"]

    def test_package(self):
        scratch = Path(tempfile.mkdtemp(prefix="glugmo-deb-"))
        self.addCleanup(shutil.rmtree, scratch, ignore_errors=True)
        run("cpack", "-G", "DEB", "-B", str(scratch), cwd=os.environ["GLUGMO_BUILD_DIR"])
        (deb,) = scratch.glob("*.deb")
        usr = scratch / "root" / "usr"
        run("dpkg-deb", "-x", str(deb), str(usr.parent))
        field = {name: run("dpkg-deb", "-f", str(deb), name).strip()
                 for name in ("Package", "Version", "Architecture", "Maintainer", "Section", "Depends")}
        arch = run("dpkg", "--print-architecture").strip()
        self.assertEqual([deb.name, field["Package"], field["Version"], field["Architecture"]],
                         [f"glugmo_{VERSION}_{arch}.deb", "glugmo", VERSION, arch])
        self.assertTrue(field["Maintainer"] and field["Section"])
        groups = [[re.sub(r"\s*\(.*\)", "", name).strip() for name in group.split("|")]
                  for group in field["Depends"].split(",")]
        self.assertLessEqual(NEEDED, {name for group in groups for name in group})
        self.assertIn(["fonts-wqy-microhei", "fonts-noto-cjk"], groups, "a Chinese font, either one")
        for group in groups:  # this machine runs the program, so a misspelt name shows up as missing
            statuses = subprocess.run(["dpkg-query", "-W", "-f", "${Status}\n", *group], capture_output=True,
                                      text=True).stdout
            self.assertIn("install ok installed", statuses, f"none of {group} is installed")
        paths = run("sh", "-c", 'dpkg-deb --fsys-tarfile "$0" | tar -t', str(deb)).split()
        self.assertEqual([p for p in paths if p != "./" and not p.startswith("./usr/")], [], "all under /usr")

        program = usr / "bin" / "glugmo"
        self.assertNotIn(".debug_info", run("readelf", "-S", str(program)), "the packaged program is stripped")
        pictures = [p.name for p in (SOURCE / "resources").iterdir() if p.suffix in (".gif", ".png")]
        pictures += [f"icons/{p.name}" for p in (SOURCE / "resources" / "icons").iterdir()]
        shared = usr / "share" / "glugmo"
        # The bubble's font, where the build could cut it.
        font = Path(os.environ["GLUGMO_BUILD_DIR"]) / "resources" / "fonts" / "glugmo-bubble.ttf"
        self.assertEqual({str(p.relative_to(shared)): p.read_bytes() for p in shared.rglob("*") if p.is_file()},
                         {name: (SOURCE / "resources" / name).read_bytes() for name in pictures}
                         | ({"fonts/glugmo-bubble.ttf": font.read_bytes()} if font.exists() else {}))
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            with Image.open(usr / f"share/icons/hicolor/{size}x{size}/apps/glugmo.png") as icon:
                self.assertEqual((icon.format, icon.size), ("PNG", (size, size)))
        entry = self.assertValidEntry(usr / "share" / "applications" / "glugmo.desktop")
        expected = {"Type": "Application", "Name": "Glugmo", "Name[zh_CN]": "咕噜宝",
                    "Exec": "glugmo", "Icon": "glugmo", "Terminal": "false"}
        self.assertEqual({k: entry.get(k) for k in expected}, expected)
        self.assertIn("Utility", entry["Categories"].split(";"))

        # Away from the build, only its own location leads it to its pictures; no desktop is needed to see that.
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME")
               and not k.startswith("QT_")} | {"HOME": str(scratch), "XDG_RUNTIME_DIR": str(scratch)}
        with subprocess.Popen([shutil.which(entry["Exec"], path=str(program.parent))], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True,
                              env=env | {"QT_QPA_PLATFORM": "offscreen", "GLG_DEBUG": ""}) as pet:
            (timer := threading.Timer(30, pet.kill)).start()
            line = pet.stdout.readline()
            timer.cancel(), pet.kill()
        self.assertRegex(line, r"^DEBUG visible=true .* hasImage=true$")
        # Started at login as it was started now; with no XDG_CONFIG_HOME, the entry goes in ~/.config.
        self.assertEqual(run(str(program), "--version", env=env), f"glugmo {VERSION}\n")
        autostart = scratch / ".config" / "autostart" / "glugmo.desktop"
        self.assertIn(str(autostart), run(str(program), "--autostart", "on", env=env))
        self.assertEqual(shlex.split(self.assertValidEntry(autostart)["Exec"]), [os.path.realpath(program)])
        run(str(program), "--autostart", "off", env=env)
        self.assertFalse(autostart.exists(), "entry removed")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} <version> [unittest options]")
    VERSION = sys.argv[1]
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
