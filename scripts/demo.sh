#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated access point on loopback and runs the
# module against it. The simulator stops when the module exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
if [ "$(id -u)" -eq 0 ]; then
  setcap cap_net_bind_service=+ep build/bin/kw9100 || true
else
  sudo setcap cap_net_bind_service=+ep build/bin/kw9100 || true
fi
exec build/bin/kw9100 /I127.0.0.1
