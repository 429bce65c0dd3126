#!/usr/bin/env bash
# Can this machine run 32-bit x86 programs? Wine runs Setup.exe in a 32-bit Linux process, and a
# kernel without IA-32 emulation (some virtual machines) refuses every such program with "Exec
# format error". The question is put to the kernel itself: a 32-bit program of 96 bytes that ends
# with exit code 42 is started. (Starting `wine` proves nothing: it is a shell script.)
#
# Exits 0, printing nothing, when the program ran; otherwise prints why not and exits 1.
set -uo pipefail

dir=$(mktemp -d "${TMPDIR:-/tmp}/tvx-32bit.XXXXXX") || { echo "cannot make a temporary folder"; exit 1; }
trap 'rm -rf "$dir"' EXIT
program="$dir/exit42"
# ELF header (i386, executable, entry 0x08048054), one loadable segment holding the whole file,
# then: mov eax, 1 (exit); mov ebx, 42; int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$program"
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00' >>"$program"
printf '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >>"$program"
printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$program"
printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$program"
printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >>"$program"
chmod +x "$program"

error=$("$program" 2>&1)
status=$?
[ "$status" = 42 ] && exit 0
if printf '%s' "$error" | grep -qi 'exec format error'; then
  echo "this machine cannot run 32-bit programs (the kernel has no IA-32 emulation)"
else
  echo "a 32-bit test program did not run (exit code $status${error:+: $error})"
fi
exit 1
