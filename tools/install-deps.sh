#!/usr/bin/env bash
# Installs every Debian package that building, testing and cross-compiling Brindlow needs.
set -euo pipefail
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# Wine runs the 32-bit DLL's checks through wine32, an i386 package.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libsndfile1-dev \
  libfreetype-dev libfontconfig-dev libx11-dev libpixman-1-dev libfftw3-dev \
  fonts-wine fonts-dejavu-core imagemagick sox \
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev dpkg-dev \
  wine wine64 wine32:i386 xvfb xauth clang libclang-rt-14-dev
# The Linux editor window (XCB with MIT-SHM and key symbols), and XTEST for its test host.
$SUDO apt-get install -y -q --no-install-recommends \
  libxcb1-dev libxcb-shm0-dev libxcb-keysyms1-dev libxcb-xtest0-dev
# LV2: headers, lilv for the test host, lv2ls/lv2info, sord_validate (package sordi), jalv.
$SUDO apt-get install -y -q --no-install-recommends lv2-dev liblilv-dev lilv-utils sordi jalv
