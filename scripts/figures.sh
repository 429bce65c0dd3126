#!/usr/bin/env bash
# Prints the figures the release engineer asks for: the size of Setup.exe and the DLLs it
# imports, whether it holds any instruction a 486 lacks, the number of tests of each kind, and
# (with --time) how long the test command takes.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --time ]; then
  start=$(date +%s)
  scripts/test.sh >/tmp/tvx-figures-test.log 2>&1 || { tail -20 /tmp/tvx-figures-test.log; exit 1; }
  echo "test command: $(($(date +%s) - start)) s ($(tail -1 /tmp/tvx-figures-test.log))"
fi
[ -f build/win32/Setup.exe ] || { cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null; }
[ -f build/host/tvxsim ] || {
  cmake --preset host -DTVX_WIN32_DIR="$PWD/build/win32" >/dev/null && cmake --build --preset host >/dev/null
}
echo "Setup.exe: $(stat -c %s build/win32/Setup.exe) bytes"
# Whether it runs on a 486 (and so on every processor of the Windows 95/98/Me era).
echo "instruction set: $(tests/cpu/check_486.sh build/win32/Setup.exe build/win32/Setup.sym.exe | head -1)"
# What the bytes are: each section's size (in the file each is padded to 512 bytes).
i686-w64-mingw32-objdump -h build/win32/Setup.exe | awk '
  function hex(h,   i, n) { n = 0; h = tolower(h); for (i = 1; i <= length(h); i++) n = n * 16 + index("0123456789abcdef", substr(h, i, 1)) - 1; return n }
  /^ *[0-9]+ / { name = $2; size = hex($3); next }
  name != "" { if (/CONTENTS/) printf "  %-8s %6d bytes\n", name, size; name = "" }'
echo "imports: $(i686-w64-mingw32-objdump -p build/win32/Setup.exe | sed -n 's/.*DLL Name: //p' | sort -f | tr '\n' ' ')"
echo "subsystem: $(i686-w64-mingw32-objdump -p build/win32/Setup.exe | sed -n 's/^Subsystem[[:space:]]*//p')"
for kind in unit scenario html faults fuzz cpu wine; do
  echo "$kind tests: $(ctest --test-dir build/host -N -L "^$kind\$" | sed -n 's/^Total Tests: //p')"
done
