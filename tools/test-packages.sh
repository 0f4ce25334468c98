#!/usr/bin/env bash
# Tries the packages tools/package.sh made in build/packages/ as a user would get them:
#
#   tools/test-packages.sh [--install-here]
#
# - the .deb: its files and control fields, lintian (no error; no warning but the ones
#   README.md lists), then installed with apt-get, the installed plug-ins shown to Ardour's
#   VST 2.4 and VST 3 scanners, lv2ls and a CLAP host, the demo rendered by the installed
#   brindlow-render, and removed again with nothing of it left;
# - the Windows installer: run silently under Wine into a fresh prefix, the files and the
#   uninstall key checked, the check programs load the installed modules, the uninstaller
#   removes them all; the zip holds the same files.
#
# Installing the .deb changes the system, so it is done only as root and only in CI
# (CI=true, a throw-away machine) unless --install-here says this machine may have it;
# otherwise one line says the install checks did not run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=$(cmake -P cmake/BrindlowVersion.cmake)
packages=build/packages
deb=$packages/brindlow_${version}_amd64.deb
setup=$packages/Brindlow-$version-setup.exe
zip=$packages/Brindlow-$version-windows.zip
. tools/wine-tools.sh

install_here=no
case "${1:-}" in
  "") ;;
  --install-here) install_here=yes ;;
  --wine-installer) ;; # internal: the installer's checks under xvfb-run (see the end)
  *) echo "usage: tools/test-packages.sh [--install-here]" >&2; exit 2 ;;
esac

fail() {
  echo "test-packages: $*" >&2
  exit 1
}
# The work folder; the installer's checks under xvfb-run get their caller's.
if [ "${1:-}" = --wine-installer ]; then
  work=$2
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

# The lintian warnings that README.md ("The packages") explains; any other fails.
known_lintian_warnings='^W: brindlow: maintscript-calls-ldconfig \[(postinst|postrm)\]$'

check_deb_contents() {
  [ -f "$deb" ] || fail "$deb missing: run tools/package.sh"
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort >"$work/deb-files"
  local expected=(
    /usr/bin/brindlow-render
    /usr/lib/vst/Brindlow.so
    /usr/lib/vst3/Brindlow.vst3/Contents/x86_64-linux/Brindlow.so
    /usr/lib/vst3/Brindlow.vst3/Contents/Resources/moduleinfo.json
    /usr/lib/lv2/Brindlow.lv2/manifest.ttl
    /usr/lib/lv2/Brindlow.lv2/brindlow.ttl
    /usr/lib/lv2/Brindlow.lv2/presets.ttl
    /usr/lib/lv2/Brindlow.lv2/brindlow-lv2.so
    /usr/lib/lv2/Brindlow.lv2/brindlow-lv2-ui.so
    /usr/lib/clap/Brindlow.clap
    /usr/share/man/man1/brindlow-render.1.gz
    /usr/share/doc/brindlow/copyright
    /usr/share/doc/brindlow/changelog.gz
    /usr/share/doc/brindlow/README.md
  )
  local file
  for file in "${expected[@]}"; do
    grep -qxF "$file" "$work/deb-files" || fail "$deb lacks $file"
  done
  # Nothing but the product (no tests, benchmarks, static libraries or headers).
  local allowed='^/usr(/bin(/brindlow-render)?|/lib|/lib/vst(/Brindlow\.so)?|/lib/clap(/Brindlow\.clap)?|/lib/vst3(/Brindlow\.vst3(/.*)?)?|/lib/lv2(/Brindlow\.lv2(/.*)?)?|/share|/share/man(/man1(/brindlow-render\.1\.gz)?)?|/share/doc(/brindlow(/.*)?)?)?$'
  if grep -vE "$allowed" "$work/deb-files" | grep -q .; then
    fail "$deb holds files that are not the product's: $(grep -vE "$allowed" "$work/deb-files" | head -3)"
  fi
  local field value
  for field in "Package=brindlow" "Version=$version" "Architecture=amd64" "Section=sound" "Priority=optional"; do
    value=$(dpkg-deb -f "$deb" "${field%%=*}")
    [ "$value" = "${field#*=}" ] || fail "$deb: ${field%%=*} is '$value', not '${field#*=}'"
  done
  dpkg-deb -f "$deb" Maintainer | grep -qE '^Ardelnu <[^>]+@[^>]+>$' || fail "$deb: Maintainer is not Ardelnu with an address"
  # Computed from the binaries (dpkg-shlibdeps): the C library and what brindlow-render
  # and the editor link, and no development packages.
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for package in libc6 libsndfile1 libpng16-16; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "$deb: Depends lacks $package: $depends"
  done
  if grep -qE -- '-dev( |,|$)' <<<"$depends"; then fail "$deb depends on a development package: $depends"; fi
  # The binaries are stripped.
  local binary
  for binary in $(grep -E '(\.so|\.clap|/brindlow-render)$' "$work/deb-files"); do
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ".$binary" >"$work/binary"
    if file "$work/binary" | grep -q 'not stripped'; then fail "$deb: $binary is not stripped"; fi
  done
  echo "deb contents and control fields: as expected ($(wc -l <"$work/deb-files") paths)"
}

run_lintian() {
  lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
  cat "$work/lintian"
  if grep -q '^E: ' "$work/lintian"; then fail "lintian reports errors for $deb"; fi
  if grep '^W: ' "$work/lintian" | grep -qvE "$known_lintian_warnings"; then
    fail "lintian warns of something README.md does not explain (add the reason there and to known_lintian_warnings, or fix it)"
  fi
  echo "lintian: no error, no unexplained warning"
}

# Installed, every host finds the plug-in in the system folders; removed, nothing stays.
install_and_try_deb() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "deb install checks NOT RUN: installing needs root"
    return
  fi
  if [ "${CI:-}" != true ] && [ "$install_here" != yes ]; then
    echo "deb install checks NOT RUN: not in CI (CI=true); give --install-here to install $deb on this machine"
    return
  fi
  if dpkg -s brindlow >/dev/null 2>&1; then
    fail "a brindlow package is installed already: remove it first (apt-get remove --purge brindlow)"
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >"$work/apt-install" 2>&1 ||
    { cat "$work/apt-install"; fail "apt-get install ./$deb failed"; }
  dpkg -L brindlow >"$work/installed"
  local status=0
  try_installed_deb || status=$?
  DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -q brindlow >"$work/apt-remove" 2>&1 ||
    { cat "$work/apt-remove"; fail "apt-get remove --purge brindlow failed"; }
  [ "$status" -eq 0 ] || fail "the installed package failed its checks"
  local path left=()
  while read -r path; do
    [ -e "$path" ] || continue
    # A folder may stay when another package owns it or other files are in it.
    if [ -d "$path" ] && { dpkg -S "$path" >/dev/null 2>&1 || [ -n "$(ls -A "$path")" ]; }; then continue; fi
    left+=("$path")
  done <"$work/installed"
  [ ${#left[@]} -eq 0 ] || fail "removing brindlow left: ${left[*]}"
  echo "deb removed: none of its $(wc -l <"$work/installed") paths is left"
}

try_installed_deb() {
  # Every installed binary finds the libraries it needs (the Depends pulled them in).
  local binary
  for binary in $(grep -E '(\.so|\.clap|/brindlow-render)$' "$work/installed"); do
    if ldd "$binary" | grep -q 'not found'; then
      ldd "$binary" >&2
      echo "$binary lacks a library after apt-get install" >&2
      return 1
    fi
  done
  local ardour=/usr/lib/ardour7 scan
  # The scanners keep a cache in the home folder: a throw-away one.
  scan=$(HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" LD_LIBRARY_PATH=$ardour \
    "$ardour/ardour-vst-scanner" -v -f /usr/lib/vst/Brindlow.so 2>&1) || true
  grep -F '<VST2Info' <<<"$scan" | grep -F 'name="Brindlow-Mono/Stereo Delay" creator="Ardelnu"' |
    grep -qF 'n_inputs="2" n_outputs="2"' || { echo "$scan" >&2; echo "Ardour's VST 2.4 scanner does not find /usr/lib/vst/Brindlow.so" >&2; return 1; }
  scan=$(HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" LD_LIBRARY_PATH=$ardour \
    "$ardour/ardour-vst3-scanner" -v /usr/lib/vst3/Brindlow.vst3 2>&1) || true
  grep -F '<VST3Info' <<<"$scan" | grep -F 'name="Brindlow-Mono/Stereo Delay" vendor="Ardelnu"' |
    grep -qF "version=\"$version\"" || { echo "$scan" >&2; echo "Ardour's VST 3 scanner does not find /usr/lib/vst3/Brindlow.vst3" >&2; return 1; }
  echo "Ardour's VST 2.4 and VST 3 scanners find the installed plug-in"
  # LV2 hosts look in /usr/lib/lv2 by default: no LV2_PATH.
  local lv2
  lv2=$(env -u LV2_PATH HOME="$work/home" lv2ls)
  for uri in urn:ardelnu:brindlow:mono urn:ardelnu:brindlow:stereo; do
    grep -qxF "$uri" <<<"$lv2" || { echo "$lv2" >&2; echo "lv2ls does not list $uri" >&2; return 1; }
  done
  echo "lv2ls lists both installed LV2 plug-ins"
  /usr/bin/brindlow-render --info --plugin /usr/lib/clap/Brindlow.clap >"$work/clap-info" ||
    { echo "brindlow-render cannot load /usr/lib/clap/Brindlow.clap" >&2; return 1; }
  grep -qF 'Brindlow-Mono/Stereo Delay' "$work/clap-info" || { cat "$work/clap-info" >&2; return 1; }
  echo "the installed CLAP plug-in loads"
  # The installed tool, without --plugin, finds the installed VST 2.4 plug-in beside it.
  /usr/bin/brindlow-render --quiet tools/demo/voice-mono.wav "$work/demo.wav" ||
    { echo "/usr/bin/brindlow-render did not render the demo" >&2; return 1; }
  /usr/bin/brindlow-render --info 2>&1 | grep -qE '^Plug-in: +/usr/(bin/\.\./)?lib/vst/Brindlow\.so$' ||
    { echo "/usr/bin/brindlow-render does not use /usr/lib/vst/Brindlow.so" >&2; return 1; }
  [ "$(soxi -c "$work/demo.wav")" = 2 ] || { echo "the rendered demo is not stereo" >&2; return 1; }
  echo "the installed brindlow-render renders the demo through the installed plug-in"
}

# The Windows installer, under Wine in a fresh 64-bit prefix. The VST 2.4 folder is given
# with /D= (a studio's own), the 32-bit one left at its default.
vst2_64='C:\Studio\VST64'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brindlow'

# The installed place of each of the zip's top folders, in the prefix.
prefix_path() {
  local path=$1 c=$WINEPREFIX/drive_c
  case "$path" in
    "Common Files (x86)/"*) echo "$c/Program Files (x86)/Common Files/${path#Common Files (x86)/}" ;;
    "Common Files/"*) echo "$c/Program Files/Common Files/${path#Common Files/}" ;;
    "VSTPlugins (x86)/"*) echo "$c/Program Files (x86)/VSTPlugins/${path#VSTPlugins (x86)/}" ;;
    "VSTPlugins/"*) echo "$c/Studio/VST64/${path#VSTPlugins/}" ;;
    *) fail "the zip holds $path, outside the installer's folders" ;;
  esac
}

# Every file in the prefix's plug-in folders and the uninstaller's, as paths under the
# prefix (a folder that is not there holds none).
installed_plugin_files() {
  local c=$WINEPREFIX/drive_c
  find "$c/Program Files/Common Files/VST3" "$c/Program Files/Common Files/CLAP" \
    "$c/Program Files (x86)/Common Files/CLAP" "$c/Program Files (x86)/VSTPlugins" \
    "$c/Studio/VST64" "$c/Program Files/Ardelnu" -type f 2>/dev/null | sort || true
}

# Run under xvfb-run: installs, checks, uninstalls.
wine_installer_checks() {
  local width loader
  export WINEPREFIX=$work/wine-prefix WINEARCH=win64 WINELOADER=$wine_loader_64 WINESERVER=$wineserver
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  "$WINELOADER" wineboot.exe --init
  "$WINESERVER" -w
  "$WINELOADER" "$root/$setup" /S "/D=$vst2_64" || fail "the installer failed (/S)"
  "$WINESERVER" -w

  # The files: exactly the zip's, byte for byte, where the installer puts them.
  (cd "$work/zip" && find . -type f | sed 's|^\./||' | sort) >"$work/zip-files"
  local file expected=()
  while read -r file; do
    expected+=("$(prefix_path "$file")")
    cmp -s "$work/zip/$file" "${expected[-1]}" || fail "installed ${expected[-1]} is missing or differs from the zip's $file"
  done <"$work/zip-files"
  installed_plugin_files | grep -v '/Program Files/Ardelnu/' >"$work/installed-files"
  printf '%s\n' "${expected[@]}" | sort | diff - "$work/installed-files" ||
    fail "the installer put down other files than the zip holds (above: < zip only, > installed only)"
  echo "installer: the zip's $(wc -l <"$work/zip-files") files are installed in their folders"

  # The entry in Windows' list of programs.
  "$WINELOADER" reg.exe query "$uninstall_key" >"$work/reg" 2>&1 || { cat "$work/reg"; fail "no $uninstall_key"; }
  tr -d '\r' <"$work/reg" >"$work/reg.txt"
  local value
  for value in "DisplayName REG_SZ Brindlow-Mono/Stereo Delay $version" "Publisher REG_SZ Ardelnu" \
    "DisplayVersion REG_SZ $version" "DisplayIcon REG_SZ C:\Program Files\Ardelnu\Brindlow\Brindlow.ico" \
    "UninstallString REG_SZ \"C:\Program Files\Ardelnu\Brindlow\uninstall.exe\"" \
    "QuietUninstallString REG_SZ \"C:\Program Files\Ardelnu\Brindlow\uninstall.exe\" /S" \
    "InstallLocation REG_SZ C:\Program Files\Ardelnu\Brindlow" "NoModify REG_DWORD 0x1" "NoRepair REG_DWORD 0x1"; do
    awk '{$1=$1; print}' "$work/reg.txt" | grep -qxF "$value" || { cat "$work/reg.txt"; fail "the uninstall key lacks: $value"; }
  done
  # EstimatedSize in KiB: about what the files hold (the zip's size, +-50%).
  local size zip_kib
  size=$(awk '$1 == "EstimatedSize" {print $3}' "$work/reg.txt")
  zip_kib=$(du -sk "$work/zip" | cut -f1)
  [ -n "$size" ] && [ $((size)) -gt $((zip_kib / 2)) ] && [ $((size)) -lt $((zip_kib * 3 / 2)) ] ||
    fail "EstimatedSize is '$size' KiB for $zip_kib KiB of files"
  echo "installer: the uninstall key is registered"

  # The check programs load the installed modules from the folders hosts scan.
  local reference
  reference=$("$WINELOADER" winepath.exe -w "$work/editor-reference.png")
  for width in 64 32; do
    if [ "$width" = 32 ] && ! runs_32bit_programs; then
      echo "32-bit checks of the installed files NOT RUN: this machine cannot execute 32-bit programs (Exec format error)"
      continue
    fi
    local build=build/windows common='C:\Program Files\Common Files' vst2=$vst2_64
    loader=$wine_loader_64
    if [ "$width" = 32 ]; then
      build=build/windows32 common='C:\Program Files (x86)\Common Files' vst2='C:\Program Files (x86)\VSTPlugins'
      loader=$wine_loader_32
    fi
    (cd "$build" &&
      "$loader" VstWineCheck.exe "$vst2\Brindlow.dll" &&
      "$loader" ClapWineCheck.exe "$common\CLAP\Brindlow.clap" "$reference" &&
      "$loader" Vst3WineCheck.exe 'C:/Program Files/Common Files/VST3/Brindlow.vst3' "$reference") >"$work/checks-$width" 2>&1 ||
      { cat "$work/checks-$width"; fail "the $width-bit check programs fail on the installed modules"; }
    echo "installer: the $width-bit host checks load the installed VST 2.4, CLAP and VST 3 modules"
  done

  # The uninstaller copies itself away and returns at once; the server's -w waits for it.
  "$WINELOADER" 'C:\Program Files\Ardelnu\Brindlow\uninstall.exe' /S || fail "the uninstaller failed (/S)"
  "$WINESERVER" -w
  installed_plugin_files >"$work/left"
  [ ! -s "$work/left" ] || { cat "$work/left"; fail "the uninstaller left files behind"; }
  local c=$WINEPREFIX/drive_c dir
  for dir in "$c/Program Files/Ardelnu" "$c/Studio/VST64" "$c/Program Files/Common Files/VST3/Brindlow.vst3"; do
    [ ! -e "$dir" ] || fail "the uninstaller left $dir"
  done
  if "$WINELOADER" reg.exe query "$uninstall_key" >/dev/null 2>&1; then fail "the uninstaller left $uninstall_key"; fi
  echo "installer: the uninstaller removed every file, folder and the key"
  "$WINESERVER" -w || true
}

stage_windows() {
  local file
  for file in "$setup" "$zip"; do
    [ -f "$file" ] || fail "$file missing: run tools/package.sh"
  done
  for file in VstWineCheck.exe ClapWineCheck.exe Vst3WineCheck.exe; do
    [ -f "build/windows/$file" ] && [ -f "build/windows32/$file" ] ||
      fail "build/windows*/$file missing: build the Windows check programs (tools/test-windows.sh --build-only)"
  done
  require_wine_tools
  mkdir -p "$work/zip"
  (cd "$work/zip" && cmake -E tar xf "$root/$zip")
  [ -x build/release/brindlow-render ] || fail "build/release/brindlow-render missing: run tools/package.sh"
  build/release/brindlow-render --editor-snapshot "$work/editor-reference.png"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --wine-installer "$work"
}

if [ "${1:-}" = --wine-installer ]; then
  wine_installer_checks
  exit 0
fi
check_deb_contents
run_lintian
install_and_try_deb
stage_windows
