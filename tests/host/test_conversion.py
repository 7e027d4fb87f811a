"""A conversion run from a script: Verdamo.Create writes what the command-line program
writes, its messages reach the script's sys.stdout, its faults arrive as Verdamo.RunError with
the program's one-line message, and config holds its run context; the queries read the same
rows through a path or a connection, and through a connection what that connection sees."""

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
import Utils
import Verdamo
import config
from host_support import (EXECUTABLE, SAMPLE, SOURCE_DIR, TAPERED_SAMPLE, clear_run_context,
                          new_model)


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
                (not_a_database, Path(d, "out.ifc"), Verdamo.DatabaseError),
                (no_tables, Path(d, "out.ifc"), Verdamo.DatabaseError),
                (SAMPLE, Path(d, "no", "such", "folder", "out.ifc"), Verdamo.RunError),
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
                    if output_path.parent.name == "folder":
                        self.assertIn(f"{output_path}.json", line)
            for arguments in [(None, "out.ifc"), (SAMPLE,), (SAMPLE, "out.ifc", False, 1)]:
                with self.subTest(arguments=arguments), self.assertRaises(TypeError):
                    Verdamo.Create(*arguments)
        self.assertTrue(issubclass(Verdamo.DatabaseError, Verdamo.RunError) and
                        issubclass(Verdamo.DatabaseError, sqlite3.DatabaseError) and
                        issubclass(Verdamo.RunError, RuntimeError))
        for call in [lambda: Verdamo.Create(str(SAMPLE) + "\0x", "out.ifc"),
                     lambda: Verdamo.Create(SAMPLE, b"out\0.ifc"),
                     lambda: Beam.getBeams(str(SAMPLE) + "\0"),
                     lambda: new_model().write("out\0.ifc")]:
            with self.subTest(call=call), self.assertRaisesRegex(ValueError, "^embedded null byte$"):
                call()

    def test_create_assigns_the_run_context_in_config(self):
        self.addCleanup(clear_run_context)
        config.dict_profile = {"left": "from before"}
        with tempfile.TemporaryDirectory() as d, contextlib.redirect_stdout(io.StringIO()):
            Verdamo.Create(SAMPLE, Path(d, "model.ifc"))
        self.assertEqual([(e.is_a(), e[0]) for e in (config.origin, config.directionX,
                                                      config.directionY, config.directionZ)],
                         [("IfcCartesianPoint", (0.0, 0.0, 0.0)), ("IfcDirection", (1.0, 0.0, 0.0)),
                          ("IfcDirection", (0.0, 1.0, 0.0)), ("IfcDirection", (0.0, 0.0, 1.0))])
        self.assertEqual(config.placement.Location, config.origin)
        self.assertNotIn("left", config.dict_profile)
        [profile] = config.dict_profile["1,250,500"]
        self.assertEqual(profile.ProfileName, "Rec_250*500")
        # A builder given a model of the script sees the run's context, of the run's model.
        with self.assertRaisesRegex(RuntimeError, "config.origin belongs to another model"):
            Utils.CreateColumn(new_model(), (1, 7, 0, 0, 3, 0, 0, "1,500,600", 0, 0, 1, 6, 0),
                               (1, 3600, "0,120", 1))


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
        with self.assertRaises(TypeError):
            Beam.getBeams(3)
        for conn in (SAMPLE, connection):
            with self.subTest(conn=conn), self.assertRaises(sqlite3.DatabaseError):
                Sect.TaperSects(conn, "tblNoSuchTable")
        with self.assertRaises(TypeError):
            Palvek.getPalveks(conn=SAMPLE)  # by position only

    def test_a_connection_is_read_as_it_stands_with_its_own_settings(self):
        walls_sample = SOURCE_DIR / "examples" / "sample_walls.sdb"
        beams, walls = Beam.getBeams(SAMPLE), Palvek.getPalveks(walls_sample)
        at, wall = next((i, w) for i, w in enumerate(walls)
                        if Palvek.getWallHoles(walls_sample, w[0], w[3]))

        def connect(path, **settings):
            """A connection to a copy of the model in memory."""
            conn = sqlite3.connect(":memory:")
            self.addCleanup(conn.close)
            with contextlib.closing(sqlite3.connect(path)) as source:
                source.backup(conn)
            for name, value in settings.items():
                setattr(conn, name, value)
            return conn

        # Each change is left uncommitted or made in a temporary table: the queries read what
        # the connection sees.
        for path, settings, change, query, expected in [
            (SAMPLE, {}, "", Beam.getBeams, beams),
            (SAMPLE, {"text_factory": bytes}, "", Beam.getBeams, beams),
            (SAMPLE, {"row_factory": sqlite3.Row}, "", Beam.getBeams, beams),
            (walls_sample, {}, "create temp table tblWallSeg as select * from main.tblWallSeg "
             "where 0", Palvek.getPalveks, []),
            (SAMPLE, {}, "update tblBeamSect set ShapeVal = cast(x'312c3235302c353030d6d0' as text)",
             lambda c: Beam.getBeams(c)[0][9], "1,250,500中"),  # GBK bytes
            (walls_sample, {}, f"update tblWallSeg set HDiff1 = -200, HDiff2 = -500 where ID = {wall[1]}",
             lambda c: Palvek.getPalveks(c)[at][13:15], (-200, -500)),
            (walls_sample, {}, "delete from tblWallHole",
             lambda c: Palvek.getWallHoles(c, wall[0], wall[3]), []),
            (SAMPLE, {}, "update tblBeamSect set Kind = 21", Sect.hasTaperSects, True),
            (SAMPLE, {}, "update tblBeamSect set Kind = 21",
             lambda c: Sect.TaperSects(c, "tblBeamSect"), True),
        ]:
            with self.subTest(settings=settings, change=change):
                conn = connect(path, **settings)
                if change:
                    conn.execute(change)
                self.assertEqual(query(conn), expected)
                self.assertEqual(conn.text_factory, settings.get("text_factory", str))
        with tempfile.TemporaryDirectory() as d:
            copy = Path(d, "model.sdb")
            copy.write_bytes(SAMPLE.read_bytes())
            with contextlib.closing(sqlite3.connect(copy)) as conn:
                conn.execute("delete from tblBeamSeg")
                self.assertEqual((Beam.getBeams(conn), Beam.getBeams(copy)), ([], beams))

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
        for bad, error in [(f_beams[0][:5], IndexError), (("x",) * 19, TypeError), ("row", TypeError),
                           (f_beams[0][:1] + (2**70,) + f_beams[0][2:], OverflowError)]:
            with self.subTest(bad=bad), self.assertRaises(error):
                Beam.isHorizontal(bad)


if __name__ == "__main__":
    unittest.main()
