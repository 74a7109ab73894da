#!/usr/bin/env bash
# Builds the module, the simulated device and the module benchmarks in build/ (the README's
# optimised build, no sanitizers), then runs them:
#   kw_bench_startup [RUNS]     process start -> end of the capability probe (default 10 runs)
#   kw_bench_idle [SECONDS]     CPU time and memory idling on the main window (60 s), with
#                               the window shown and then unmapped
#   kw_bench_scale N...         N modules against N simulated devices: CPU over 60 s, PSS
#                               (default N = 10 50 100; --cascade: every window partly in sight)
#   kw_bench_page_open          every page of the page list opened, both profiles (median of 10)
#   kw_bench_blink_floor        what a bare poll loop and a bare Qt window pay at the blink's tick
# Without a display, idle, scale and page_open run under Xvfb (windows on a display, as on the
# host); startup runs on Qt's offscreen platform.
# Usage: scripts/bench-module.sh [startup|idle|all] [PROFILE]
#        scripts/bench-module.sh scale [--cascade] [N...]
#        scripts/bench-module.sh page_open [ROUNDS]
#        scripts/bench-module.sh floor [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
shift || true
dir=build
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# On a display: the one there is, or a virtual one.
on_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi
}
case $which in
  startup | idle | all)
    profile=${1:-recent}
    cmake --build "$dir" --target kw9100 kw9100-sim kw_bench_startup kw_bench_idle --parallel 2
    if [ "$which" != idle ]; then "$dir/bin/kw_bench_startup" 10 "$profile"; fi
    if [ "$which" != startup ]; then on_display "$dir/bin/kw_bench_idle" 60 "$profile"; fi
    ;;
  scale)
    cmake --build "$dir" --target kw9100 kw9100-sim kw_bench_scale --parallel 2
    case " $* " in
      *" "[0-9]*) ;;
      *) set -- "$@" 10 50 100 ;;
    esac
    on_display "$dir/bin/kw_bench_scale" "$@"
    ;;
  page_open)
    cmake --build "$dir" --target kw9100-sim kw_bench_page_open --parallel 2
    on_display "$dir/bin/kw_bench_page_open" "${1:-10}"
    ;;
  floor)
    cmake --build "$dir" --target kw_bench_blink_floor --parallel 2
    on_display "$dir/bin/kw_bench_blink_floor" "${1:-20}"
    ;;
  *)
    echo "usage: $0 [startup|idle|all] [PROFILE] | scale [--cascade] [N...] | page_open [ROUNDS] | floor [SECONDS]" >&2
    exit 2
    ;;
esac
