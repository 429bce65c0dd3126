#!/usr/bin/env bash
# Setup.exe must run on every processor from the 486 on: the PCI machines of Windows 95, 98 and Me
# were 486s, Pentiums, K5s, K6s, 6x86s and WinChips as often as Pentium IIs. Disassembles the
# program and fails on any instruction or register one of them lacks, naming it with its address
# and the function around it.
#
#   tests/cpu/check_486.sh EXE [SYMBOLS-EXE]
#
# SYMBOLS-EXE is the same program linked with its symbols (the build keeps Setup.sym.exe beside
# Setup.exe); without it addresses are not named. OBJDUMP and NM name the toolchain's tools
# (default: the i686 mingw-w64 ones).
set -euo pipefail
exe=$1
symbols=${2:-}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
nm=${NM:-i686-w64-mingw32-nm}

# What a 486 does not have, one pattern a line (an extended regular expression matched against
# each instruction as objdump writes it), then "|" and why. A processor meets an instruction it
# lacks with an invalid-opcode fault, which ends the program.
forbidden=$(
  cat <<'LIST'
(^| )f?cmov[a-z]+( |$)|conditional move: Pentium Pro (P6) and later; no 486, Pentium, K5, K6, 6x86 or WinChip
(^| )fu?comip?( |$)|floating-point compare into the flags: Pentium Pro (P6) and later
(^| )cmpxchg8b( |$)|8-byte compare-exchange: Pentium and later
(^| )cpuid( |$)|processor identification: late 486s only, not dependable before the Pentium
(^| )(rdtscp?|rdpmc|rdmsr|wrmsr)( |$)|time-stamp, performance and model-specific registers: Pentium and later
(^| )(sysenter|sysexit|syscall|sysret)( |$)|fast system calls: Pentium II and K6 and later
(^| )nop[lw]( |$)|multi-byte no-op (0F 1F): Pentium Pro (P6) and later
(^| )(emms|femms|pavgusb|pf[a-z0-9]+|pi2f[dw]|pswapd)( |$)|MMX and 3DNow!: Pentium MMX and K6-2 and later
%(mm[0-7]|xmm[0-9]+|ymm[0-9]+|zmm[0-9]+)|MMX, SSE or AVX register: Pentium MMX, Pentium III and later
(^| )(prefetch[a-z0-9]*|[lms]fence|clflush[a-z]*|movnti|ldmxcsr|stmxcsr|fxsave|fxrstor|xsave[a-z]*|xrstor[a-z]*|fisttp[a-z]*)( |$)|SSE-era instruction: Pentium III and later
(^| )(popcnt|lzcnt|tzcnt|movbe|crc32[a-z]*|andn|bextr|blsi|blsr|blsmsk|bzhi|pdep|pext|rorx|sarx|shlx|shrx|adcx|adox)( |$)|bit-manipulation extension of the 2000s
LIST
)

[ -f "$exe" ] || { echo "FAIL: no such program: $exe"; exit 1; }

# Function symbols of the twin with symbols, "address name" sorted by address. Sections made
# per function (".text$NAME") carry the name after the dollar sign.
names=""
if [ -n "$symbols" ] && [ -f "$symbols" ]; then
  text_of() { "$objdump" -s -j .text "$1" | tail -n +5; }
  if [ "$(text_of "$exe" | md5sum)" = "$(text_of "$symbols" | md5sum)" ]; then
    names=$("$nm" "$symbols" | awk '$2 ~ /^[tT]$/ { n = $3; sub(/^\.text\$/, "", n); if (n !~ /^\./) print $1, n }' |
      sort -u)
  else
    echo "note: $symbols does not hold the same code as $exe; addresses are not named"
  fi
fi

found=$("$objdump" -d --no-show-raw-insn "$exe" | awk -v list="$forbidden" '
  BEGIN {
    n = split(list, rows, "\n")
    for (i = 1; i <= n; i++) {
      # The reason follows the last "|" of the row.
      split(rows[i], parts, "|")
      reason[i] = parts[length(parts)]
      pattern[i] = substr(rows[i], 1, length(rows[i]) - length(reason[i]) - 1)
    }
  }
  /^ *[0-9a-f]+:\t/ {
    address = $1; sub(/:$/, "", address)
    text = $0; sub(/^ *[0-9a-f]+:\t/, "", text); gsub(/[ \t]+/, " ", text)
    for (i = 1; i <= n; i++) if (text ~ pattern[i]) { print address "\t" text "\t" reason[i]; break }
  }')
count=$("$objdump" -d --no-show-raw-insn "$exe" | grep -cE '^ *[0-9a-f]+:'$'\t' || true)

if [ -z "$found" ]; then
  echo "ok: $(basename "$exe"): $count instructions, none beyond the 486"
  exit 0
fi
echo "FAIL: $(basename "$exe") holds $(printf '%s\n' "$found" | wc -l) instructions a 486 lacks:"
while IFS=$'\t' read -r address text reason; do
  where="(no symbols)"
  if [ -n "$names" ]; then
    where=$(awk -v a="$address" '
      function hex(h,   i, v) { v = 0; h = tolower(h); for (i = 1; i <= length(h); i++) v = v * 16 + index("0123456789abcdef", substr(h, i, 1)) - 1; return v }
      { if (hex($1) <= hex(a)) name = $2; else exit } END { print name }' <<<"$names")
    where=$(printf '%s\n' "${where:-?}" | i686-w64-mingw32-c++filt -_ 2>/dev/null || printf '%s' "$where")
  fi
  printf '  %s  %-32s in %s\n      %s\n' "$address" "$text" "$where" "$reason"
done <<<"$found"
exit 1
