#!/usr/bin/env bash
# Sets up the machine, builds the converter and converts the sample model database into
# sample.ifc and its floor list sample.ifc.json in the current folder.
set -euo pipefail
here=$(pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh
cd "$here"
"$root/build/src/driver/sdb2ifc" "$root/examples/sample.sdb" sample.ifc
