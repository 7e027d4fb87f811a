#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test twice: in the Release tree (build/)
# with warnings as errors, and in a tree with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=build scripts/setup.sh -DSDB2IFC_WERROR=ON
BUILD_DIR=build-sanitize scripts/setup.sh -DSDB2IFC_WERROR=ON -DSDB2IFC_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for dir in build build-sanitize; do
  echo "== tests in $dir"
  ctest --test-dir "$dir" -j"$(nproc)" --output-on-failure --timeout 600 || status=1
done
exit $status
