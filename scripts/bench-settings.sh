#!/usr/bin/env bash
# kw9100-settings over a fleet: N simulated devices on this machine (loopback only), each exported
# once after the other, then all of them again JOBS at a time. Prints the time of one export
# (fastest, median, slowest), the SNMP requests each export needed (counted in the devices'
# journals: GETs, GET-NEXTs, and the variables they carried) and the wall time of the whole fleet.
# Usage: scripts/bench-settings.sh [N] [BUILD_DIR] [PROFILE] [JOBS]   (100, build, recent, 4)
set -euo pipefail
n=${1:-100}
build=$(realpath "${2:-build}")
profile=${3:-recent}
jobs=${4:-4}
cd "$(dirname "$0")/.."
[ -x "$build/bin/kw9100-settings" ] && [ -x "$build/bin/kw9100-sim" ] ||
  { echo "build $build first (targets kw9100-settings kw9100-sim)" >&2; exit 2; }
. scripts/sim-env.sh
top=$(mktemp -d)
pids=()
stop_all() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$top"
}
trap stop_all EXIT

echo "starting $n simulated devices ($profile) ..." >&2
for i in $(seq "$n"); do
  start_sim "$build" "$top/d$i" "$profile" 10 >/dev/null
  pids+=("$sim")
  sim=
done

export_one() { # DIR: one export of that directory's device; prints its seconds
  local d=$1 t0 t1
  t0=$(date +%s.%N)
  (cd "$d" && KW9100_REGISTRY=$d/registry.ini "$build/bin/kw9100-settings" export /I127.0.0.1 \
    /Rfenrow -q -o "$d/export.txt") || { echo "export of $d failed" >&2; return 1; }
  t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc
}

for i in $(seq "$n"); do : >"$top/d$i/journal.jsonl"; done
t0=$(date +%s.%N)
for i in $(seq "$n"); do export_one "$top/d$i"; done >"$top/times"
t1=$(date +%s.%N)
sequential=$(echo "$t1 - $t0" | bc)

# Requests per export, from each device's journal (the export was its only client).
for i in $(seq "$n"); do
  j=$top/d$i/journal.jsonl
  echo "$(grep -c '"op":"get"' "$j") $(grep -c '"op":"getnext"' "$j") $(grep -o '"oid"' "$j" | wc -l)"
done >"$top/requests"
lines=$(grep -vc '^#\|^$\|^\[' "$top/d1/export.txt")
unanswered=$(grep -c '^# not answered' "$top/d1/export.txt" || true)
pages=$(grep -c '^\[' "$top/d1/export.txt")

export -f export_one
export build
t0=$(date +%s.%N)
for i in $(seq "$n"); do echo "$top/d$i"; done | xargs -P "$jobs" -I{} bash -c 'export_one {}' >/dev/null
t1=$(date +%s.%N)
parallel=$(echo "$t1 - $t0" | bc)

sort -n "$top/times" | awk -v n="$n" '
  { t[NR] = $1 } END {
    printf "one export: fastest %.3f s, median %.3f s, slowest %.3f s (%d devices)\n",
      t[1], t[int((NR + 1) / 2)], t[NR], n }'
sort -u "$top/requests" | while read -r g x v; do
  echo "requests per export: $g GET + $x GET-NEXT = $((g + x)) exchanges carrying $v variables" \
    "($(grep -c "^$g $x $v\$" "$top/requests") of $n devices)"
done
echo "export: $pages pages, $lines settings, $unanswered variables not answered"
printf "%d devices one after the other: %.1f s; %d at a time: %.1f s\n" "$n" "$sequential" \
  "$jobs" "$parallel"
