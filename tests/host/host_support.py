"""What the host tests share: where the modules, the samples and the command-line program
are, a fresh interpreter to load modules in, and the run context a script sets up."""

import os
import subprocess
import sys
from pathlib import Path

PYTHON_DIR = Path(os.environ["SDB2IFC_PYTHON_DIR"])
SOURCE_DIR = Path(os.environ["SDB2IFC_SOURCE_DIR"])
EXECUTABLE = Path(os.environ["SDB2IFC_EXECUTABLE"])
SAMPLE = SOURCE_DIR / "examples" / "sample.sdb"
TAPERED_SAMPLE = SOURCE_DIR / "examples" / "sample_tapered.sdb"

CONTEXT_NAMES = ("origin", "directionX", "directionY", "directionZ", "placement", "dict_profile")


def run_python(code, *path_dirs, cwd=None):
    """Runs code in a new interpreter whose module path is path_dirs (default: the built
    modules); returns the completed process with its standard output and error as text."""
    dirs = path_dirs or (PYTHON_DIR,)
    env = dict(os.environ, PYTHONPATH=os.pathsep.join(str(d) for d in dirs))
    return subprocess.run([sys.executable, "-c", code], env=env, cwd=cwd, capture_output=True,
                          text=True, timeout=300)


def clear_run_context():
    import config

    for name in CONTEXT_NAMES:
        if hasattr(config, name):
            delattr(config, name)


def set_run_context(model):
    """Assigns config's run context for model, as Verdamo.Create does for its own model."""
    import config

    config.origin = model.create_entity("IfcCartesianPoint", (0.0, 0.0, 0.0))
    config.directionX = model.create_entity("IfcDirection", (1.0, 0.0, 0.0))
    config.directionY = model.create_entity("IfcDirection", (0.0, 1.0, 0.0))
    config.directionZ = model.create_entity("IfcDirection", (0.0, 0.0, 1.0))
    config.placement = model.create_entity("IfcAxis2Placement3D", config.origin, config.directionZ,
                                           config.directionX)
    config.dict_profile = {}


def new_model(schema="IFC2X3"):
    """A model with what the builders take from a converted file's header: an owner history
    and a '3D' 'Model' context."""
    import ifc

    model = ifc.Model(schema)
    organisation = model.create_entity("IfcOrganization", None, "sdb2ifc tests")
    person = model.create_entity("IfcPerson", None, None, "tester")
    user = model.create_entity("IfcPersonAndOrganization", person, organisation)
    application = model.create_entity("IfcApplication", organisation, "1", "tests", "tests")
    model.create_entity("IfcOwnerHistory", user, application, None, "ADDED", None, user,
                        application, 0)
    world = model.create_entity(
        "IfcAxis2Placement3D", model.create_entity("IfcCartesianPoint", (0.0, 0.0, 0.0)))
    model.create_entity("IfcGeometricRepresentationContext", "3D", "Model", 3, 1e-05, world)
    return model
