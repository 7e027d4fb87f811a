#!/usr/bin/env bash
# Regenerates the sample model databases in examples/ from tools/modeldb/make_samples.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
[ -f "$build_dir/CMakeCache.txt" ] || cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target sdb_samples -j"$(nproc)" >/dev/null
"$build_dir/tools/modeldb/sdb_samples" examples
