#!/usr/bin/env bash
# Brindlow.vst3 in Ardour 7 without its GUI (ctest already drives the bundle through the
# VST 3 host kit):
#   tools/test-vst3.sh [BUILD_DIR]   (default build/release, already built)
# Ardour gets a private home whose ~/.vst3 holds only this build's bundle (it scans
# ~/.vst3, /usr/lib/vst3, /usr/local/lib/vst3 and its configured path); its VST 3 scanner
# fills the home's plug-in cache, as Ardour's own scan would; ardour7-lua then runs
# tools/vst3/ardour-probe.lua: the plug-in on a stereo track, the factory program "Vocal
# Doubler" through Ardour's preset menu, its values read back, the session saved. The
# saved session must hold the plug-in, the program and the processor's state with it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/release}" && pwd)
[ -d "$build/Brindlow.vst3" ] || { echo "no $build/Brindlow.vst3: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "test-vst3: $*" >&2; exit 1; }
scanner=/usr/lib/ardour7/ardour-vst3-scanner
for tool in ardour7-lua "$scanner"; do
  command -v "$tool" >/dev/null || fail "no $tool: install the test packages (tools/install-deps.sh --test)"
done

export HOME="$work/home"
mkdir -p "$HOME/.vst3"
ln -s "$build/Brindlow.vst3" "$HOME/.vst3/Brindlow.vst3"
scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -f "$HOME/.vst3/Brindlow.vst3" 2>&1) || { echo "$scan"; fail "the VST 3 scanner failed"; }

probe=$(PROBE_SESSION="$work/session" timeout 120 ardour7-lua < tools/vst3/ardour-probe.lua 2>&1 || true)
echo "$probe" | grep -E '^(VST3:|PLUGIN:|probe)' || true
expect() { echo "$probe" | grep -qxF "$1" || { echo "$probe" | tail -20; fail "Ardour: no \"$1\""; }; }
uid=4B797642726E646C6F77565354330001
expect "VST3: $uid | Brindlow-Mono/Stereo Delay | Ardelnu"
expect 'PLUGIN: Brindlow-Mono/Stereo Delay | inputs 2 | Vocal Doubler true | delay 40.00 pan 0.00 wet_mix -4.10'
expect 'probe done'
[ "$(echo "$probe" | grep -c '^VST3:')" -eq 1 ] || fail "Ardour found other VST 3 plug-ins than this build's"
echo "Ardour: Brindlow.vst3 discovered, on a stereo track, \"Vocal Doubler\" loaded"

# The saved session: the processor, the program Ardour names, the three values, and the
# plug-in's own state (a VST 3 preset of its class whose component state holds the
# program's 40 ms delay, the little-endian double 40.0).
session="$work/session/probe.ardour"
[ -f "$session" ] || fail "no saved session $session"
has() { grep -qF "$1" "$session" || fail "the saved session has no $1"; }
has "type=\"vst3\" unique-id=\"$uid\""
has 'last-preset-label="Vocal Doubler"'
has '<Port id="0" value="40"/>'
has '<Port id="1" value="0"/>'
has '<Port id="2" value="-4.1'
chunk=$(sed -n 's/.*<chunk>\([^<]*\)<\/chunk>.*/\1/p' "$session" | head -1 | base64 -d | od -An -v -tx1 | tr -d ' \n')
[ -n "$chunk" ] || fail "the saved session holds no state of the plug-in"
header=$(printf 'VST3\1\0\0\0%s' "$uid" | od -An -v -tx1 | tr -d ' \n')
[ "${chunk:0:${#header}}" = "$header" ] || fail "the saved state is no VST 3 preset of Brindlow's class"
echo "$chunk" | grep -q 0000000000004440 || fail "the saved state does not hold the program's values"
echo "Ardour: the saved session holds the plug-in, its program and its state"
