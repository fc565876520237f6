"""The .deb CPack makes (by `cmake --install`'s rules), unpacked: its control fields, the
freedesktop layout, its program started as its desktop entry starts it, and its command line.
Run as: GLUGMO_BUILD_DIR=build python3 test_install.py path/to/glugmo <project version>"""

import configparser
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

import pet_test_case  # noqa: E402
from PIL import Image  # noqa: E402
from pet_test_case import PetTestCase  # noqa: E402

SOURCE = Path(__file__).resolve().parents[2]
# The runtime packages the program cannot start without, on Debian 12.
NEEDED = {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6dbus6", "libgif7", "libxcb1", "libxcb-shape0"}
VERSION = None


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


class InstallTest(PetTestCase):

    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="glugmo-deb-"))
        cls.addClassCleanup(shutil.rmtree, cls.scratch, ignore_errors=True)
        run("cpack", "-G", "DEB", "-B", str(cls.scratch), cwd=os.environ["GLUGMO_BUILD_DIR"])
        (cls.deb,) = cls.scratch.glob("*.deb")
        run("dpkg-deb", "-x", str(cls.deb), str(cls.scratch / "root"))
        cls.usr = cls.scratch / "root" / "usr"
        super().setUpClass()

    def assertValidEntry(self, path):
        check = subprocess.run(["desktop-file-validate", str(path)], capture_output=True, text=True)
        self.assertEqual((check.returncode, check.stdout + check.stderr), (0, ""), "valid, without even a hint")
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str  # keys are case-sensitive
        parser.read(path, encoding="utf-8")
        return parser["Desktop Entry"]

    def test_package(self):
        field = {name: run("dpkg-deb", "-f", str(self.deb), name).strip()
                 for name in ("Package", "Version", "Architecture", "Maintainer", "Section", "Depends")}
        arch = run("dpkg", "--print-architecture").strip()
        self.assertEqual([self.deb.name, field["Package"], field["Version"], field["Architecture"]],
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
        paths = run("sh", "-c", 'dpkg-deb --fsys-tarfile "$0" | tar -t', str(self.deb)).split()
        self.assertEqual([p for p in paths if p != "./" and not p.startswith("./usr/")], [], "all under /usr")

        program = self.usr / "bin" / "glugmo"
        self.assertNotIn(".debug_info", run("readelf", "-S", str(program)), "the packaged program is stripped")
        pictures = [p.name for p in (SOURCE / "resources").iterdir() if p.suffix in (".gif", ".png")]
        pictures += [f"icons/{p.name}" for p in (SOURCE / "resources" / "icons").iterdir()]
        shared = self.usr / "share" / "glugmo"
        self.assertEqual({str(p.relative_to(shared)): p.read_bytes() for p in shared.rglob("*") if p.is_file()},
                         {name: (SOURCE / "resources" / name).read_bytes() for name in pictures})
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            with Image.open(self.usr / f"share/icons/hicolor/{size}x{size}/apps/glugmo.png") as icon:
                self.assertEqual((icon.format, icon.size), ("PNG", (size, size)))
        entry = self.assertValidEntry(self.usr / "share" / "applications" / "glugmo.desktop")
        expected = {"Type": "Application", "Name": "Glugmo", "Name[zh_CN]": "咕噜宝",
                    "Exec": "glugmo", "Icon": "glugmo", "Terminal": "false"}
        self.assertEqual({k: entry.get(k) for k in expected}, expected)
        self.assertIn("Utility", entry["Categories"].split(";"))
        # Away from the build, only its own location leads it to its pictures.
        pet = self.launch(shutil.which(entry["Exec"], path=str(program.parent)), debug="")
        self.assertTrue(pet.output_line("DEBUG visible=", 8).endswith("hasImage=true"))
        self.snapshot("from-deb")

    def test_command_line(self):
        home, usage = self.home.path, ("Usage:", "--help", "--version", "--autostart on|off")
        rows = [  # arguments, environment -> exit status, the stream that answers, texts in it
            (["--help"], {}, 0, "stdout", usage),
            (["--version"], {}, 0, "stdout", [f"glugmo {VERSION}\n"]),
            (["--frobnicate"], {}, 2, "stderr", ["glugmo: ", *usage]),
            (["--autostart", "on"], {"XDG_CONFIG_HOME": str(home / "cfg")}, 0, "stdout",
             [str(home / "cfg" / "autostart" / "glugmo.desktop")]),
            (["--autostart", "on"], {"XDG_CONFIG_HOME": ""}, 0, "stdout",
             [str(home / ".config" / "autostart" / "glugmo.desktop")]),
        ]
        program = str(self.usr / "bin" / "glugmo")
        for args, env, status, stream, texts in rows:
            with self.subTest(args=args, env=env):
                env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "GLG_DEBUG")
                       and not k.startswith("QT_")} | {"HOME": str(home)} | env
                result = subprocess.run([program, *args], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                                        text=True, timeout=10)
                answer, other = (result.stdout, result.stderr)[::1 if stream == "stdout" else -1]
                self.assertEqual((result.returncode, other), (status, ""))
                self.assertTrue(all(text in answer for text in texts), answer)
                if args[0] == "--autostart":
                    entry = self.assertValidEntry(texts[0])
                    self.assertEqual(shlex.split(entry["Exec"]), [os.path.realpath(program)])
                    self.assertEqual(subprocess.run([program, "--autostart", "off"], env=env, capture_output=True)
                                     .returncode, 0)
                    self.assertFalse(Path(texts[0]).exists(), "entry removed")


if __name__ == "__main__":
    if len(sys.argv) < 3 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} path/to/glugmo <version> [unittest options]")
    pet_test_case.exe, VERSION = os.path.abspath(sys.argv[1]), sys.argv[2]
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]], verbosity=2)
