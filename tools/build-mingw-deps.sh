#!/usr/bin/env bash
# Builds static mingw-w64 libraries of libpng and libjpeg-turbo from Debian's own
# source packages, so that the Windows DLL decodes its PNG and JPEG artwork without
# any DLL beside it. Debian packages zlib for mingw-w64 (libz-mingw-w64-dev) but
# neither of these two.
#
#   tools/build-mingw-deps.sh [prefix]      (default: build/mingw-deps)
#
# The cross build finds the prefix through cmake/mingw-w64-x86_64.cmake
# (BRINDLOW_MINGW_DEPS). A second run returns at once while the libraries are in
# place and this script and the toolchain file are unchanged.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(mkdir -p "${1:-$root/build/mingw-deps}" && cd "${1:-$root/build/mingw-deps}" && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
mingw_root=/usr/x86_64-w64-mingw32
src_packages=(libpng1.6 libjpeg-turbo)

recipe=$(cat "$0" "$toolchain" | sha256sum | cut -d' ' -f1)
stamp=$prefix/.recipe
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ] &&
   [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/lib/libjpeg.a" ]; then
  echo "mingw-w64 libpng and libjpeg-turbo already built in $prefix"
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

for tool in x86_64-w64-mingw32-gcc-posix cmake ninja dpkg-source; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run tools/install-deps.sh" >&2; exit 1; }
done
[ -f "$mingw_root/lib/libz.a" ] || { echo "missing libz-mingw-w64-dev: run tools/install-deps.sh" >&2; exit 1; }

# apt-get source needs a deb-src entry. Without one, mirror Debian's deb entries
# (the deb822 file, or the one-line sources.list) as source entries.
has_deb_src() {
  grep -qsE '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}
if ! has_deb_src; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    echo "adding /etc/apt/sources.list.d/debian-src.sources"
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $SUDO tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    echo "adding /etc/apt/sources.list.d/debian-src.list"
    sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list |
      $SUDO tee /etc/apt/sources.list.d/debian-src.list >/dev/null
  else
    echo "no Debian apt sources found to mirror as deb-src" >&2
    exit 1
  fi
  $SUDO apt-get update -q
elif [ -z "$(apt-cache showsrc "${src_packages[0]}" 2>/dev/null)" ]; then
  # The entry exists but its index has never been fetched.
  $SUDO apt-get update -q
fi

# Unpacked (with Debian's patches applied) under build/mingw-deps-src/<package>.
work=$root/build/mingw-deps-src
mkdir -p "$work"
source_dir() {
  local package=$1 version dir
  version=$(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -V | tail -1)
  [ -n "$version" ] || { echo "no source package $package in the apt sources" >&2; exit 1; }
  dir=$work/$package-${version#*:}
  if [ ! -d "$dir" ]; then
    (cd "$work" && rm -rf "$package.tmp" && mkdir "$package.tmp" && cd "$package.tmp" &&
       apt-get source -q "$package=$version" >&2 &&
       mv "$(find . -mindepth 1 -maxdepth 1 -type d | head -1)" "$dir") ||
      { echo "apt-get source $package failed" >&2; exit 1; }
    rm -rf "$work/$package.tmp"
  fi
  echo "$dir"
}

build_with_cmake() {
  local name=$1 src=$2
  shift 2
  rm -rf "$work/build-$name"
  cmake -S "$src" -B "$work/build-$name" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" "$@"
  cmake --build "$work/build-$name" -j "$(nproc)"
  cmake --install "$work/build-$name"
}

rm -f "$stamp"

# libjpeg-turbo: the C code paths only (no nasm), static libjpeg without TurboJPEG.
jpeg_src=$(source_dir libjpeg-turbo)
build_with_cmake jpeg "$jpeg_src" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF

# libpng: static, against the static mingw-w64 zlib.
png_src=$(source_dir libpng1.6)
build_with_cmake png "$png_src" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_INCLUDE_DIR="$mingw_root/include" -DZLIB_LIBRARY="$mingw_root/lib/libz.a"

echo "$recipe" >"$stamp"
echo "mingw-w64 libpng and libjpeg-turbo installed in $prefix"
