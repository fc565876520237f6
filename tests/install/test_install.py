"""The .deb that CPack makes (from the same rules as `cmake --install`),
unpacked into a scratch root: its control fields, the freedesktop layout, a
valid desktop entry, the program it carries started the way that entry
starts it, and that program's command line with no display at all.

Run as: python3 test_install.py path/to/glugmo <project version>
with GLUGMO_BUILD_DIR naming the build folder.
"""

import configparser
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

import pet_test_case  # noqa: E402
from pet_process import Pet  # noqa: E402
from pet_test_case import PetTestCase  # noqa: E402
from PIL import Image  # noqa: E402

SOURCE = Path(__file__).resolve().parents[2]
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
# The runtime packages the program cannot start without, on Debian 12.
NEEDED = ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6", "libgif7", "libxcb1", "libxcb-shape0")
CJK_FONTS = ["fonts-wqy-microhei", "fonts-noto-cjk"]
VERSION = None


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def assertValidEntry(test, path):
    check = subprocess.run(["desktop-file-validate", str(path)], capture_output=True, text=True)
    test.assertEqual((check.returncode, check.stdout + check.stderr), (0, ""), "valid, without even a hint")


class InstallTest(PetTestCase):

    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="glugmo-deb-"))
        run("cpack", "-G", "DEB", "-B", str(cls.scratch / "out"), cwd=os.environ["GLUGMO_BUILD_DIR"])
        (cls.deb,) = (cls.scratch / "out").glob("*.deb")
        run("dpkg-deb", "-x", str(cls.deb), str(cls.scratch / "root"))
        cls.prefix = cls.scratch / "root" / "usr"
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def test_package_and_its_layout(self):
        field = {name: run("dpkg-deb", "-f", str(self.deb), name).strip()
                 for name in ("Package", "Version", "Architecture", "Maintainer", "Section", "Depends")}
        arch = run("dpkg", "--print-architecture").strip()
        self.assertEqual(self.deb.name, f"glugmo_{VERSION}_{arch}.deb")
        self.assertEqual((field["Package"], field["Version"], field["Architecture"]), ("glugmo", VERSION, arch))
        self.assertTrue(field["Maintainer"] and field["Section"])
        groups = [[re.sub(r"\s*\(.*\)", "", alt).strip() for alt in group.split("|")]
                  for group in field["Depends"].split(",")]
        self.assertLessEqual(set(NEEDED), {name for group in groups for name in group})
        self.assertIn(CJK_FONTS, groups, "a Chinese font, either one")
        # The tests run the program here, so a misspelt name shows up as missing.
        for group in groups:
            statuses = [subprocess.run(["dpkg-query", "-W", "-f", "${Status}", name],
                                       capture_output=True, text=True).stdout for name in group]
            self.assertIn("install ok installed", statuses, f"none of {group} is installed")
        paths = run("sh", "-c", 'dpkg-deb --fsys-tarfile "$0" | tar -t', str(self.deb)).split()
        self.assertEqual([p for p in paths if p not in ("./", "./usr/") and not p.startswith("./usr/")], [])

        program = self.prefix / "bin" / "glugmo"
        self.assertNotIn(".debug_info", run("readelf", "-S", str(program)), "the packaged program is stripped")
        pictures = sorted(p.name for p in (SOURCE / "resources").iterdir() if p.suffix in (".gif", ".png"))
        shared = self.prefix / "share" / "glugmo"
        self.assertEqual(sorted(p.name for p in shared.iterdir()), pictures)
        for name in pictures:
            self.assertEqual((shared / name).read_bytes(), (SOURCE / "resources" / name).read_bytes(), name)
        for size in ICON_SIZES:
            with Image.open(self.prefix / "share" / "icons" / "hicolor" / f"{size}x{size}" / "apps"
                            / "glugmo.png") as image:
                self.assertEqual((image.format, image.size), ("PNG", (size, size)))
                alpha = image.convert("RGBA").getchannel("A")
                self.assertEqual((alpha.getpixel((0, 0)), alpha.getpixel((size // 2, size * 2 // 3))), (0, 255),
                                 f"{size}px icon: a transparent corner and a drawn middle")

        path = self.prefix / "share" / "applications" / "glugmo.desktop"
        assertValidEntry(self, path)
        entry = desktop_entry(path)
        expected = {"Type": "Application", "Name": "Glugmo", "Name[zh_CN]": "咕噜宝",
                    "Exec": "glugmo", "Icon": "glugmo", "Terminal": "false"}
        self.assertEqual({k: entry.get(k) for k in expected}, expected)
        self.assertIn("Utility", entry["Categories"].split(";"))
        # Away from the build, the program can only find its pictures through
        # its own location.
        pet = Pet(shutil.which(entry["Exec"], path=str(program.parent)), self.desktop, self.home, debug="")
        self.addCleanup(self.stop, pet)
        status = pet.output_line("DEBUG visible=", 8)
        self.assertTrue(status.endswith("hasImage=true"), status)
        self.snapshot("from-deb")

    def test_command_line(self):
        program = str(self.prefix / "bin" / "glugmo")
        home = self.home.path
        usage = ("Usage:", "--help", "--version", "--autostart on|off")
        rows = [  # arguments, extra environment -> exit status, whether stdout or stderr has the text
            (["--help"], {}, 0, "stdout", usage), (["-h"], {}, 0, "stdout", usage),
            (["--version"], {}, 0, "stdout", [f"glugmo {VERSION}\n"]), (["-v"], {}, 0, "stdout", ["glugmo "]),
            (["--frobnicate"], {}, 2, "stderr", ("glugmo: ", *usage)), (["pet"], {}, 2, "stderr", usage),
            (["--autostart", "maybe"], {}, 2, "stderr", usage), (["--version", "--help"], {}, 2, "stderr", usage),
            (["--autostart", "on"], {"XDG_CONFIG_HOME": str(home / "config")}, 0, "stdout",
             [str(home / "config" / "autostart" / "glugmo.desktop")]),
            (["--autostart", "on"], {"XDG_CONFIG_HOME": ""}, 0, "stdout",
             [str(home / ".config" / "autostart" / "glugmo.desktop")]),
        ]
        for args, env, status, stream, texts in rows:
            with self.subTest(args=args, env=env):
                env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "GLG_DEBUG")
                       and not k.startswith("QT_")} | {"HOME": str(home)} | env
                result = subprocess.run([program, *args], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                                        text=True, timeout=10)
                out, other = (result.stdout, result.stderr) if stream == "stdout" else (result.stderr, result.stdout)
                self.assertEqual((result.returncode, other), (status, ""))
                for text in texts:
                    self.assertTrue(out.startswith(text) if text.startswith("glugmo") else text in out, out)
                if args[0] == "--autostart" and status == 0:
                    written = Path(texts[0])
                    assertValidEntry(self, written)
                    self.assertEqual(shlex.split(desktop_entry(written)["Exec"]), [os.path.realpath(program)])
                    off = subprocess.run([program, "--autostart", "off"], env=env, capture_output=True)
                    self.assertEqual(off.returncode, 0)
                    self.assertFalse(written.exists(), "entry removed")


if __name__ == "__main__":
    if len(sys.argv) < 3 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} path/to/glugmo <version> [unittest options]")
    pet_test_case.exe, VERSION = os.path.abspath(sys.argv[1]), sys.argv[2]
    import unittest
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]], verbosity=2)
