#!/usr/bin/env bash
# Installs every Debian package that building, testing and cross-compiling Brindlow needs.
set -euo pipefail
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libsndfile1-dev \
  libfreetype-dev libfontconfig-dev libx11-dev libpixman-1-dev \
  fonts-wine fonts-dejavu-core imagemagick sox \
  g++-mingw-w64-x86-64 libz-mingw-w64-dev dpkg-dev \
  clang libclang-rt-14-dev
# Optional, large: wine64 lets tools/test.sh load the Windows DLL in a Windows host.
