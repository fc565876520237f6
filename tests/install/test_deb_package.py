"""The .deb that CPack makes: its control fields, its files, and the program
it carries, unpacked into a scratch root and started the way the desktop
entry starts it.

Run as: python3 test_deb_package.py path/to/glugmo [unittest options]
with GLUGMO_BUILD_DIR naming the build folder.
"""

import io
import os
import re
import shutil
import subprocess
import tarfile
import tempfile
from pathlib import Path

import e2e_path  # noqa: F401  (puts tests/e2e on the path)
from installed import InstalledLayoutChecks, desktop_entry
from pet_process import Pet
from pet_test_case import PetTestCase, main

# The runtime packages the program cannot start without, on Debian 12.
NEEDED = ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6", "libqt6dbus6",
          "libgif7", "libxcb1", "libxcb-shape0")
CJK_FONTS = ("fonts-wqy-microhei", "fonts-noto-cjk")


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def installed(package):
    result = subprocess.run(["dpkg-query", "-W", "-f", "${Status}", package], capture_output=True, text=True)
    return result.stdout == "install ok installed"


class DebPackageTest(PetTestCase, InstalledLayoutChecks):

    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="glugmo-deb-"))
        build = os.environ["GLUGMO_BUILD_DIR"]
        run("cpack", "-G", "DEB", "-B", str(cls.scratch / "out"), cwd=build)
        debs = list((cls.scratch / "out").glob("*.deb"))
        assert len(debs) == 1, debs
        cls.deb = debs[0]
        cls.root = cls.scratch / "root"
        run("dpkg-deb", "-x", str(cls.deb), str(cls.root))
        cls.prefix = cls.root / "usr"
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def field(self, name):
        return run("dpkg-deb", "-f", str(self.deb), name).strip()

    def test_control_fields(self):
        version = run(str(self.prefix / "bin" / "glugmo"), "--version").split()[-1]
        arch = run("dpkg", "--print-architecture").strip()
        self.assertEqual(self.deb.name, f"glugmo_{version}_{arch}.deb")
        self.assertEqual((self.field("Package"), self.field("Version"), self.field("Architecture")),
                         ("glugmo", version, arch))
        self.assertTrue(self.field("Maintainer"))
        self.assertTrue(self.field("Section"))
        self.assertIn("Depends:", run("dpkg-deb", "-I", str(self.deb)))

    def test_depends_names_every_runtime_package_and_this_machine_has_them(self):
        groups = [[re.sub(r"\s*\(.*\)", "", alt).strip() for alt in group.split("|")]
                  for group in self.field("Depends").split(",")]
        names = {name for group in groups for name in group}
        for package in NEEDED:
            self.assertIn(package, names)
        self.assertIn(list(CJK_FONTS), groups, "a Chinese font, either one")
        # The tests run the program here, so every group must be satisfied:
        # a misspelt package name shows up as missing.
        for group in groups:
            self.assertTrue(any(installed(name) for name in group), f"none of {group} is installed")

    def test_files_under_usr(self):
        tar = subprocess.run(["dpkg-deb", "--fsys-tarfile", str(self.deb)], check=True, capture_output=True)
        with tarfile.open(fileobj=io.BytesIO(tar.stdout)) as contents:
            paths = contents.getnames()
        self.assertTrue(all(p in (".", "./usr") or p.startswith("./usr/") for p in paths), paths)
        self.check_layout()
        self.check_desktop_entry()
        self.assertNotIn(".debug_info", run("readelf", "-S", str(self.prefix / "bin" / "glugmo")),
                         "the packaged program is stripped")

    def test_unpacked_pet_starts_from_its_desktop_entry(self):
        exec_line = desktop_entry(self.prefix / "share" / "applications" / "glugmo.desktop")["Exec"]
        program = shutil.which(exec_line.split()[0], path=str(self.prefix / "bin"))
        self.assertIsNotNone(program, f"Exec={exec_line} found in the package's bin/")
        pet = Pet(program, self.desktop, self.home, debug="")
        self.addCleanup(self.stop, pet)
        status = pet.output_line("DEBUG visible=", 8)
        self.assertTrue(status.endswith("hasImage=true"), status)
        self.snapshot("from-deb")


if __name__ == "__main__":
    main()
