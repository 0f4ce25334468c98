#!/usr/bin/env bash
# Brindlow.lv2 from outside the test programs (ctest already loads it with lilv and
# validates its Turtle):
#   tools/test-lv2.sh [BUILD_DIR]   (default build/release, already built)
# - lv2ls and lv2info (lilv-utils) find both plug-ins with their names and ports;
# (lv2apply of lilv-utils 0.24 is not used: it offers a plug-in no features, so no
# urid:map, and crashes on the refused instance. The test host in tests/lv2 renders.)
# - Ardour, when installed, finds both in its own discovery, puts them on a track, loads a
#   preset and saves the session (ardour7-lua, headless: tools/lv2/ardour-probe.lua);
# - tools/install.sh installs a bundle lilv reads (into a scratch home);
# - jalv needs a JACK server: it is tried only when one answers.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/release}" && pwd)
[ -d "$build/Brindlow.lv2" ] || { echo "no $build/Brindlow.lv2: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Only this build's bundle, never an installed one, and LV2's core vocabulary (core.lv2), which
# names the plug-in classes.
mkdir "$work/lv2"
ln -s "$build/Brindlow.lv2" "$work/lv2/Brindlow.lv2"
ln -s /usr/lib/lv2/core.lv2 "$work/lv2/core.lv2"
export LV2_PATH="$work/lv2"
mono=urn:ardelnu:brindlow:mono
stereo=urn:ardelnu:brindlow:stereo
fail() { echo "test-lv2: $*" >&2; exit 1; }

uris=$(lv2ls)
for uri in $mono $stereo; do
  echo "$uris" | grep -qxF "$uri" || fail "lv2ls does not list $uri (it lists: $uris)"
done
info=$(lv2info $stereo)
echo "$info" | grep -qF 'Name:              Brindlow-Mono/Stereo Delay' || { echo "$info"; fail "lv2info: wrong name"; }
echo "$info" | grep -qF 'Class:             Delay Plugin' || { echo "$info"; fail "lv2info: not a delay plug-in"; }
echo "$info" | grep -qF 'Author:            Ardelnu' || { echo "$info"; fail "lv2info: wrong maintainer"; }
echo "$info" | grep -qF 'Presets:' || { echo "$info"; fail "lv2info: no presets"; }
echo "lv2ls/lv2info: both plug-ins found"

# Ardour's own discovery and instantiation, headless (its Lua interpreter, dummy back-end).
if command -v ardour7-lua >/dev/null; then
  probe=$(PROBE_SESSION="$work/session" timeout 300 ardour7-lua < tools/lv2/ardour-probe.lua 2>&1 || true)
  echo "$probe" | grep -E '^(LV2: urn:ardelnu|PLUGIN:|probe)' || true
  expect() { echo "$probe" | grep -qF "$1" || { echo "$probe" | tail -20; fail "Ardour: no \"$1\""; }; }
  expect 'LV2: urn:ardelnu:brindlow:mono | Brindlow-Mono/Stereo Delay (Mono) | Ardelnu'
  expect 'LV2: urn:ardelnu:brindlow:stereo | Brindlow-Mono/Stereo Delay | Ardelnu'
  expect 'PLUGIN: urn:ardelnu:brindlow:mono | inputs 1 | Vocal Doubler true | delay 40.00 pan 0.00 wet_mix -4.10'
  expect 'PLUGIN: urn:ardelnu:brindlow:stereo | inputs 2 | Vocal Doubler true | delay 40.00 pan 0.00 wet_mix -4.10'
  expect 'probe done'
  echo "Ardour: both plug-ins discovered, instantiated, preset loaded, session saved"
else
  echo "Ardour not found: the bundle was not shown to Ardour (install ardour to check it)"
fi

# tools/install.sh into a scratch home: lilv finds both plug-ins in the installed bundle.
HOME="$work/home" tools/install.sh "$build" >/dev/null
[ -f "$work/home/.vst/Brindlow.so" ] || fail "install.sh did not install Brindlow.so"
[ -f "$work/home/.clap/Brindlow.clap" ] || fail "install.sh did not install Brindlow.clap"
installed=$(LV2_PATH="$work/home/.lv2" lv2ls)
for uri in $mono $stereo; do
  echo "$installed" | grep -qxF "$uri" || fail "the installed bundle does not hold $uri"
done
echo "install.sh: the installed bundle holds both plug-ins"

if command -v jalv >/dev/null && command -v jack_lsp >/dev/null && jack_lsp >/dev/null 2>&1; then
  timeout 5 jalv -x $stereo </dev/null || true
else
  echo "jalv: no JACK server answers, skipped (lv2info above is the check)"
fi
