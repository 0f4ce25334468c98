#!/usr/bin/env bash
# Cross-compiles the Windows DLL, then builds Brindlow twice (Release, and
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
cmake --build build/windows -j "$jobs"

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_BENCH=ON
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINDLOW_SANITIZE=ON -DBRINDLOW_BENCH=OFF
cmake --build build/asan -j "$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")
