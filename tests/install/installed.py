"""Checks shared by the install and package tests: what a prefix holding an
installed glugmo must contain, and its desktop entry."""

import configparser
import subprocess
from pathlib import Path

from PIL import Image

SOURCE = Path(__file__).resolve().parents[2]
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def program_pictures():
    """Names of the pictures the program reads: the top level of resources/."""
    folder = SOURCE / "resources"
    return sorted(p.name for p in folder.iterdir() if p.suffix in (".gif", ".png"))


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


class InstalledLayoutChecks:
    """Mixin for a unittest.TestCase with `self.prefix`, a folder laid out
    like /usr."""

    def check_layout(self):
        program = self.prefix / "bin" / "glugmo"
        self.assertTrue(program.is_file() and program.stat().st_mode & 0o111, f"{program} executable")
        shared = self.prefix / "share" / "glugmo"
        self.assertEqual(sorted(p.name for p in shared.iterdir()), sorted(program_pictures() + ["icons"]))
        tray_icons = [f"icons/glugmo-{size}.png" for size in ICON_SIZES]
        self.assertEqual(sorted(f"icons/{p.name}" for p in (shared / "icons").iterdir()), sorted(tray_icons))
        for name in program_pictures() + tray_icons:
            self.assertEqual((shared / name).read_bytes(), (SOURCE / "resources" / name).read_bytes(), name)
        for size in ICON_SIZES:
            icon = self.prefix / "share" / "icons" / "hicolor" / f"{size}x{size}" / "apps" / "glugmo.png"
            with Image.open(icon) as image:
                self.assertEqual((image.format, image.size), ("PNG", (size, size)), icon)
                alpha = image.convert("RGBA").getchannel("A")
                self.assertEqual(alpha.getpixel((0, 0)), 0, f"{icon}: transparent corner")
                self.assertEqual(alpha.getpixel((size // 2, size * 2 // 3)), 255, f"{icon}: drawn middle")

    def check_desktop_entry(self):
        path = self.prefix / "share" / "applications" / "glugmo.desktop"
        check = subprocess.run(["desktop-file-validate", str(path)], capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
        self.assertEqual(check.stdout + check.stderr, "", "no warnings or hints either")
        entry = desktop_entry(path)
        expected = {"Type": "Application", "Name": "Glugmo", "Name[zh_CN]": "咕噜宝",
                    "Exec": "glugmo", "Icon": "glugmo", "Terminal": "false"}
        self.assertEqual({k: entry.get(k) for k in expected}, expected)
        self.assertIn("Utility", entry["Categories"].split(";"))
        return entry
