#!/usr/bin/env bash
# The README's pictures of Brindlow.vst3 in Ardour 7 at 200% GUI scaling:
#   tools/ardour-pictures.sh [BUILD_DIR] [OUT_DIR]   (defaults build/release, img)
# writes OUT_DIR/ardour-vst3-2x.png (the editor with "Vocal Doubler") and
# OUT_DIR/ardour-vst3-mono-check.png (the same with its mono-check view open). Ardour runs
# under an Xvfb of its own (2200 x 1400) in a private home: the session of
# tools/vst3/ardour-probe.lua, "GUI and Font scaling" 200%, the dummy audio back-end. Ardour
# is driven by clicks at fixed places of its dialogs, measured for Ardour 7.3 at 200% on
# this screen; another Ardour may lay them out elsewhere, so look at each picture.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/release}" && pwd)
out=${2:-img}
[ -d "$build/Brindlow.vst3" ] || { echo "no $build/Brindlow.vst3: build first" >&2; exit 1; }
for tool in ardour ardour7-lua Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "no $tool: install the test packages (tools/install-deps.sh --test)" >&2; exit 1; }
done
work=$(mktemp -d)
xvfb_pid="" ardour_pid=""
cleanup() {
  [ -n "$ardour_pid" ] && kill "$ardour_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The private home: only this build's bundle, the first-run questions answered.
export HOME="$work/home"
mkdir -p "$HOME/.vst3" "$HOME/.config/ardour7"
ln -s "$build/Brindlow.vst3" "$HOME/.vst3/Brindlow.vst3"
LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f "$HOME/.vst3/Brindlow.vst3" >/dev/null 2>&1
touch "$HOME/.config/ardour7/.a7"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<Ardour>\n  <UI>\n    <Option name="font-scale" value="204800"/>\n  </UI>\n</Ardour>\n' \
  >"$HOME/.config/ardour7/ui_config"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<Ardour>\n  <Config>\n    <Option name="hide-dummy-backend" value="0"/>\n  </Config>\n</Ardour>\n' \
  >"$HOME/.config/ardour7/config"
PROBE_SESSION="$work/session" timeout 120 ardour7-lua <tools/vst3/ardour-probe.lua >"$work/probe.log" 2>&1 || true
grep -q 'probe done' "$work/probe.log" || { cat "$work/probe.log"; echo "the headless probe made no session" >&2; exit 1; }

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 2200x1400x24 >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
sleep 1
ardour "$work/session/probe.ardour" >"$work/ardour.log" 2>&1 &
ardour_pid=$!

# A press and a release of |button| (1 by default) at (x, y) of the screen.
click() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown "${3:-1}"
  sleep 0.1
  xdotool mouseup "${3:-1}"
  sleep 0.5
}
sleep 20
click 1446 766  # "Engine I/O device has changed": OK
sleep 4
click 1114 502  # Audio System
sleep 1
click 1080 572  # None (Dummy)
sleep 2
click 1540 910  # Start
sleep 12
xdotool key alt+m  # the mixer
sleep 3
xdotool mousemove 640 352 && sleep 0.3 && xdotool click --repeat 2 --delay 80 1  # Brindlow in the strip
sleep 5

# The plug-in window and the editor's place on the screen.
window=$(xdotool search --name 'Brindlow-Mono/Stereo Delay' | head -1)
[ -n "$window" ] || { tail -20 "$work/ardour.log"; echo "Ardour opened no editor" >&2; exit 1; }
geometry() { xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print w "x" h "+" x "+" y}'; }
shoot() {
  xdotool mousemove 10 1390
  sleep 2
  import -window root -crop "$(geometry)" +repage "$work/shot.png"
  convert "$work/shot.png" -strip -define png:compression-level=9 "$1"
  echo "$1: $(identify -format '%wx%h' "$1")"
}
read -r x y < <(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}')
# The editor lies under Ardour's 57-pixel toolbar; panel units are 2 pixels.
ex=$x ey=$((y + 57))
click $((ex + 160)) $((ey + 140))  # the splash goes
shoot "$out/ardour-vst3-2x.png"
click $((ex + 40)) $((ey + 120)) 3  # the backdrop's menu at panel (20, 60)
sleep 1
click $((ex + 60)) $((ey + 362))  # its eighth entry, "Show mono check"
sleep 3
shoot "$out/ardour-vst3-mono-check.png"
