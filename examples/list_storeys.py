"""Converts a model database from a Python script and lists the storeys of the IFC file with
the members each one holds.

    PYTHONPATH=build/python python3 examples/list_storeys.py [input.sdb [output.ifc]]

Without arguments it converts the sample model beside this script into sample.ifc (and its
floor list sample.ifc.json) in the current folder.
"""

import sys
from collections import defaultdict
from pathlib import Path

import ifc
import Verdamo


def main(argv):
    source = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent / "sample.sdb"
    target = Path(argv[2]) if len(argv) > 2 else Path("sample.ifc")
    Verdamo.Create(source, target)

    model = ifc.open(target)
    print(f"{target}: {model.schema}, {len(model)} entities")
    for storey in model.by_type("IfcBuildingStorey"):
        by_kind = defaultdict(list)
        for relation in storey.ContainsElements:
            for member in relation.RelatedElements:
                by_kind[member.is_a()].append(member.Name)
        print(f"storey {storey.Name} at {storey.Elevation} mm")
        for kind, names in sorted(by_kind.items()):
            print(f"    {kind} ({len(names)}): {', '.join(names)}")


if __name__ == "__main__":
    main(sys.argv)
