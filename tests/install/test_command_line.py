"""The command line of the real executable, with no display at all: help,
version, wrong options, and the login autostart entry it writes and removes.

Run as: python3 test_command_line.py path/to/glugmo <project version>
"""

import configparser
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

EXE = None
VERSION = None


def run(*args, env_extra=None):
    """glugmo with `args` in an environment without any display."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "GLG_DEBUG") and not k.startswith("QT_")}
    env.update(env_extra or {})
    return subprocess.run([EXE, *args], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, encoding="utf-8", timeout=10)


class CommandLineTest(unittest.TestCase):

    def assertUsage(self, text):
        self.assertIn("Usage:", text)
        for option in ("--help", "--version", "--autostart on|off"):
            self.assertIn(option, text)

    def test_help_prints_the_usage_and_exits_0(self):
        for option in ("--help", "-h"):
            with self.subTest(option):
                result = run(option)
                self.assertEqual(result.returncode, 0)
                self.assertUsage(result.stdout)
                self.assertEqual(result.stderr, "")

    def test_version_prints_the_project_version_and_exits_0(self):
        for option in ("--version", "-v"):
            with self.subTest(option):
                result = run(option)
                self.assertEqual((result.returncode, result.stdout), (0, f"glugmo {VERSION}\n"))

    def test_a_wrong_command_line_prints_the_usage_on_stderr_and_exits_2(self):
        for args in (["--frobnicate"], ["-x"], ["pet"], ["--autostart"], ["--autostart", "maybe"],
                     ["--version", "--help"]):
            with self.subTest(args=args):
                result = run(*args)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, "")
                self.assertTrue(result.stderr.startswith("glugmo: "), result.stderr)
                self.assertUsage(result.stderr)

    def test_autostart_on_writes_an_entry_that_starts_this_program_and_off_removes_it(self):
        root = Path(tempfile.mkdtemp(prefix="glugmo-autostart-"))
        self.addCleanup(shutil.rmtree, root, ignore_errors=True)
        cases = [  # (environment, where the entry must go)
            ({"HOME": str(root / "home"), "XDG_CONFIG_HOME": str(root / "config")},
             root / "config" / "autostart" / "glugmo.desktop"),
            ({"HOME": str(root / "home")}, root / "home" / ".config" / "autostart" / "glugmo.desktop"),
        ]
        for env, entry in cases:
            with self.subTest(env=sorted(env)):
                extra = dict(env)
                if "XDG_CONFIG_HOME" not in env:
                    extra["XDG_CONFIG_HOME"] = ""
                result = run("--autostart", "on", env_extra=extra)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertIn(str(entry), result.stdout)
                parser = configparser.ConfigParser(interpolation=None)
                parser.optionxform = str
                parser.read(entry, encoding="utf-8")
                desktop = parser["Desktop Entry"]
                self.assertEqual(desktop["Type"], "Application")
                self.assertEqual(shlex.split(desktop["Exec"]), [os.path.realpath(EXE)])
                check = subprocess.run(["desktop-file-validate", str(entry)], capture_output=True, text=True)
                self.assertEqual(check.returncode, 0, check.stdout + check.stderr)

                result = run("--autostart", "off", env_extra=extra)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertFalse(entry.exists(), "entry removed")


if __name__ == "__main__":
    if len(sys.argv) < 3 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} path/to/glugmo <version> [unittest options]")
    EXE, VERSION = os.path.abspath(sys.argv[1]), sys.argv[2]
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]], verbosity=2)
