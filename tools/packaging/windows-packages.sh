#!/usr/bin/env bash
# Makes the Windows packages from build/windows and build/windows32 (tools/package.sh):
#   OUT_DIR/Brindlow-VERSION-setup.exe     the installer (NSIS, tools/packaging/Brindlow.nsi)
#   OUT_DIR/Brindlow-VERSION-windows.zip   the same files in the same folders
#
#   tools/packaging/windows-packages.sh VERSION OUT_DIR
#
# Both are made from one staging folder, build/windows-package/files, laid out as the
# installer puts the files down:
#   Common Files/VST3/Brindlow.vst3/     the VST 3 bundle, both widths   ($COMMONFILES64\VST3)
#   Common Files/CLAP/Brindlow.clap      64-bit CLAP                      ($COMMONFILES64\CLAP)
#   Common Files (x86)/CLAP/Brindlow.clap  32-bit CLAP                    ($COMMONFILES32\CLAP)
#   VSTPlugins/Brindlow.dll              64-bit VST 2.4 (a folder the user picks)
#   VSTPlugins (x86)/Brindlow.dll        32-bit VST 2.4
set -euo pipefail
cd "$(dirname "$0")/../.."
[ $# -eq 2 ] || { echo "usage: tools/packaging/windows-packages.sh VERSION OUT_DIR" >&2; exit 2; }
version=$1
out_dir=$(realpath "$2")
work=$PWD/build/windows-package
stage=$work/files

# From build to staging folder, every file a package must hold.
sources=(
  "build/windows/Brindlow.vst3/Contents/x86_64-win/Brindlow.vst3:Common Files/VST3/Brindlow.vst3/Contents/x86_64-win/Brindlow.vst3"
  "build/windows/Brindlow.vst3/Contents/x86-win/Brindlow.vst3:Common Files/VST3/Brindlow.vst3/Contents/x86-win/Brindlow.vst3"
  "build/windows/Brindlow.vst3/Contents/Resources/moduleinfo.json:Common Files/VST3/Brindlow.vst3/Contents/Resources/moduleinfo.json"
  "build/windows/Brindlow.clap:Common Files/CLAP/Brindlow.clap"
  "build/windows32/Brindlow.clap:Common Files (x86)/CLAP/Brindlow.clap"
  "build/windows/Brindlow.dll:VSTPlugins/Brindlow.dll"
  "build/windows32/Brindlow.dll:VSTPlugins (x86)/Brindlow.dll"
)
for pair in "${sources[@]}"; do
  [ -f "${pair%%:*}" ] || { echo "windows-packages: ${pair%%:*} is missing: build the Windows plug-ins (VST 2.4, VST 3, CLAP) first (tools/test-windows.sh --build-only)" >&2; exit 1; }
done
for tool in makensis convert; do
  command -v "$tool" >/dev/null || { echo "windows-packages: $tool missing: run tools/install-deps.sh --test" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$stage"
for pair in "${sources[@]}"; do
  mkdir -p "$stage/$(dirname "${pair#*:}")"
  cp "${pair%%:*}" "$stage/${pair#*:}"
done
# The rest of the bundle's resources (snapshots) as the build made them.
cp -r build/windows/Brindlow.vst3/Contents/Resources/. "$stage/Common Files/VST3/Brindlow.vst3/Contents/Resources/"

# The icon, from the product's artwork: squared, in the sizes Windows shows.
convert img/kyvBrindlow.png -background none -gravity center -extent 366x366 \
  -define icon:auto-resize=256,48,32,16 "$work/Brindlow.ico"

setup=$out_dir/Brindlow-$version-setup.exe
zip=$out_dir/Brindlow-$version-windows.zip
rm -f "$setup" "$zip"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$work/Brindlow.ico" \
  -DOUTFILE="$setup" tools/packaging/Brindlow.nsi
(cd "$stage" && cmake -E tar cf "$zip" --format=zip -- *)
echo "made $setup and $zip"
