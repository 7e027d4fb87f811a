"""Ending a script's work early, each in an interpreter of its own: Ctrl-C stops Create at once,
and a script that ends while its threads still build or convert ends quietly; neither leaves
an IFC file of the stopped run or a temporary file."""

import os
import subprocess
import sys
import tempfile
import textwrap
import unittest
from pathlib import Path

from host_support import PYTHON_DIR

SYNTHETIC = Path(os.environ["SDB2IFC_SYNTHETIC"])
HERE = Path(__file__).parent

# The run still goes on when the floor list appears: a sequential run takes about a second.
PREAMBLE = """
import os, signal, sys, threading, time
from multiprocessing.dummy import Pool
import Utils, Verdamo
from host_support import new_model, set_run_context
model_db, out = sys.argv[1], sys.argv[2]
def wait_for(name):
    while not os.path.exists(os.path.join(out, name)):
        time.sleep(0.005)
def wait_for_writing(name):
    # The hidden file the IFC file is written to, or the IFC file should it be missed.
    while not any(f.startswith(f".{name}.") and not f.startswith(f".{name}.json") or f == name
                  for f in os.listdir(out)):
        time.sleep(0.001)
"""


def run_script(body, model_db, out):
    code = PREAMBLE + textwrap.dedent(body)
    env = dict(os.environ, PYTHONPATH=os.pathsep.join([str(PYTHON_DIR), str(HERE)]))
    return subprocess.run([sys.executable, "-c", code, str(model_db), str(out)], env=env,
                          capture_output=True, text=True, timeout=300)


class StoppedRunTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.model_db = Path(cls.folder.name, "model.sdb")
        subprocess.run([str(SYNTHETIC), "--std-floors", "8", "--floors", "8", "--bays-x", "30",
                        "--bays-y", "24", str(cls.model_db)], check=True, capture_output=True)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def run_in(self, body):
        """The finished script and the files it left in its output folder."""
        with tempfile.TemporaryDirectory() as out:
            script = run_script(body, self.model_db, out)
            return script, sorted(os.listdir(out))

    def test_ctrl_c_stops_create_with_keyboard_interrupt_and_leaves_no_ifc_file(self):
        for mt in [False, True]:
            with self.subTest(mt=mt):
                script, files = self.run_in(f"""
                    def interrupt():
                        wait_for("out.ifc.json")
                        os.kill(os.getpid(), signal.SIGINT)
                    threading.Thread(target=interrupt, daemon=True).start()
                    try:
                        Verdamo.Create(model_db, os.path.join(out, "out.ifc"), mt={mt})
                    except KeyboardInterrupt:
                        print("interrupted")
                    """)
                self.assertEqual(script.returncode, 0, script.stderr)
                self.assertTrue(script.stdout.endswith("interrupted\n"), script.stdout)
                # The floor list of the stopped run, as after any failed run.
                self.assertEqual(files, ["out.ifc.json"])

    def test_a_script_that_ends_while_its_threads_work_ends_quietly(self):
        for what, body in [
            ("builders in a pool", """
                model = new_model()
                set_run_context(model)
                def build(i):
                    while True:
                        Utils.CreateColumn(model, (1, 7, 0.0, 0.0, 3, 1000.0, 2000.0, "1,500,600",
                                                   0.0, 0.0, 1, 6, 0.0), (1, 3600, "0,120", 1))
                pool = Pool(4)
                pool.map_async(build, range(4))
                time.sleep(0.5)
                """),
            ("Create in daemon threads, writing", """
                for i in range(2):
                    threading.Thread(target=Verdamo.Create, daemon=True,
                                     args=(model_db, os.path.join(out, f"{i}.ifc"))).start()
                wait_for_writing("0.ifc")
                """),
            ("threaded Create in a pool", """
                pool = Pool(2)
                pool.map_async(lambda i: Verdamo.Create(model_db, os.path.join(out, f"{i}.ifc"),
                                                        mt=True), range(2))
                wait_for("1.ifc.json")
                """),
        ]:
            with self.subTest(what):
                script, files = self.run_in(body)
                self.assertEqual(script.returncode, 0, script.stderr)
                self.assertEqual(script.stderr, "")
                self.assertEqual([f for f in files if f.startswith(".")], [])
                if "writing" not in what:
                    self.assertEqual([f for f in files if f.endswith(".ifc")], [])


if __name__ == "__main__":
    unittest.main()
