#!/usr/bin/env bash
# Builds Brindlow (Release, build/release) and renders the demo voice through the
# "Vocal Doubler" program into a stereo file.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
build=build/release
output=build/demo-vocal-doubler.wav

# Without the tests and benchmarks, whose libraries only tools/install-deps.sh --test
# installs; tools/test.sh switches them on again in the same directory.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLOW_TESTS=OFF -DBRINDLOW_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target Brindlow brindlow-render

"$build/brindlow-render" --program "Vocal Doubler" tools/demo/voice-mono.wav "$output"

echo
echo "Rendered the demo through \"Vocal Doubler\" (40 ms, -4.1 dB, left leading):"
echo "  input:  $(pwd)/tools/demo/voice-mono.wav (mono)"
echo "  output: $(pwd)/$output (stereo)"
echo "The plug-in itself is $(pwd)/$build/Brindlow.so; see README.md to install it for a host."
