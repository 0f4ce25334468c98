#!/usr/bin/env bash
# The CLAP part of the test command that the Linux test runs do not cover: the Windows
# Brindlow.clap files that tools/test-windows.sh cross-built (in build/windows and
# build/windows32) import system DLLs only, and the 64-bit one passes ClapWineCheck.exe
# under Wine. (The Linux Brindlow.clap is tested by ctest in each build directory; its
# editor by the x11 label under tools/test-x11.sh.)
#
#   tools/test-clap.sh
#
# Runs Wine's 64-bit loader itself (/usr/lib/wine/wine64), never a path that needs 32-bit
# execution: the 32-bit file is checked by its import table only.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
allowed_imports='^(kernel32|user32|gdi32|msvcrt|comdlg32|shell32|wininet)\.dll$'

for pair in x86_64:build/windows i686:build/windows32; do
  triplet=${pair%%:*} dir=${pair#*:}
  [ -f "$dir/Brindlow.clap" ] || { echo "no $dir/Brindlow.clap: run tools/test-windows.sh first" >&2; exit 1; }
  headers=$("$triplet-w64-mingw32-objdump" -p "$dir/Brindlow.clap")
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
  echo "$dir/Brindlow.clap imports: ${imports//$'\n'/ }"
  if grep -qviE "$allowed_imports" <<<"$imports"; then
    echo "$dir/Brindlow.clap needs a DLL that Windows does not provide" >&2
    exit 1
  fi
  # The names under "[Ordinal/Name Pointer] Table": "[   0] clap_entry", and nothing else.
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
    sed -nE 's/^[[:space:]]*\[ *[0-9]+\] (.*)$/\1/p')
  if [ "$exports" != clap_entry ]; then
    echo "$dir/Brindlow.clap exports [${exports//$'\n'/ }]; it must export clap_entry alone" >&2
    exit 1
  fi
done

export WINEPREFIX="$root/build/wine-prefix-64" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
(cd build/windows && /usr/lib/wine/wine64 ClapWineCheck.exe Brindlow.clap)
wineserver -w || true
