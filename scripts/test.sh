#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test; without arguments, then also builds the Debian package and runs what it holds
# (scripts/package-check.sh). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build-test -DKW_SANITIZE=ON -DKW_WERROR=ON
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
tests=(ctest --output-on-failure --parallel "$(nproc)" --timeout 600 "$@")
# Where the system allows it (root, unshare), the tests run in a network namespace of their own
# with only loopback up, so that nothing a test sends can leave the machine.
if [ "$(id -u)" -eq 0 ] && unshare -n true 2>/dev/null; then
  echo "Tests run in a network namespace of their own: only loopback is up."
  pings=$(cat /proc/sys/net/ipv4/ping_group_range)
  (cd build-test && unshare -n sh -c 'ip link set lo up &&
    echo "$0" >/proc/sys/net/ipv4/ping_group_range && exec "$@"' "$pings" "${tests[@]}")
else
  echo "No network namespace of their own here (needs root and unshare): the tests run in the" \
    "machine's network and address loopback only."
  (cd build-test && "${tests[@]}")
fi
if [ $# -eq 0 ]; then
  bash scripts/package-check.sh
fi
