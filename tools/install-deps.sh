#!/usr/bin/env bash
# Installs the Debian packages Brindlow needs.
#
#   tools/install-deps.sh          what building the plug-in and tools/demo.sh need
#   tools/install-deps.sh --test   that, and what tools/test.sh needs besides: the tests and
#                                  benchmarks, the fuzzers (clang), the Windows cross
#                                  compilers, Wine of both widths (i386 enabled), Xvfb,
#                                  and the real hosts the scripts show the plug-in to
#                                  (Ardour, jalv with a JACK server)
#
# To add a package, put it in the list of the set that needs it.
set -euo pipefail

usage() {
  echo "usage: tools/install-deps.sh [--test]"
}
with_test=no
case "${1:-}" in
  "") ;;
  --test) with_test=yes ;;
  -h | --help) usage; exit 0 ;;
  *) usage >&2; exit 2 ;;
esac
[ $# -le 1 ] || { usage >&2; exit 2; }

# Building Brindlow.so (and the LV2 bundle) and brindlow-render, and rendering the demo.
build_packages=(
  build-essential cmake ninja-build pkg-config
  libpng-dev libjpeg62-turbo-dev zlib1g-dev        # the raster library's image decoders
  libfreetype-dev libfontconfig-dev fonts-dejavu-core  # the editor's text, and a face for it
  libxcb1-dev libxcb-shm0-dev libxcb-keysyms1-dev  # the editor window on X11 (XCB, MIT-SHM)
  libsndfile1-dev libfftw3-dev                     # brindlow-render: audio files, mono check
  lv2-dev                                          # the LV2 C headers
)

# tools/test.sh on top of the build set.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev  # tests; benchmark baselines
  libxcb-xtest0-dev xvfb xauth                     # the window tests' host under Xvfb
  x11-xserver-utils                                # xrdb: the window tests' Xft.dpi resource
  clang libclang-rt-14-dev                         # the libFuzzer programs
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev dpkg-dev  # the Windows DLLs
  wine wine64 wine32:i386 fonts-wine               # the DLLs' checks, 64-bit and 32-bit
  liblilv-dev lilv-utils sordi                     # an LV2 host; Turtle validation
  imagemagick sox                                  # the scripts that remake test pictures and sounds
  ardour                                           # a real host: its VST scanner and LV2 discovery
  jalv jackd2                                      # an LV2 host on a JACK server (dummy driver)
  help2man lintian file nsis                       # the packages: manual page, checks, installer
)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

packages=("${build_packages[@]}")
if [ "$with_test" = yes ]; then
  packages+=("${test_packages[@]}")
  # wine32 is an i386 package: it runs the 32-bit DLL's checks where the machine can
  # execute 32-bit programs (tools/test-windows.sh finds out).
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
fi
# A mirror in the middle of a sync answers with lists of the wrong size: try again, and
# after the last try go on with the lists apt has (the install below fails if they lack
# a package).
for attempt in 1 2 3 4; do
  $SUDO apt-get update -q && break
  if [ "$attempt" = 4 ]; then
    echo "install-deps: apt-get update failed $attempt times; going on with the package lists there are" >&2
    break
  fi
  sleep 20
done
$SUDO apt-get install -y -q --no-install-recommends "${packages[@]}"
