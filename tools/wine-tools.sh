# Sourced by tools/test-windows.sh and tools/test-packages.sh: Wine's loaders and the
# test whether this machine executes 32-bit programs.
#
# Wine's loaders are called directly, never through /usr/bin/wine: that script prefers
# the 32-bit loader whenever wine32 is installed, so it would need 32-bit execution even
# for 64-bit programs. One server (64-bit, as Debian's /usr/bin/wineserver picks it)
# serves the prefixes of both widths.
wine_loader_64=/usr/lib/wine/wine64
wine_loader_32=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver64
# The i386 dynamic loader (libc6:i386, which wine32 depends on): the smallest 32-bit
# program there is, run to find out whether this machine executes 32-bit programs.
i386_loader=/lib/ld-linux.so.2

# Fails unless Wine of both widths and xvfb-run are installed.
require_wine_tools() {
  local tool
  for tool in "$wine_loader_64" "$wine_loader_32" "$wineserver" "$i386_loader"; do
    [ -x "$tool" ] || { echo "missing $tool (Wine of both widths): run tools/install-deps.sh --test" >&2; exit 1; }
  done
  command -v xvfb-run >/dev/null || { echo "missing xvfb-run: run tools/install-deps.sh --test" >&2; exit 1; }
}

# Whether this machine executes 32-bit programs: true or false, and an error for any
# other failure of the i386 loader than "Exec format error" (a kernel without IA-32
# emulation).
runs_32bit_programs() {
  local output
  if output=$("$i386_loader" --version 2>&1 </dev/null); then
    return 0
  fi
  if grep -qF "Exec format error" <<<"$output"; then
    return 1
  fi
  echo "$i386_loader --version failed for another reason than 32-bit execution:" >&2
  echo "$output" >&2
  exit 1
}
