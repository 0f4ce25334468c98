#!/usr/bin/env bash
# Makes tools/demo/voice-mono.wav, the demo input: a short spoken phrase from
# espeak-ng with a plucked chord from sox under it, mixed to mono, 16-bit 44.1 kHz.
# The file is committed; run this only to make it again (needs espeak-ng and sox).
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

espeak-ng -v en-gb -s 150 -w "$tmp/speech.wav" "Brindlow widens a mono voice into stereo."
sox "$tmp/speech.wav" -r 44100 -c 1 -b 16 "$tmp/voice.wav" norm -3 pad 0.2 0.3

# A plucked E minor chord, quieter than the voice, for something with sharp attacks.
sox -n -r 44100 -c 1 -b 16 "$tmp/chord.wav" synth 2.5 pluck E2 pluck B2 pluck E3 pluck G3 fade 0 2.5 1.5 norm -14

sox -m "$tmp/voice.wav" "$tmp/chord.wav" -b 16 voice-mono.wav norm -1
soxi voice-mono.wav
