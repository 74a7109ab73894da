#!/usr/bin/env bash
# Renders the module's windows to PNG under build/screenshots/PROFILE/: the main window, its
# menus, the About box and the pages listed below, against the simulated access point. Runs
# under Xvfb (xvfb-run) when there is no display, else on the display; with neither, on Qt's
# offscreen platform.
# Usage: scripts/screenshots.sh [PROFILE] [PAGE...]     (default profile "recent")
# KW_BUILD_DIR=build-test uses an existing build tree (the sanitizer one) instead of build/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Page class names as the menus open them; add yours here.
PAGES=(
  Information
  TFM_DevInfo
  TFM_Firmware
  TFM_FirewareSSL
  TFM_CfgFile
  TFM_LanCfg
  TFM_DHCP
  TFM_Wirless
  TFM_Ethernet
  TFM_Group
  TFM_ModeCFG
  TFM_Encrypt
  TFM_Performace
  TFM_MultiSSIDNewForm
  TFM_MultiSSIDForm
  TLogForm
  TFM_Static
  TFM_Static:CB_AutoRefresh:65
  TClientInformation
  TFM_RogueForm
  TFM_Sytem
  TFM_Misc
  TFM_Admin
  TFM_Admin2
  TFM_WMACACL
  TFM_WPart
  TFM_LogSet
  TSNTPForm
)

profile=${1:-recent}
shift || true
[ $# -gt 0 ] && PAGES=("$@")

build=${KW_BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  gen=()
  command -v ninja >/dev/null && gen=(-G Ninja)
  cmake -S . -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target kw9100-sim kw_screenshots --parallel 2

. scripts/sim-env.sh
trap stop_sim EXIT
work=$PWD/$build/screenshots/work-$profile
out=$PWD/$build/screenshots/$profile
rm -rf "$out"
mkdir -p "$work" "$out"
start_sim "$build" "$work" "$profile"
export KW9100_REGISTRY=$work/registry.ini
# The transfer pages open their TFTP server; an unprivileged port keeps them from failing.
export KW9100_TFTP_PORT=${KW9100_TFTP_PORT:-16969}

run=("$PWD/$build/bin/kw_screenshots" "$out" "${PAGES[@]}" -- /I127.0.0.1 /Rfenrow)
(
  cd "$work" # the module's boot counter file goes here
  if [ -n "${DISPLAY:-}" ]; then
    "${run[@]}"
  elif command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
  else
    QT_QPA_PLATFORM=offscreen "${run[@]}"
  fi
)
echo "screenshots in $out"
