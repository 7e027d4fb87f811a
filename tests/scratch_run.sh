#!/usr/bin/env bash
# Runs a test's command with its files in the scratch folder NAME under the temporary folder
# of the run ($TMPDIR, else /tmp), made when missing: each "@scratch@" in the command's
# arguments becomes the folder's path. With --remove, removes the folder, once the tests that
# share it are done.
#
#   scratch_run.sh NAME COMMAND [ARGUMENT...]
#   scratch_run.sh --remove NAME
set -euo pipefail
if [ "$1" = --remove ]; then
  rm -rf -- "${TMPDIR:-/tmp}/$2"
  exit 0
fi
dir=${TMPDIR:-/tmp}/$1
shift
mkdir -p -- "$dir"
exec "${@//@scratch@/$dir}"
