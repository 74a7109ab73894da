#!/usr/bin/env bash
# Installs what is missing, builds the module and the simulator (nothing else), starts the
# simulated access point on a free loopback port, writes the registry stand-in and the device file
# that tell the module where it is, and runs the module against it. The simulator stops when the
# module exits.
# Usage: scripts/demo.sh [PROFILE [AUTH [PRIV]]]
#   PROFILE: device/profiles/: "recent" (default) or "early"
#   AUTH: SNMPv3 with that authentication instead of SNMPv2c: md5, sha, sha224, sha256, sha384 or
#         sha512; PRIV: des, aes (AES-128), aes192 or aes256 (authPriv), none (authNoPriv, the
#         default). The simulator's user of that pair is used, its pass phrases on the command
#         line as the host passes them.
set -euo pipefail
cd "$(dirname "$0")/.."
profile=${1:-recent}
auth=${2:-}
priv=${3:-none}
# The host's codes (kw9100(1)).
if [ -n "$auth" ]; then
  case $auth in
    md5) auth_code=1 ;; sha) auth_code=2 ;; sha224) auth_code=3 ;; sha256) auth_code=4 ;;
    sha384) auth_code=5 ;; sha512) auth_code=6 ;;
    *) echo "unknown authentication: $auth" >&2; exit 2 ;;
  esac
  case $priv in
    none) priv_code=0 ;; des) priv_code=1 ;; aes) priv_code=18 ;; aes192) priv_code=19 ;;
    aes256) priv_code=20 ;;
    *) echo "unknown privacy: $priv" >&2; exit 2 ;;
  esac
fi
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
if [ -z "$auth" ]; then
  KW9100_REGISTRY=$demo/registry.ini build/bin/kw9100 /I127.0.0.1 /Rfenrow
  exit
fi
# SNMPv3: the device file says so (it is read again before every switch), the pass phrases come
# on the command line.
user=kw$auth${priv#none}
[ "$priv" = none ] && level=1 || level=2
cat >"$demo/127.0.0.1.cfg" <<INI
[Program Information]
AgentPort=$port
Version=3
ContextName=
ContextEngineID=
SecurityModel=3
SecurityLevel=$level
SecurityName=$user
AuthProtocol=$auth_code
PrivProtocol=$priv_code
AuthPassword=
PrivPassword=
INI
echo "SNMPv3 as $user"
KW9100_REGISTRY=$demo/registry.ini build/bin/kw9100 /I127.0.0.1 /Akw9100-auth /Pkw9100-priv
