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

install_here=no
case "${1:-}" in
  "") ;;
  --install-here) install_here=yes ;;
  *) echo "usage: tools/test-packages.sh [--install-here]" >&2; exit 2 ;;
esac

fail() {
  echo "test-packages: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

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

stage_deb() {
  check_deb_contents
  run_lintian
  install_and_try_deb
}

stage_deb
