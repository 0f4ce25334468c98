#!/usr/bin/env bash
# Builds the libFuzzer programs of tests/fuzz with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (build/fuzz), replays the committed corpora through
# them, then runs each fuzzer for a bounded time (BRINDLOW_FUZZ_SECONDS, 30 by
# default). Inputs the fuzzers find go to build/fuzz/corpus, crashes to
# build/fuzz/findings; the committed corpora are never written.
# Without clang this says so and succeeds: the ordinary test run replays the
# committed corpora anyway.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${BRINDLOW_FUZZ_SECONDS:-30}

if ! command -v clang >/dev/null || ! command -v clang++ >/dev/null; then
  echo "clang not found: the fuzzers were not run (tools/install-deps.sh --test installs clang)"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLOW_FUZZ=ON \
  -DBRINDLOW_TESTS=OFF -DBRINDLOW_BENCH=OFF -DBRINDLOW_TOOLS=OFF
cmake --build build/fuzz -j "$(nproc)"
(cd build/fuzz && ctest --output-on-failure)

mkdir -p build/fuzz/findings
for name in png jpeg raster chunk dispatcher; do
  mkdir -p "build/fuzz/corpus/$name"
  echo "fuzzing $name for ${seconds} s"
  log="build/fuzz/fuzz_$name.log"
  status=0
  build/fuzz/tests/fuzz/fuzz_$name -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/$name-" "build/fuzz/corpus/$name" "tests/fuzz/corpus/$name" \
    >"$log" 2>&1 || status=$?
  grep -E '^stat::number_of_executed_units' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$name found a fault (whole output in $log; the input is in build/fuzz/findings)" >&2
    exit 1
  fi
done
