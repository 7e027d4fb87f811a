#!/usr/bin/env bash
# Sets up a fresh machine for this project: installs the Debian packages the build needs
# (only those missing) and the pinned npm packages of the interoperability test, then
# configures and builds the Release tree in build/.
# Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libsqlite3-dev libgeos-dev libgtest-dev pybind11-dev python3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Node.js runs the interoperability test; any installed Node.js with npm will do.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The independent IFC readers of the interoperability tests, as pinned in package-lock.json:
# installed when one is missing or of another version.
version_of() {
  node -p "try { JSON.parse(require('fs').readFileSync('$1', 'utf8'))$2.version } catch (e) { '' }"
}
for reader in web-ifc @ifc-lite/wasm; do
  if [ "$(version_of package-lock.json "['packages']['node_modules/$reader']")" != \
       "$(version_of "node_modules/$reader/package.json" "")" ]; then
    npm ci --no-audit --no-fund --loglevel=error
    break
  fi
done

build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
