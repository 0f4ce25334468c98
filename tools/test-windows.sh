#!/usr/bin/env bash
# The Windows part of the test command: cross-compiles the plug-in DLL for 64-bit and
# for 32-bit hosts, checks that each imports system DLLs only, and runs the Windows
# check programs of each width under Wine, on a virtual X display (xvfb-run).
#
#   tools/test-windows.sh
#
# Builds in build/windows (64-bit) and build/windows32 (32-bit); Wine keeps one prefix
# per width in build/wine-prefix-64 and build/wine-prefix-32. A missing Wine or xvfb is
# an error: tools/install-deps.sh installs both.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# Runs the check programs of one width; called under xvfb-run (see the end).
if [ "${1:-}" = "--wine-checks" ]; then
  width=$2 dir=$3 reference=$4
  export WINEPREFIX="$root/build/wine-prefix-$width" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$width" = 32 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
  status=0
  (cd "$dir" && wine VstWineCheck.exe Brindlow.dll && wine ImageWineCheck.exe &&
     wine EditorWineCheck.exe Brindlow.dll "$(winepath -w "$reference")" editor-capture.bmp) || status=$?
  # Let Wine's server end before the virtual display goes away.
  wineserver -w || true
  exit "$status"
fi

for tool in wine wineserver xvfb-run; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run tools/install-deps.sh" >&2; exit 1; }
done
jobs=$(nproc)

# The editor at its defaults as the Linux headless renderer paints it: the Windows
# editor must show the same pixels outside its text.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_BENCH=ON
cmake --build build/release -j "$jobs" --target brindlow-render
reference=$root/build/editor-reference.png
build/release/brindlow-render --editor-snapshot "$reference"

# Static mingw-w64 libpng and libjpeg-turbo for both widths (at once when already built).
tools/build-mingw-deps.sh build/mingw-deps

# The DLLs stand alone: they may import only the system DLLs the editor window and the
# raster library call into.
allowed_imports='^(kernel32|user32|gdi32|msvcrt|comdlg32|shell32|wininet)\.dll$'

build_width() {
  local width=$1 triplet=$2 dir=$3
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$triplet.cmake" \
    -DBRINDLOW_MINGW_DEPS="$root/build/mingw-deps/$triplet-w64-mingw32"
  cmake --build "$dir" -j "$jobs"
  local imports
  imports=$("$triplet-w64-mingw32-objdump" -p "$dir/Brindlow.dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
  echo "$width-bit Brindlow.dll imports: ${imports//$'\n'/ }"
  if echo "$imports" | grep -qviE "$allowed_imports"; then
    echo "the $width-bit Brindlow.dll needs a DLL that Windows does not provide" >&2
    exit 1
  fi
  echo "Wine checks of the $width-bit DLL:"
  # A true-colour screen, so that pixels read back from the window are exact.
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --wine-checks "$width" "$root/$dir" "$reference"
}

build_width 64 x86_64 build/windows
build_width 32 i686 build/windows32
