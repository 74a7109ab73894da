#!/usr/bin/env bash
# Builds the module, the simulated device and the module benchmarks in build/ (the README's
# optimised build, no sanitizers), then
# runs them:
#   kw_bench_startup [RUNS]     process start -> end of the capability probe (default 10 runs)
#   kw_bench_idle [SECONDS]     CPU time and resident memory idling on the main window (60 s)
# Without a display the module runs on Qt's offscreen platform.
# Usage: scripts/bench-module.sh [startup|idle|all] [PROFILE]
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
profile=${2:-recent}
dir=build
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" --target kw9100 kw9100-sim kw_bench_startup kw_bench_idle --parallel 2
case $which in
  startup) "$dir/bin/kw_bench_startup" 10 "$profile" ;;
  idle) "$dir/bin/kw_bench_idle" 60 "$profile" ;;
  all)
    "$dir/bin/kw_bench_startup" 10 "$profile"
    "$dir/bin/kw_bench_idle" 60 "$profile"
    ;;
  *) echo "usage: $0 [startup|idle|all] [PROFILE]" >&2; exit 2 ;;
esac
