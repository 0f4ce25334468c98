#!/usr/bin/env bash
# Builds static mingw-w64 libraries of libpng and libjpeg-turbo from Debian's own
# source packages, for the 64-bit and the 32-bit Windows DLL, so that both decode
# their PNG and JPEG artwork without any DLL beside them. Debian packages zlib for
# mingw-w64 (libz-mingw-w64-dev, both widths) but neither of these two.
#
#   tools/build-mingw-deps.sh [root]      (default: build/mingw-deps)
#
# Installs into <root>/x86_64-w64-mingw32 and <root>/i686-w64-mingw32, where
# cmake/mingw-w64-x86_64.cmake and cmake/mingw-w64-i686.cmake look by default
# (BRINDLOW_MINGW_DEPS). A width whose libraries are in place, built by this script
# and toolchain unchanged, is skipped at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps_root=$(mkdir -p "${1:-$root/build/mingw-deps}" && cd "${1:-$root/build/mingw-deps}" && pwd)
triplets=(x86_64-w64-mingw32 i686-w64-mingw32)
src_packages=(libpng1.6 libjpeg-turbo)

toolchain_of() {
  case $1 in
    x86_64-w64-mingw32) echo "$root/cmake/mingw-w64-x86_64.cmake" ;;
    i686-w64-mingw32) echo "$root/cmake/mingw-w64-i686.cmake" ;;
  esac
}
recipe_of() {
  cat "$0" "$(toolchain_of "$1")" "$root/cmake/mingw-w64-common.cmake" | sha256sum | cut -d' ' -f1
}
is_built() {
  local prefix=$deps_root/$1
  [ -f "$prefix/.recipe" ] && [ "$(cat "$prefix/.recipe")" = "$(recipe_of "$1")" ] &&
    [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/lib/libjpeg.a" ]
}

pending=()
for triplet in "${triplets[@]}"; do
  if is_built "$triplet"; then
    echo "mingw-w64 libpng and libjpeg-turbo already built in $deps_root/$triplet"
  else
    pending+=("$triplet")
  fi
done
[ ${#pending[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

for tool in cmake ninja dpkg-source; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run tools/install-deps.sh --test" >&2; exit 1; }
done
for triplet in "${pending[@]}"; do
  command -v "$triplet-gcc-posix" >/dev/null ||
    { echo "missing $triplet-gcc-posix: run tools/install-deps.sh --test" >&2; exit 1; }
  [ -f "/usr/$triplet/lib/libz.a" ] ||
    { echo "missing /usr/$triplet/lib/libz.a (libz-mingw-w64-dev): run tools/install-deps.sh --test" >&2; exit 1; }
done

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

# Unpacked (with Debian's patches applied) under build/mingw-deps-src/<package>-<version>,
# shared by both widths. The index can name versions whose files a mirror no longer
# serves (a security update replaced by a newer one, a point release in transit), so
# every version the index knows is tried, newest first, and the first that downloads
# is used.
work=$root/build/mingw-deps-src
mkdir -p "$work"
source_dir() {
  local package=$1 version dir tried=""
  for dir in "$work/$package"-*/; do
    [ -d "$dir" ] && { echo "using the unpacked source ${dir%/}" >&2; echo "${dir%/}"; return; }
  done
  local versions
  versions=$(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -urV)
  [ -n "$versions" ] || { echo "no source package $package in the apt sources" >&2; exit 1; }
  for version in $versions; do
    dir=$work/$package-${version#*:}
    rm -rf "$work/$package.tmp" && mkdir "$work/$package.tmp"
    if (cd "$work/$package.tmp" && apt-get source -q "$package=$version" >&2); then
      mv "$(find "$work/$package.tmp" -mindepth 1 -maxdepth 1 -type d | head -1)" "$dir"
      rm -rf "$work/$package.tmp"
      echo "using $package $version${tried:+ (did not download:$tried)}" >&2
      echo "$dir"
      return
    fi
    tried="$tried $version"
  done
  rm -rf "$work/$package.tmp"
  echo "apt-get source $package failed for every version the apt sources list:$tried" >&2
  exit 1
}

build_with_cmake() {
  local triplet=$1 name=$2 src=$3
  shift 3
  local prefix=$deps_root/$triplet build=$work/build-$triplet-$name
  rm -rf "$build"
  cmake -S "$src" -B "$build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$triplet")" -DBRINDLOW_MINGW_DEPS="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" "$@"
  cmake --build "$build" -j "$(nproc)"
  cmake --install "$build"
}

jpeg_src=$(source_dir libjpeg-turbo)
png_src=$(source_dir libpng1.6)
for triplet in "${pending[@]}"; do
  rm -f "$deps_root/$triplet/.recipe"
  # libjpeg-turbo: the C code paths only (no nasm), static libjpeg without TurboJPEG.
  build_with_cmake "$triplet" jpeg "$jpeg_src" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
  # libpng: static, against the static mingw-w64 zlib.
  build_with_cmake "$triplet" png "$png_src" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_INCLUDE_DIR="/usr/$triplet/include" -DZLIB_LIBRARY="/usr/$triplet/lib/libz.a"
  recipe_of "$triplet" >"$deps_root/$triplet/.recipe"
  echo "mingw-w64 libpng and libjpeg-turbo installed in $deps_root/$triplet"
done
