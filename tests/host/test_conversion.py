"""A conversion run from a script: Verdamo.Create writes what the command-line program
writes, its messages reach the script's sys.stdout, its faults arrive as exceptions with the
program's one-line message; the queries read the same rows through a path or a connection."""

import contextlib
import io
import re
import sqlite3
import subprocess
import tempfile
import unittest
from pathlib import Path

import Beam
import Palvek
import Sect
import Verdamo
from host_support import EXECUTABLE, SAMPLE, SOURCE_DIR, TAPERED_SAMPLE


def comparable(ifc_text):
    """The file with its GlobalIds and times of writing blanked out."""
    text = re.sub(r"'[0-9A-Za-z_$]{22}'", "'GlobalId'", ifc_text)
    text = re.sub(r"(FILE_NAME\('[^']*',)'[^']*'", r"\1'time'", text)
    return re.sub(r"(IFCOWNERHISTORY\([^)]*,)\d+\);", r"\1time);", text)


def command_line(*args, cwd):
    return subprocess.run([str(EXECUTABLE), *map(str, args)], cwd=cwd, capture_output=True,
                          text=True, timeout=300)


class CreateTest(unittest.TestCase):
    def test_create_writes_the_files_of_the_command_line_program(self):
        linear, walls, slabs = (SOURCE_DIR / "examples" / name for name in (
            "sample_linear.sdb", "sample_walls.sdb", "sample_slabs.sdb"))
        for sample, mt in [(SAMPLE, False), (SAMPLE, True), (TAPERED_SAMPLE, False),
                           (linear, True), (walls, True), (slabs, True)]:
            with self.subTest(sample=sample.name, mt=mt), tempfile.TemporaryDirectory() as d:
                by_program, by_script = Path(d, "program"), Path(d, "script")
                by_program.mkdir()
                by_script.mkdir()
                self.assertEqual(command_line(sample, "model.ifc", cwd=by_program).returncode, 0)
                printed = io.StringIO()
                with contextlib.redirect_stdout(printed):
                    self.assertIsNone(Verdamo.Create(str(sample), by_script / "model.ifc", mt=mt))
                self.assertEqual(printed.getvalue().count("use multithread\n"), 1 if mt else 0)
                for name in ["model.ifc", "model.ifc.json"]:
                    self.assertEqual(comparable((by_script / name).read_text()),
                                     comparable((by_program / name).read_text()), name)

    def test_faults_of_the_run_are_exceptions_with_the_programs_message(self):
        with tempfile.TemporaryDirectory() as d:
            not_a_database = Path(d, "notes.sdb")
            not_a_database.write_text("not a database\n")
            no_tables = Path(d, "empty.sdb")
            sqlite3.connect(no_tables).close()
            for input_path, output_path, error in [
                (Path(d, "missing.sdb"), Path(d, "out.ifc"), Verdamo.RunError),
                (not_a_database, Path(d, "out.ifc"), sqlite3.DatabaseError),
                (no_tables, Path(d, "out.ifc"), sqlite3.DatabaseError),
                (SAMPLE, Path(d, "no", "such", "folder", "out.ifc"), RuntimeError),
                (SAMPLE, SAMPLE, Verdamo.RunError),
            ]:
                with self.subTest(input=input_path.name, output=output_path):
                    program = command_line(input_path, output_path, cwd=d)
                    self.assertEqual(program.returncode, 1)
                    line = program.stderr.strip()
                    self.assertTrue(line.startswith("sdb2ifc: ") and "\n" not in line, line)
                    with contextlib.redirect_stdout(io.StringIO()), \
                            self.assertRaises(error) as raised:
                        Verdamo.Create(input_path, output_path)
                    self.assertEqual(str(raised.exception), line[len("sdb2ifc: "):])
            for arguments in [(None, "out.ifc"), (SAMPLE,), (SAMPLE, "out.ifc", False, 1)]:
                with self.subTest(arguments=arguments), self.assertRaises(TypeError):
                    Verdamo.Create(*arguments)


class QueryTest(unittest.TestCase):
    def test_queries_read_the_same_rows_through_a_path_or_a_connection(self):
        connection = sqlite3.connect(SAMPLE)
        self.addCleanup(connection.close)
        for query, width in [(Beam.getBeams, 19), (Palvek.getPalveks, 21)]:
            with self.subTest(query=query.__name__):
                rows = query(str(SAMPLE))
                self.assertTrue(rows)
                self.assertEqual(rows, query(connection))
                self.assertEqual(rows, query(SAMPLE))
                self.assertTrue(all(type(r) is tuple and len(r) == width for r in rows))
        self.assertEqual(Beam.getBeams(SAMPLE)[0][9], "1,250,500")
        walls = Palvek.getPalveks(SAMPLE)
        holes = [Palvek.getWallHoles(SAMPLE, stdFlrID=w[0], gridID=w[3]) for w in walls]
        self.assertTrue(all(len(h) == 4 for hs in holes for h in hs))
        self.assertEqual([Sect.hasTaperSects(s) for s in (SAMPLE, TAPERED_SAMPLE)], [False, True])
        self.assertFalse(Sect.TaperSects(connection, table="tblColSect"))
        for bad, error in [(sqlite3.connect(":memory:"), ValueError), (3, TypeError)]:
            with self.subTest(bad=bad), self.assertRaises(error):
                Beam.getBeams(bad)
        with self.assertRaises(sqlite3.DatabaseError):
            Sect.TaperSects(SAMPLE, "tblNoSuchTable")
        with self.assertRaises(TypeError):
            Palvek.getPalveks(conn=SAMPLE)  # by position only

    def test_connectivity_answers_with_the_callers_own_rows(self):
        beams, walls = Beam.getBeams(SAMPLE), Palvek.getPalveks(SAMPLE)
        floor = beams[0][0]
        f_beams = [b for b in beams if b[0] == floor]
        f_walls = [w for w in walls if w[0] == floor]
        supported = [Beam.getConnectBeams(b, f_beams, [], f_walls) for b in f_beams]
        pairs = [p for ps in supported for p in ps or []]
        self.assertTrue(pairs)
        for joint, row in pairs:
            self.assertTrue(any(row is b for b in f_beams))
        arc = list(f_beams[0])
        arc[16] = -1.0
        self.assertIsNone(Beam.getConnectBeams(tuple(arc), f_beams, [], f_walls))
        for wall in f_walls:
            for joint, row in Palvek.getConnectWalls(wall, f_beams, [], f_walls):
                self.assertTrue(any(row is w for w in f_walls))
            for joint, rows in Palvek.getConnectBeams(wall, f_beams, [], f_walls):
                self.assertTrue(all(any(r is b for b in f_beams) for r in rows))
        self.assertIs(Beam.isRigid(f_beams[0][:9] + ("1,100,100",) + f_beams[0][10:]), True)
        self.assertIsNone(Beam.isRigid(f_beams[0]))
        self.assertIs(Beam.isHorizontal(f_beams[0]), True)
        self.assertIs(Beam.isTwoPerp(f_beams[0], f_beams[:1]), False)
        for bad, error in [(f_beams[0][:5], IndexError), (("x",) * 19, TypeError), ("row", TypeError)]:
            with self.subTest(bad=bad), self.assertRaises(error):
                Beam.isHorizontal(bad)


if __name__ == "__main__":
    unittest.main()
