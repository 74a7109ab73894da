#!/usr/bin/env bash
# Builds the TFTP benchmark without sanitizers and runs it: curl through the module's TFTP server
# and through tftpd-hpa's in.tftpd, 16 MiB each way. Extra arguments go to the benchmark
# (--size-mib N, --rounds N).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-bench
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DKW_SANITIZE=OFF -DKW_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$dir" --target kw_bench_tftp --parallel 2
"$dir/bin/kw_bench_tftp" "$@"
