#!/usr/bin/env bash
# Sets up the machine, builds the converter and converts the sample model database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
