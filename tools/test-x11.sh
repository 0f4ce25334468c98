#!/usr/bin/env bash
# The editor in a real X11 window, under Xvfb:
#   tools/test-x11.sh [BUILD_DIR...]
# runs the window tests (CTest label x11) of each build directory given (already built,
# e.g. build/release and build/asan), then builds the plug-in and the thread stress host
# with ThreadSanitizer in build/tsan and runs them for 30 seconds: any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# The platform-scale tests load Xft.dpi into the server with xrdb.
command -v xrdb >/dev/null || { echo "missing xrdb: run tools/install-deps.sh --test" >&2; exit 1; }
# A screen of 24-bit colour, which the pixel comparisons read back.
# -noreset: the server stays up between one test's last client and the next one's first,
# and keeps the resources xrdb loaded.
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset")

for dir in "$@"; do
  (cd "$dir" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     "${xvfb[@]}" ctest -L x11 --output-on-failure)
done

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLOW_TSAN=ON \
  -DBRINDLOW_BENCH=OFF -DBRINDLOW_TOOLS=OFF
cmake --build build/tsan -j "$jobs" --target Brindlow x11_thread_stress
(cd build/tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
   "${xvfb[@]}" ctest -L tsan --output-on-failure)
