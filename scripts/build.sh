#!/usr/bin/env bash
# Configures and builds into DIR (default build/). Extra arguments go to CMake.
# Usage: scripts/build.sh [DIR] [-DKW_SANITIZE=ON ...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
else
  cmake -S . -B "$dir" "$@" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)"
