#!/usr/bin/env bash
# Installs the built plug-ins where Linux hosts look for them:
#   tools/install.sh [--system] [BUILD_DIR]     (BUILD_DIR: build/release, already built)
# Brindlow.lv2 goes to ~/.lv2, Brindlow.so (VST 2.4) to ~/.vst and Brindlow.clap to ~/.clap;
# with --system to /usr/lib/lv2, /usr/lib/vst and /usr/lib/clap (run as root). An older Brindlow.lv2 there is replaced
# whole, so no file of another version stays behind.
set -euo pipefail
cd "$(dirname "$0")/.."
lv2_dir="$HOME/.lv2"
vst_dir="$HOME/.vst"
clap_dir="$HOME/.clap"
if [ "${1:-}" = "--system" ]; then
  lv2_dir=/usr/lib/lv2
  vst_dir=/usr/lib/vst
  clap_dir=/usr/lib/clap
  shift
fi
build="${1:-build/release}"
bundle="$build/Brindlow.lv2"
for file in "$bundle/manifest.ttl" "$bundle/brindlow.ttl" "$bundle/presets.ttl" \
            "$bundle/brindlow-lv2.so" "$bundle/brindlow-lv2-ui.so" "$build/Brindlow.so" "$build/Brindlow.clap"; do
  [ -f "$file" ] || { echo "install: $file missing: build first (cmake --build $build)" >&2; exit 1; }
done

mkdir -p "$lv2_dir" "$vst_dir" "$clap_dir"
staging=$(mktemp -d "$lv2_dir/.Brindlow.lv2.XXXXXX")
trap 'rm -rf "$staging"' EXIT
install -m 644 "$bundle"/manifest.ttl "$bundle"/brindlow.ttl "$bundle"/presets.ttl "$staging"/
install -m 755 "$bundle"/brindlow-lv2.so "$bundle"/brindlow-lv2-ui.so "$staging"/
chmod 755 "$staging"
rm -rf "$lv2_dir/Brindlow.lv2"
mv "$staging" "$lv2_dir/Brindlow.lv2"
install -m 755 "$build/Brindlow.so" "$vst_dir/Brindlow.so"
install -m 755 "$build/Brindlow.clap" "$clap_dir/Brindlow.clap"
echo "installed $lv2_dir/Brindlow.lv2, $vst_dir/Brindlow.so and $clap_dir/Brindlow.clap"
