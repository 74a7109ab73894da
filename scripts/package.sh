#!/usr/bin/env bash
# Builds the Debian package build-package/kw9100_VERSION_ARCH.deb (the module with its message
# files, the simulated access point with its profiles, manual pages) from an optimised build
# without tests or benchmarks, and checks it with lintian: errors fail, other tags are listed.
# Prints the package's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
dir=build-package
# Debian's hardening flags (the module carries a file capability), without debug information: the
# package is stripped. Optimiser-only warnings of this build do not stop it; the test build has
# -Werror.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS | sed -E 's/(^| )-g( |$)/ /')"
bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DKW_SANITIZE=OFF -DKW_WERROR=OFF \
  -DKW_BUILD_TESTS=OFF -DKW_BUILD_BENCHMARKS=OFF -DKW_SIM_SOURCE_PROFILES=OFF \
  "-DCMAKE_C_FLAGS=$cflags" "-DCMAKE_CXX_FLAGS=$cflags" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >&2
rm -f "$dir"/kw9100_*.deb
(cd "$dir" && cpack -G DEB >&2)
deb=$(ls "$PWD/$dir"/kw9100_*.deb)
lintian --fail-on error --display-info "$deb" >&2
echo "$deb"
