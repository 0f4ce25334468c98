#!/usr/bin/env bash
# Brindlow.lv2 from outside the test programs (ctest already loads it with lilv and
# validates its Turtle):
#   tools/test-lv2.sh [BUILD_DIR]   (default build/release, already built)
# - lv2ls and lv2info (lilv-utils) find both plug-ins with their names and ports;
# (lv2apply of lilv-utils 0.24 is not used: it offers a plug-in no features, so no
# urid:map, and crashes on the refused instance. The test host in tests/lv2 renders.)
# - Ardour finds both in its own discovery, puts them on a track, loads a preset and saves
#   the session (ardour7-lua, headless: tools/lv2/ardour-probe.lua);
# - tools/install.sh installs a bundle lilv reads (into a scratch home);
# - jalv runs the stereo plug-in on a JACK server of this script's own (dummy driver: no
#   audio hardware, no D-Bus), and jalv.gtk3 its editor under Xvfb.
# Every host comes with tools/install-deps.sh --test: a missing one is an error.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/release}" && pwd)
[ -d "$build/Brindlow.lv2" ] || { echo "no $build/Brindlow.lv2: build first" >&2; exit 1; }
work=$(mktemp -d)
jackd_pid=""
cleanup() {
  if [ -n "$jackd_pid" ]; then
    kill "$jackd_pid" 2>/dev/null || true
    wait "$jackd_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
# Only this build's bundle, never an installed one, and LV2's core vocabulary (core.lv2), which
# names the plug-in classes.
mkdir "$work/lv2"
ln -s "$build/Brindlow.lv2" "$work/lv2/Brindlow.lv2"
ln -s /usr/lib/lv2/core.lv2 "$work/lv2/core.lv2"
export LV2_PATH="$work/lv2"
mono=urn:ardelnu:brindlow:mono
stereo=urn:ardelnu:brindlow:stereo
fail() { echo "test-lv2: $*" >&2; exit 1; }
for tool in lv2ls lv2info ardour7-lua jackd jack_wait jalv jalv.gtk3 xvfb-run; do
  command -v $tool >/dev/null || fail "no $tool: install the test packages (tools/install-deps.sh --test)"
done

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
probe=$(PROBE_SESSION="$work/session" timeout 300 ardour7-lua < tools/lv2/ardour-probe.lua 2>&1 || true)
echo "$probe" | grep -E '^(LV2: urn:ardelnu|PLUGIN:|probe)' || true
expect() { echo "$probe" | grep -qF "$1" || { echo "$probe" | tail -20; fail "Ardour: no \"$1\""; }; }
expect 'LV2: urn:ardelnu:brindlow:mono | Brindlow-Mono/Stereo Delay (Mono) | Ardelnu'
expect 'LV2: urn:ardelnu:brindlow:stereo | Brindlow-Mono/Stereo Delay | Ardelnu'
expect 'PLUGIN: urn:ardelnu:brindlow:mono | inputs 1 | Vocal Doubler true | delay 40.00 pan 0.00 wet_mix -4.10'
expect 'PLUGIN: urn:ardelnu:brindlow:stereo | inputs 2 | Vocal Doubler true | delay 40.00 pan 0.00 wet_mix -4.10'
expect 'probe done'
echo "Ardour: both plug-ins discovered, instantiated, preset loaded, session saved"

# tools/install.sh into a scratch home: lilv finds both plug-ins in the installed bundle.
HOME="$work/home" tools/install.sh "$build" >/dev/null
[ -f "$work/home/.vst/Brindlow.so" ] || fail "install.sh did not install Brindlow.so"
[ -f "$work/home/.clap/Brindlow.clap" ] || fail "install.sh did not install Brindlow.clap"
installed=$(LV2_PATH="$work/home/.lv2" lv2ls)
for uri in $mono $stereo; do
  echo "$installed" | grep -qxF "$uri" || fail "the installed bundle does not hold $uri"
done
echo "install.sh: the installed bundle holds both plug-ins"

# jalv on a JACK server of its own, named for this run so that no other server is
# touched: the dummy driver needs no sound card, and with JACK_NO_AUDIO_RESERVATION no
# D-Bus (as root in CI). The plug-in must be instantiated, connected and run until jalv
# is stopped; jalv.gtk3 must also open the editor.
export JACK_NO_AUDIO_RESERVATION=1 JACK_DEFAULT_SERVER="brindlow-test-$$"
jackd --no-realtime -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jackd_pid=$!
jack_wait -w -t 10 >/dev/null 2>&1 || { cat "$work/jackd.log"; fail "the JACK server (dummy driver) did not start"; }
# Runs a jalv command line that ends in "timeout -s INT SECONDS jalv...": jalv must still be
# running when the time is up (status 124), and the plug-in's four audio ports must have been on the server meanwhile. Its
# input is a pipe that stays open: jalv ends at the end of its input.
mkfifo "$work/stdin"
exec 3<>"$work/stdin"
run_jalv() {
  local log="$work/jalv.log" rc=0 ports=""
  "$@" >"$log" 2>&1 <&3 &
  local pid=$!
  while kill -0 $pid 2>/dev/null; do
    # jalv registers its ports one by one: look again until all four are there.
    [ "$(echo "$ports" | grep -c .)" -eq 4 ] || ports=$(jack_lsp 2>/dev/null | grep -E '^brindlow-jalv:(in|out)_' || true)
    sleep 0.2
  done
  wait $pid || rc=$?
  [ $rc -eq 124 ] || { cat "$log"; fail "$* ended on its own (status $rc)"; }
  [ "$(echo "$ports" | grep -c .)" -eq 4 ] || { cat "$log"; echo "ports: $ports"; fail "$*: not the plug-in's four audio ports on the server"; }
}
run_jalv timeout -s INT 3 jalv -x -n brindlow-jalv $stereo
echo "jalv: the stereo plug-in ran on a JACK server (dummy driver)"
run_jalv xvfb-run -a timeout -s INT 5 jalv.gtk3 -x -n brindlow-jalv -s $stereo
grep -qF 'UI:           urn:ardelnu:brindlow:ui' "$work/jalv.log" || { cat "$work/jalv.log"; fail "jalv.gtk3 did not take the plug-in's editor"; }
echo "jalv.gtk3: the stereo plug-in ran with its editor under Xvfb"
