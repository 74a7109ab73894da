#!/usr/bin/env bash
# Installs what is missing, builds the module and the simulator (nothing else), starts the
# simulated access point on a free loopback port, writes the registry stand-in and the device file
# that tell the module where it is, and runs the module against it. The simulator stops when the
# module exits.
# Usage: scripts/demo.sh [PROFILE]     (device/profiles/: "recent" (default) or "early")
set -euo pipefail
cd "$(dirname "$0")/.."
profile=${1:-recent}
bash scripts/install-deps.sh
bash scripts/build.sh build -- kw9100 kw9100-sim
if [ "$(id -u)" -eq 0 ]; then
  setcap cap_net_bind_service=+ep build/bin/kw9100 || true
else
  sudo setcap cap_net_bind_service=+ep build/bin/kw9100 || true
fi

. scripts/sim-env.sh
trap stop_sim EXIT
demo=$PWD/build/demo
start_sim build "$demo" "$profile" 10

echo "kw9100-sim ($profile) on 127.0.0.1:$port (journal: $demo/journal.jsonl;" \
  "control: build/bin/kw9100-sim --control 127.0.0.1:$port COMMAND)"
KW9100_REGISTRY=$demo/registry.ini build/bin/kw9100 /I127.0.0.1 /Rfenrow
