#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test; without arguments, then also builds the Debian package and runs what it holds
# (scripts/package-check.sh). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# -O1 with line tables only: sanitizer reports keep their file and line, and the build takes about
# half the compile time of -O2 -g (the test files are most of it).
bash scripts/build.sh build-test -DKW_SANITIZE=ON -DKW_WERROR=ON \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
# Tests use loopback addresses only. Where the system allows it (root, network namespaces) they run
# in a network namespace of their own with nothing but loopback up, so that nothing a test sends
# (an address probe a test forgot to script, say) can leave the machine; elsewhere in the host's.
isolated=()
if [ "$(id -u)" -eq 0 ] && unshare -n ip link set lo up 2>/dev/null; then
  isolated=(unshare -n sh -c 'ip link set lo up && exec "$@"' isolated)
else
  echo "test: no network namespace here; the tests run in the host's network, on loopback" >&2
fi
# Most of a test's time is spent waiting on the simulated device (about a quarter of the cores
# busy at one test per core): two per core.
(cd build-test && "${isolated[@]}" ctest --output-on-failure --parallel "$(($(nproc) * 2))" \
  --timeout 600 "$@")
if [ $# -eq 0 ]; then
  bash scripts/package-check.sh
fi
