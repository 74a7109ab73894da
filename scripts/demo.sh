#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated access point (recent firmware profile) on
# a free loopback port, writes the registry stand-in and the device file that tell the module
# where it is, and runs the module against it. The simulator stops when the module exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
if [ "$(id -u)" -eq 0 ]; then
  setcap cap_net_bind_service=+ep build/bin/kw9100 || true
else
  sudo setcap cap_net_bind_service=+ep build/bin/kw9100 || true
fi

demo=$PWD/build/demo
mkdir -p "$demo/help"
sim=
stop_sim() {
  if [ -n "$sim" ]; then
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
  fi
}
trap stop_sim EXIT

# Port 0: the system picks a free port and the simulator writes it to the port file once it
# answers. Exit status 3 means its control port (the same number over TCP) was taken: try again.
for attempt in 1 2 3 4 5; do
  rm -f "$demo/port"
  build/bin/kw9100-sim --listen 127.0.0.1:0 --profile recent --port-file "$demo/port" \
    --journal "$demo/journal.jsonl" --restart-seconds 10 2>"$demo/kw9100-sim.err" &
  sim=$!
  for _ in $(seq 200); do
    [ -s "$demo/port" ] && break
    kill -0 "$sim" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$demo/port" ] && break
  wait "$sim" 2>/dev/null || true
  sim=
done
if [ ! -s "$demo/port" ]; then
  echo "The simulated access point did not start:" >&2
  cat "$demo/kw9100-sim.err" >&2
  exit 1
fi
port=$(cat "$demo/port")

# The device file (Version 1 = SNMPv2c; the numeric keys must all be present) and the registry
# stand-in naming its directory. The help file name has exactly 12 characters.
cat >"$demo/127.0.0.1.cfg" <<INI
[Program Information]
AgentPort=$port
Version=1
ContextName=
ContextEngineID=
SecurityModel=3
SecurityLevel=0
SecurityName=
AuthProtocol=0
PrivProtocol=0
AuthPassword=
PrivPassword=
INI
cat >"$demo/registry.ini" <<INI
[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]
Path=$demo/
[\\SOFTWARE\\Velkor\\Modules\\HelpPath]
1.3.6.1.4.1.32473.2.20=$demo/help/kw9100hp.hlp
INI

echo "kw9100-sim on 127.0.0.1:$port (journal: $demo/journal.jsonl;" \
  "control: build/bin/kw9100-sim --control 127.0.0.1:$port COMMAND)"
KW9100_REGISTRY=$demo/registry.ini build/bin/kw9100 /I127.0.0.1 /Rfenrow
