"""`cmake --install` into a fresh prefix: the freedesktop layout, a valid
desktop entry, and an installed program that finds its own pictures in
../share/glugmo with no help from the environment.

Run as: python3 test_install_layout.py path/to/glugmo [unittest options]
with GLUGMO_BUILD_DIR naming the build folder.
"""

import os
import shutil
import subprocess
import tempfile
from pathlib import Path

import e2e_path  # noqa: F401  (puts tests/e2e on the path)
from installed import InstalledLayoutChecks
from pet_process import Pet
from pet_test_case import PetTestCase, main


class InstallLayoutTest(PetTestCase, InstalledLayoutChecks):

    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="glugmo-install-"))
        cls.prefix = cls.scratch / "prefix"
        subprocess.run(["cmake", "--install", os.environ["GLUGMO_BUILD_DIR"], "--prefix", str(cls.prefix)],
                       check=True, stdout=subprocess.DEVNULL)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def test_files_are_where_desktops_look_for_them(self):
        self.check_layout()

    def test_desktop_entry_is_valid_and_starts_glugmo(self):
        self.check_desktop_entry()

    def test_installed_program_finds_its_pictures_beside_its_folder(self):
        # Moved away from the build, the program can only have found its
        # pictures through its own location.
        pet = Pet(str(self.prefix / "bin" / "glugmo"), self.desktop, self.home, debug="")
        self.addCleanup(self.stop, pet)
        status = pet.output_line("DEBUG visible=", 8)
        self.assertTrue(status.endswith("hasImage=true"), status)
        self.snapshot("installed")


if __name__ == "__main__":
    main()
