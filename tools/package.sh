#!/usr/bin/env bash
# Builds every package of Brindlow from a checkout into build/packages/:
#   brindlow_<version>_amd64.deb        Debian package (CPack, from build/release)
#   Brindlow-<version>-setup.exe        Windows installer, 64- and 32-bit (NSIS)
#   Brindlow-<version>-windows.zip      the installer's files, for installing by hand
#
#   tools/package.sh            (after tools/install-deps.sh --test)
#
# The builds are the ones tools/test.sh makes (build/release; build/windows and
# build/windows32 through tools/test-windows.sh --build-only); what is already built is
# reused, so after tools/test.sh this only packs. The version is the product's
# (cmake/BrindlowVersion.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
version=$(cmake -P cmake/BrindlowVersion.cmake)
packages=build/packages
mkdir -p "$packages"

# The Release build, configured as tools/test.sh does unless it already is.
if [ ! -f build/release/CMakeCache.txt ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_TESTS=ON -DBRINDLOW_BENCH=ON
fi
cmake --build build/release -j "$jobs" --target brindlow-package-files
rm -f "$packages/brindlow_${version}_amd64.deb"
(cd build/release && cpack -G DEB)
echo "made $packages/brindlow_${version}_amd64.deb"

# The Windows builds (both widths) and, from them, the installer and the zip.
tools/test-windows.sh --build-only
tools/packaging/windows-packages.sh "$version" "$packages"
