# Sourced by scripts that run the module against the simulated access point.
#   start_sim BUILD_DIR WORK_DIR PROFILE [RESTART_SECONDS]
#       starts kw9100-sim on a free loopback port (journal WORK_DIR/journal.jsonl), sets $sim
#       (its pid) and $port, and writes the device file and the registry stand-in under WORK_DIR
#       (export KW9100_REGISTRY=WORK_DIR/registry.ini for the module).
#   stop_sim
#       stops it again (install as an EXIT trap).
sim=
port=
stop_sim() {
  if [ -n "$sim" ]; then
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    sim=
  fi
}

start_sim() {
  local build=$1 work=$2 profile=$3 restart=${4:-10}
  mkdir -p "$work/help"
  # Port 0: the simulator has the system pick its ports (the control channel's TCP port and the
  # same number over UDP) and writes the number to the port file once it answers. A start that
  # fails anyway is tried again.
  for attempt in 1 2 3 4 5; do
    rm -f "$work/port"
    "$build/bin/kw9100-sim" --listen 127.0.0.1:0 --profile "$profile" --port-file "$work/port" \
      --journal "$work/journal.jsonl" --restart-seconds "$restart" 2>"$work/kw9100-sim.err" &
    sim=$!
    for _ in $(seq 200); do
      [ -s "$work/port" ] && break
      kill -0 "$sim" 2>/dev/null || break
      sleep 0.05
    done
    [ -s "$work/port" ] && break
    wait "$sim" 2>/dev/null || true
    sim=
  done
  if [ ! -s "$work/port" ]; then
    echo "The simulated access point did not start:" >&2
    cat "$work/kw9100-sim.err" >&2
    return 1
  fi
  port=$(cat "$work/port")

  # The device file (Version 1 = SNMPv2c; the numeric keys must all be present) and the registry
  # stand-in naming its directory. The help file name has exactly 12 characters.
  cat >"$work/127.0.0.1.cfg" <<INI
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
  cat >"$work/registry.ini" <<INI
[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]
Path=$work/
[\\SOFTWARE\\Velkor\\Modules\\HelpPath]
1.3.6.1.4.1.32473.2.20=$work/help/kw9100hp.hlp
INI
}
