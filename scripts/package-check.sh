#!/usr/bin/env bash
# Builds the package (scripts/package.sh), unpacks it into a scratch root under build-package/
# without installing it, and runs the unpacked simulated access point and the unpacked module
# against it headless until the module's start-up exchanges have been answered; then the unpacked
# kw9100-settings exports the device and compares it with that export; then stops everything.
# Usage: scripts/package-check.sh [PACKAGE.deb]     (a package given is checked as it is)
set -euo pipefail
deb=${1:+$(realpath "$1")}
cd "$(dirname "$0")/.."
[ -n "$deb" ] || deb=$(bash scripts/package.sh | tail -n 1)
root=$PWD/build-package/check-root
work=$PWD/build-package/check-work
rm -rf "$root" "$work"
mkdir -p "$root" "$work/run"
chmod 700 "$work/run" # the module's single-instance lock goes here, away from other runs
dpkg-deb -x "$deb" "$root"

fail() {
  echo "PACKAGE CHECK FAILED: $*" >&2
  for f in "$work"/*.err "$work"/kw9100.log "$work"/prompts.log "$work"/settings.diff; do
    [ -s "$f" ] && { echo "--- $f" >&2; tail -n 20 "$f" >&2; }
  done
  exit 1
}

. scripts/sim-env.sh
module=
stop_all() {
  if [ -n "$module" ]; then
    kill "$module" 2>/dev/null || true
    wait "$module" 2>/dev/null || true
  fi
  stop_sim
}
trap stop_all EXIT

# The simulator finds its profile by name beside itself, as installed.
start_sim "$root/usr" "$work" recent || fail "the unpacked kw9100-sim did not start"

# The module through its /usr/bin link, so that it finds its message files beside the real file.
(
  cd "$work" # its boot counter file goes here
  export KW9100_REGISTRY=$work/registry.ini KW9100_PROBE_MARKER=$work/probe-done
  export KW9100_PROMPT_LOG=$work/prompts.log XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
  exec "$root/usr/bin/kw9100" /I127.0.0.1 /Rfenrow >"$work/kw9100.log" 2>&1
) &
module=$!

# The front-panel poll (sysDescr) goes out first, then the capability requests; the marker appears
# once every capability request has been answered (or has timed out: the journal tells which).
# Bounded wait, ended early if the module ends.
for _ in $(seq 600); do
  [ -e "$work/probe-done" ] && break
  kill -0 "$module" 2>/dev/null || fail "the unpacked module ended before its start-up finished"
  sleep 0.1
done
[ -e "$work/probe-done" ] || fail "no answer within 60 s"
kill -0 "$module" 2>/dev/null || fail "the unpacked module ended"
served() { grep '"op":"get"' "$work/journal.jsonl" | grep '"community":"fenrow"' | grep -v '"refused"' || true; }
polls=$(served | grep -c '"oid":"1.3.6.1.2.1.1.1.0"' || true)
gets=$(served | wc -l)
[ "$polls" -gt 0 ] || fail "the simulator served no front-panel poll of the module"
[ ! -s "$work/prompts.log" ] || fail "the module showed a message box"

# kw9100-settings through its /usr/bin link (message files beside the real file), no display.
settings() {
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY KW9100_REGISTRY=$work/registry.ini \
    "$root/usr/bin/kw9100-settings" "$@")
}
settings export /I127.0.0.1 /Rfenrow -q -o "$work/settings.txt" 2>"$work/settings.err" ||
  fail "the unpacked kw9100-settings could not export the device"
head -n 1 "$work/settings.txt" | grep -qx '# kw9100-settings export' ||
  fail "the export is not one"
grep -qx '\[Home \\ Information\]' "$work/settings.txt" || fail "the export has no Information page"
grep -q '^System Name = ' "$work/settings.txt" || fail "the export has no system name"
settings diff "$work/settings.txt" /I127.0.0.1 /Rfenrow -q >"$work/settings.diff" 2>>"$work/settings.err" ||
  fail "the device differs from its own export: $(head -n 5 "$work/settings.diff")"
[ "$(settings --help | head -n 1 | cut -d' ' -f1-3)" = "Usage: kw9100-settings export" ] ||
  fail "kw9100-settings --help"
pages=$(grep -c '^\[' "$work/settings.txt")
echo "PACKAGE CHECK PASSED: $(basename "$deb") unpacked; its kw9100 ran against its kw9100-sim," \
  "which answered its front-panel poll and $gets GET requests in all; its kw9100-settings" \
  "exported $pages pages and found the device as exported"
