#!/usr/bin/env bash
# Installs the built plug-ins where Linux hosts look for them:
#   tools/install.sh [--system] [BUILD_DIR]     (BUILD_DIR: build/release, already built)
# Brindlow.lv2 goes to ~/.lv2, Brindlow.so (VST 2.4) to ~/.vst, Brindlow.clap to ~/.clap and
# Brindlow.vst3 to ~/.vst3; with --system to /usr/lib/lv2, /usr/lib/vst, /usr/lib/clap and
# /usr/lib/vst3 (run as root). An older Brindlow.lv2 or Brindlow.vst3 there is replaced
# whole, so no file of another version stays behind.
set -euo pipefail
cd "$(dirname "$0")/.."
lv2_dir="$HOME/.lv2"
vst_dir="$HOME/.vst"
clap_dir="$HOME/.clap"
vst3_dir="$HOME/.vst3"
if [ "${1:-}" = "--system" ]; then
  lv2_dir=/usr/lib/lv2
  vst_dir=/usr/lib/vst
  clap_dir=/usr/lib/clap
  vst3_dir=/usr/lib/vst3
  shift
fi
build="${1:-build/release}"
bundle="$build/Brindlow.lv2"
for file in "$bundle/manifest.ttl" "$bundle/brindlow.ttl" "$bundle/presets.ttl" \
            "$bundle/brindlow-lv2.so" "$bundle/brindlow-lv2-ui.so" "$build/Brindlow.so" "$build/Brindlow.clap" \
            "$build/Brindlow.vst3/Contents/x86_64-linux/Brindlow.so"; do
  [ -f "$file" ] || { echo "install: $file missing: build first (cmake --build $build)" >&2; exit 1; }
done

mkdir -p "$lv2_dir" "$vst_dir" "$clap_dir" "$vst3_dir"
staging=$(mktemp -d "$lv2_dir/.Brindlow.lv2.XXXXXX")
vst3_staging=$(mktemp -d "$vst3_dir/.Brindlow.vst3.XXXXXX")
trap 'rm -rf "$staging" "$vst3_staging"' EXIT
install -m 644 "$bundle"/manifest.ttl "$bundle"/brindlow.ttl "$bundle"/presets.ttl "$staging"/
install -m 755 "$bundle"/brindlow-lv2.so "$bundle"/brindlow-lv2-ui.so "$staging"/
chmod 755 "$staging"
rm -rf "$lv2_dir/Brindlow.lv2"
mv "$staging" "$lv2_dir/Brindlow.lv2"
install -m 755 "$build/Brindlow.so" "$vst_dir/Brindlow.so"
install -m 755 "$build/Brindlow.clap" "$clap_dir/Brindlow.clap"
cp -R "$build/Brindlow.vst3/." "$vst3_staging/"
chmod -R go-w,a+rX "$vst3_staging"
rm -rf "$vst3_dir/Brindlow.vst3"
mv "$vst3_staging" "$vst3_dir/Brindlow.vst3"
echo "installed $lv2_dir/Brindlow.lv2, $vst_dir/Brindlow.so, $clap_dir/Brindlow.clap and $vst3_dir/Brindlow.vst3"
