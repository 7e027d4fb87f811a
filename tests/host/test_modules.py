"""Loading the modules: each loads the modules it needs, in any order a script imports them;
a missing module or name fails with the host's import error and leaves nothing registered."""

import os
import tempfile
import textwrap
import unittest
from pathlib import Path

from host_support import PYTHON_DIR, SAMPLE, run_python

SYSTEM = ("App", "ifc", "config", "Sect", "Beam", "Palvek", "Utils", "Verdamo")


def loaded_after(code):
    """The system's modules in sys.modules after code runs in a fresh interpreter."""
    result = run_python(code + f"\nimport sys\nprint(sorted(m for m in sys.modules if m in {SYSTEM!r}))")
    if result.returncode != 0:
        raise AssertionError(result.stderr)
    return eval(result.stdout.strip().splitlines()[-1])


def module_file(name):
    if name == "config":
        return PYTHON_DIR / "config.py"
    return next(PYTHON_DIR.glob(name + ".*.so"))


class LoadOrderTest(unittest.TestCase):
    def test_each_module_loads_what_it_needs_and_no_more(self):
        for code, expected in [
            ("import App", ["App"]),
            ("import Beam", ["App", "Beam"]),
            ("import Palvek", ["App", "Palvek"]),
            ("import Sect", ["App", "Sect", "config", "ifc"]),
            ("import Utils", ["App", "Sect", "Utils", "config", "ifc"]),
            ("import Verdamo", ["Verdamo"]),
            # In the order of the system and against it: the same modules in the end.
            ("import App, Sect, Beam, Palvek, Utils, Verdamo", sorted(SYSTEM)),
            ("import Verdamo, Utils, Palvek, Beam, Sect, App", sorted(SYSTEM)),
            # The driver loads its collaborators when a conversion runs.
            ("import Verdamo, tempfile, os\n"
             "with tempfile.TemporaryDirectory() as d:\n"
             f"    Verdamo.Create({str(SAMPLE)!r}, os.path.join(d, 'out.ifc'))",
             sorted(SYSTEM)),
        ]:
            with self.subTest(code=code):
                self.assertEqual(loaded_after(code), expected)

    def test_a_second_import_gives_the_same_functions(self):
        result = run_python(textwrap.dedent("""
            import sys
            import Utils, Sect
            before = (Utils.create_guid, Sect.makeProfiles, Utils.makeProfiles)
            del sys.modules["Utils"]
            import Utils
            assert Utils.makeProfiles is Sect.makeProfiles
            print(Utils.create_guid is before[0], before[1] is before[2])
            """))
        self.assertEqual(result.stdout.split(), ["True", "True"], result.stderr)


class ImportErrorTest(unittest.TestCase):
    def import_without(self, missing, code, fakes=None):
        """Runs code with the built modules less `missing`, and fake modules (name -> source)
        found first; returns the process."""
        with tempfile.TemporaryDirectory() as partial, tempfile.TemporaryDirectory() as first:
            for entry in PYTHON_DIR.iterdir():
                if entry.name not in {module_file(m).name for m in missing}:
                    os.symlink(entry, Path(partial) / entry.name)
            for name, source in (fakes or {}).items():
                (Path(first) / (name + ".py")).write_text(source)
            return run_python(code, first, partial)

    def test_a_missing_module_or_name_fails_the_import_that_needs_it(self):
        check = ("import sys\ntry:\n    {statement}\nexcept ImportError as e:\n"
                 "    print(type(e).__name__, '|', e)\n"
                 "print(sorted(m for m in sys.modules if m in {system!r}))")
        for missing, fakes, statement, error, left in [
            (["App"], None, "import Sect", "ModuleNotFoundError | No module named 'App'", []),
            (["App"], None, "import Beam", "ModuleNotFoundError | No module named 'App'", []),
            (["config"], None, "import Utils", "ModuleNotFoundError | No module named 'config'",
             ["App", "ifc"]),
            (["Sect"], None, "import Utils", "ModuleNotFoundError | No module named 'Sect'",
             ["App", "ifc"]),
            ([], {"Sect": "pass\n"}, "import Utils",
             "ImportError | cannot import name 'makeProfiles' from 'Sect'", ["App", "Sect", "ifc"]),
            ([], {"App": "Vector = object\n"}, "import Utils",
             "ImportError | cannot import name 'DraftVecUtils' from 'App'",
             ["App", "Sect", "config", "ifc"]),
            (["Utils"], None,
             f"import Verdamo\n    Verdamo.Create({str(SAMPLE)!r}, 'never.ifc')",
             "ModuleNotFoundError | No module named 'Utils'",
             ["App", "Beam", "Palvek", "Sect", "Verdamo", "config", "ifc"]),
        ]:
            with self.subTest(missing=missing, fakes=fakes, statement=statement):
                result = self.import_without(
                    missing, check.format(statement=statement, system=SYSTEM), fakes)
                lines = result.stdout.splitlines()
                self.assertEqual(len(lines), 2, result.stderr)
                self.assertTrue(lines[0].startswith(error), lines[0])
                self.assertEqual(eval(lines[1]), left)


if __name__ == "__main__":
    unittest.main()
