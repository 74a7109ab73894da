#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent; uses sudo when not root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev
  libsnmp-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev googletest
  snmp snmpd atftp tftp-hpa tftpd-hpa curl python3 python3-pyftpdlib
  xvfb xauth x11-utils libxcb1-dev libcap2-bin iproute2 procps
  dpkg-dev file lintian
  clang libclang-rt-14-dev
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  # Packages that ship daemons (snmpd, tftpd-hpa) must not start them: tests run their own.
  echo exit 101 | "${sudo_cmd[@]}" tee /usr/sbin/policy-rc.d >/dev/null
  "${sudo_cmd[@]}" chmod +x /usr/sbin/policy-rc.d
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
  "${sudo_cmd[@]}" rm -f /usr/sbin/policy-rc.d
fi
