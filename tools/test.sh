#!/usr/bin/env bash
# The test command (after tools/install-deps.sh --test):
#
#   tools/test.sh            everything, in this order: the Windows DLLs under Wine
#                            (tools/test-windows.sh); the Release build and its tests, the
#                            LV2 and VST 3 bundles in Ardour (tools/test-lv2.sh,
#                            tools/test-vst3.sh), and Ardour's VST and VST 3 scanners; the
#                            packages (tools/package.sh, tools/test-packages.sh); the fuzzers
#                            (tools/test-fuzz.sh); the AddressSanitizer +
#                            UndefinedBehaviorSanitizer build and its tests; the editor in
#                            real windows under Xvfb and the ThreadSanitizer run
#                            (tools/test-x11.sh)
#   tools/test.sh --quick    the Release build and its tests only, for day-to-day work
#
# Each stage starts with a "==" line giving the time since the start; the whole command
# should take less than 25 minutes on two cores, and it warns at the end when it did not.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

usage() {
  echo "usage: tools/test.sh [--quick]"
}
quick=no
case "${1:-}" in
  "") ;;
  --quick) quick=yes ;;
  -h | --help) usage; exit 0 ;;
  *) usage >&2; exit 2 ;;
esac
[ $# -le 1 ] || { usage >&2; exit 2; }

stage() {
  printf '== [%d:%02d] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*"
}

# The Release build in build/release. tools/demo.sh configures the same directory
# without tests and benchmarks, so both are switched on here by name.
release_build_and_tests() {
  stage "Release build and tests (build/release)"
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_TESTS=ON -DBRINDLOW_BENCH=ON
  cmake --build build/release -j "$jobs"
  (cd build/release && ctest --output-on-failure -j "$jobs")
}

if [ "$quick" = yes ]; then
  release_build_and_tests
  stage "done (quick: Release tests only)"
  exit 0
fi

stage "Windows DLLs under Wine (tools/test-windows.sh)"
tools/test-windows.sh

release_build_and_tests
stage "LV2 bundle in LV2 tools and hosts (tools/test-lv2.sh)"
tools/test-lv2.sh build/release
stage "VST 3 bundle in Ardour 7 (tools/test-vst3.sh)"
tools/test-vst3.sh build/release

# A real Linux host's view of the plug-in (tools/install-deps.sh --test installs Ardour):
# its VST and VST 3 scanners must find the name, the maker and two inputs and two outputs.
scanner=/usr/lib/ardour7/ardour-vst-scanner
[ -x "$scanner" ] || { echo "no $scanner: install the test packages (tools/install-deps.sh --test)" >&2; exit 1; }
scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -v -f build/release/Brindlow.so 2>&1)
echo "$scan" | grep -F '<VST2Info' || echo "$scan"
if ! echo "$scan" | grep -F 'name="Brindlow-Mono/Stereo Delay" creator="Ardelnu"' | grep -qF 'n_inputs="2" n_outputs="2"'; then
  echo "Ardour's VST scanner does not see Brindlow as expected" >&2
  exit 1
fi
# Its VST 3 scanner writes what it found to a cache file it names.
scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f build/release/Brindlow.vst3 2>&1)
cache=$(echo "$scan" | sed -n 's/.*Saved VST3 plugin cache to //p' | tail -1)
info=$( [ -n "$cache" ] && [ -f "$cache" ] && grep -F '<VST3Info' "$cache" )
echo "${info:-$scan}"
if ! echo "$info" | grep -F 'name="Brindlow-Mono/Stereo Delay" vendor="Ardelnu"' | grep -qF 'n_inputs="2" n_outputs="2"'; then
  echo "Ardour's VST 3 scanner does not see Brindlow.vst3 as expected" >&2
  exit 1
fi

stage "Packages: build and try them (tools/package.sh, tools/test-packages.sh)"
tools/package.sh
tools/test-packages.sh

stage "Fuzzers (tools/test-fuzz.sh)"
tools/test-fuzz.sh

stage "AddressSanitizer + UndefinedBehaviorSanitizer build and tests (build/asan)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINDLOW_SANITIZE=ON -DBRINDLOW_TESTS=ON -DBRINDLOW_BENCH=OFF
cmake --build build/asan -j "$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

stage "Editor windows under Xvfb, ThreadSanitizer run (tools/test-x11.sh)"
tools/test-x11.sh build/release build/asan

stage "done"
# The whole command is meant to stay under 25 minutes on two cores; the stage lines
# above show which part grew.
if [ "$SECONDS" -gt $((25 * 60)) ]; then
  echo "WARNING: the test command took longer than its 25 minutes here (see the == lines)"
fi
