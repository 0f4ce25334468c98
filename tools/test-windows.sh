#!/usr/bin/env bash
# The Windows part of the test command: cross-compiles the plug-in DLL (VST 2.4),
# Brindlow.clap and the VST 3 module for 64-bit and for 32-bit hosts, checks that each
# imports system DLLs only (and that Brindlow.clap exports clap_entry alone, the VST 3
# module GetPluginFactory, InitDll and ExitDll undecorated), runs the Windows check
# programs of each width under Wine, on a virtual X display (xvfb-run), and puts both
# VST 3 modules into one bundle, build/windows/Brindlow.vst3.
#
#   tools/test-windows.sh
#   tools/test-windows.sh --build-only   the two builds alone, no checks (tools/package.sh)
#
# Builds in build/windows (64-bit) and build/windows32 (32-bit); Wine keeps one prefix
# per width in build/wine-prefix-64 and build/wine-prefix-32, and one more per width for
# a screen of 192 dpi (build/wine-prefix-64-192dpi, build/wine-prefix-32-192dpi). A
# missing Wine or xvfb is an error: tools/install-deps.sh --test installs both.
#
# Wine's loaders are called directly, never through /usr/bin/wine (tools/wine-tools.sh).
# Some machines cannot execute 32-bit programs at all (a kernel without IA-32 emulation:
# "Exec format error"); there the 32-bit files are still built and their imports checked,
# their Wine checks are not run, and one line says so:
#   32-bit Wine checks NOT RUN: this machine cannot execute 32-bit programs (Exec format error)
# Where the checks of a width ran and passed, the line is "<width>-bit Wine checks passed".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

. tools/wine-tools.sh

# Runs the check programs of one width; called under xvfb-run (see the end).
if [ "${1:-}" = "--wine-checks" ]; then
  width=$2 dir=$3 reference=$4
  loader_var=wine_loader_$width
  export WINELOADER=${!loader_var} WINESERVER=$wineserver
  export WINEPREFIX="$root/build/wine-prefix-$width" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$width" = 32 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
  status=0
  # The prefix is made by this width's loader, before the first check runs in it.
  [ -f "$WINEPREFIX/system.reg" ] || "$WINELOADER" wineboot.exe --init || status=$?
  if [ "$status" -eq 0 ]; then
    (cd "$dir" && "$WINELOADER" VstWineCheck.exe Brindlow.dll && "$WINELOADER" ImageWineCheck.exe &&
       windows_reference=$("$WINELOADER" winepath.exe -w "$reference") &&
       "$WINELOADER" EditorWineCheck.exe Brindlow.dll "$windows_reference" editor-capture.bmp &&
       "$WINELOADER" ClapWineCheck.exe Brindlow.clap "$windows_reference" &&
       "$WINELOADER" Vst3WineCheck.exe Brindlow.vst3 "$windows_reference" &&
       "$WINELOADER" DpiWineCheck.exe Brindlow.dll 96) || status=$?
  fi
  # Let Wine's server end before the virtual display goes away.
  "$WINESERVER" -w || true
  # The editor on a screen of 192 dpi, in a prefix of its own (a copy of the first, made
  # once its server has saved it) so that the checks above keep seeing 96. Wine's DPI is
  # LogPixels of HKCU\Control Panel\Desktop, else of HKLM\System\CurrentControlSet\
  # Hardware Profiles\Current\Software\Fonts (96 in a new prefix).
  if [ "$status" -eq 0 ]; then
    export WINEPREFIX="$root/build/wine-prefix-$width-192dpi"
    [ -f "$WINEPREFIX/system.reg" ] || cp -a "$root/build/wine-prefix-$width" "$WINEPREFIX"
    "$WINELOADER" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null &&
      (cd "$dir" && "$WINELOADER" DpiWineCheck.exe Brindlow.dll 192 &&
         "$WINELOADER" DpiWineCheck.exe Brindlow.dll 192 --unaware) || status=$?
    "$WINESERVER" -w || true
  fi
  exit "$status"
fi

build_only=no
if [ "${1:-}" = "--build-only" ]; then
  build_only=yes
elif [ $# -gt 0 ]; then
  echo "usage: tools/test-windows.sh [--build-only]" >&2
  exit 2
fi

jobs=$(nproc)
# build_dir TRIPLET DIR: the cross build of one width (after tools/build-mingw-deps.sh).
build_dir() {
  local triplet=$1 dir=$2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$triplet.cmake" \
    -DBRINDLOW_MINGW_DEPS="$root/build/mingw-deps/$triplet-w64-mingw32"
  cmake --build "$dir" -j "$jobs"
}
if [ "$build_only" = yes ]; then
  tools/build-mingw-deps.sh build/mingw-deps
  build_dir x86_64 build/windows
  build_dir i686 build/windows32
  exit 0
fi

require_wine_tools
if runs_32bit_programs; then
  wine32_runs=yes
  echo "This machine executes 32-bit programs: the 32-bit Wine checks will run."
else
  wine32_runs=no
  echo "This machine cannot execute 32-bit programs: the 32-bit DLL is built and its imports checked, its Wine checks cannot run."
fi

# The editor at its defaults as the Linux headless renderer paints it: the Windows
# editor must show the same pixels outside its text. (The options are tools/test.sh's,
# which builds and tests the same directory.)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_TESTS=ON -DBRINDLOW_BENCH=ON
cmake --build build/release -j "$jobs" --target brindlow-render
reference=$root/build/editor-reference.png
build/release/brindlow-render --editor-snapshot "$reference"

# Static mingw-w64 libpng and libjpeg-turbo for both widths (at once when already built).
tools/build-mingw-deps.sh build/mingw-deps

# The DLLs stand alone: they may import only the system DLLs the editor window and the
# raster library call into.
allowed_imports='^(kernel32|user32|gdi32|msvcrt|comdlg32|shell32|wininet)\.dll$'

# check_module TRIPLET MODULE [EXPORT]: fails unless the module imports allowed system
# DLLs only, and, when EXPORT is given, unless that is its one and only export.
check_module() {
  local triplet=$1 module=$2 only_export=${3:-} headers imports exports
  headers=$("$triplet-w64-mingw32-objdump" -p "$module")
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
  echo "$module imports: ${imports//$'\n'/ }"
  if grep -qviE "$allowed_imports" <<<"$imports"; then
    echo "$module needs a DLL that Windows does not provide" >&2
    exit 1
  fi
  [ -n "$only_export" ] || return 0
  # The names under "[Ordinal/Name Pointer] Table", as "[   0] clap_entry".
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
    sed -nE 's/^[[:space:]]*\[ *[0-9]+\] (.*)$/\1/p')
  if [ "$exports" != "$only_export" ]; then
    echo "$module exports [${exports//$'\n'/ }]; it must export $only_export alone" >&2
    exit 1
  fi
}

build_width() {
  local width=$1 triplet=$2 dir=$3 run_checks=$4
  build_dir "$triplet" "$dir"
  check_module "$triplet" "$dir/Brindlow.dll"
  check_module "$triplet" "$dir/Brindlow.clap" clap_entry
  local arch=x86_64-win
  [ "$width" = 32 ] && arch=x86-win
  check_module "$triplet" "$dir/Brindlow.vst3/Contents/$arch/Brindlow.vst3" $'ExitDll\nGetPluginFactory\nInitDll'
  if [ "$run_checks" = no ]; then
    echo "$width-bit Wine checks NOT RUN: this machine cannot execute $width-bit programs (Exec format error)"
    return
  fi
  echo "Wine checks of the $width-bit DLL:"
  # A true-colour screen, so that pixels read back from the window are exact.
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --wine-checks "$width" "$root/$dir" "$reference"
  echo "$width-bit Wine checks passed"
}

build_width 64 x86_64 build/windows yes
build_width 32 i686 build/windows32 "$wine32_runs"

# One VST 3 bundle for Windows hosts of both widths, with the resources the Linux build
# made (moduleinfo.json, the editor snapshot).
rm -rf build/windows/Brindlow.vst3/Contents/x86-win build/windows/Brindlow.vst3/Contents/Resources
cp -R build/windows32/Brindlow.vst3/Contents/x86-win build/windows/Brindlow.vst3/Contents/
cmake --build build/release -j "$jobs" --target BrindlowVST3Bundle
cp -R build/release/Brindlow.vst3/Contents/Resources build/windows/Brindlow.vst3/Contents/
echo "Windows VST 3 bundle: build/windows/Brindlow.vst3 (x86_64-win and x86-win)"
