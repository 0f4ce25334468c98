#!/usr/bin/env bash
# Cross-compiles the Windows DLL and loads it in a small Windows host under Wine when
# Wine is present, then builds Brindlow twice (Release, and
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both; the
# Release plug-in is also shown to Ardour's VST scanner when Ardour is present.
# The sanitizer run comes last so that its test summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# Static mingw-w64 libpng and libjpeg-turbo for the DLL (at once when already built).
tools/build-mingw-deps.sh build/mingw-deps
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DBRINDLOW_MINGW_DEPS="$PWD/build/mingw-deps"
cmake --build build/windows -j "$jobs"
# The DLL stands alone: it may import system DLLs only.
imports=$(x86_64-w64-mingw32-objdump -p build/windows/Brindlow.dll | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "Brindlow.dll imports: ${imports//$'\n'/ }"
if echo "$imports" | grep -qviE '^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|ole32|comdlg32|ws2_32)\.dll$'; then
  echo "Brindlow.dll needs a DLL that Windows does not provide" >&2
  exit 1
fi
# Under Wine, when it is installed (tools/install-deps.sh leaves it out: it is large):
# a Windows host loads the DLL, and the image decoders read resources and Unicode names.
wine=$(command -v wine || command -v wine64 || true)
if [ -n "$wine" ]; then
  (export WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
   cd build/windows && "$wine" VstWineCheck.exe Brindlow.dll && "$wine" ImageWineCheck.exe)
else
  echo "Wine not found: the Windows DLL was built but not loaded (install wine64 to check it)"
fi

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_BENCH=ON
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

# A real Linux host's view of the plug-in, when Ardour is installed (it is large, so
# tools/install-deps.sh leaves it out): its VST scanner must find the name, the
# maker and two inputs and two outputs.
scanner=/usr/lib/ardour7/ardour-vst-scanner
if [ -x "$scanner" ]; then
  scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -v -f build/release/Brindlow.so 2>&1)
  echo "$scan" | grep -F '<VST2Info' || echo "$scan"
  if ! echo "$scan" | grep -F 'name="Brindlow-Mono/Stereo Delay" creator="Ardelnu"' | grep -qF 'n_inputs="2" n_outputs="2"'; then
    echo "Ardour's VST scanner does not see Brindlow as expected" >&2
    exit 1
  fi
else
  echo "Ardour not found: the plug-in was not shown to a real Linux host (install ardour to check it)"
fi

tools/test-fuzz.sh

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINDLOW_SANITIZE=ON -DBRINDLOW_BENCH=OFF
cmake --build build/asan -j "$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

