#!/usr/bin/env bash
# Builds the Windows DLLs and checks them under Wine (tools/test-windows.sh), then
# builds Brindlow twice (Release, and
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both; the
# Release plug-in is also shown to Ardour's VST scanner when Ardour is present.
# The sanitizer run comes last so that its test summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

tools/test-windows.sh
tools/test-clap.sh # the Windows Brindlow.clap files: imports, and the 64-bit one under Wine

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

tools/test-x11.sh build/release build/asan
