#!/usr/bin/env bash
# Configures and builds into DIR (default build/). Arguments before "--" go to CMake; targets
# after it are built instead of everything.
# Usage: scripts/build.sh [DIR] [-DKW_SANITIZE=ON ...] [-- TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
options=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  options+=("$1")
  shift
done
shift || true
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
else
  cmake -S . -B "$dir" "${options[@]}" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
