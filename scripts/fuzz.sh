#!/usr/bin/env bash
# Runs one fuzz target of tests/fuzz (libFuzzer, with AddressSanitizer and UndefinedBehaviorSanitizer)
# from its seed corpus in tests/fuzz/corpus/TARGET; the inputs it finds go to a folder of its own,
# not into the repository. "all" runs every target.
#
#   scripts/fuzz.sh TARGET|all [RUNS]      (RUNS: default 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(regfile machine_ini profiles ks_patch option_lines source_disks run_entry wininit iso)
target=${1:?usage: scripts/fuzz.sh TARGET|all [RUNS] (targets: ${targets[*]})}
runs=${2:-1000000}
scripts/install-deps.sh fuzz
if [ ! -f build/fuzz/build.ninja ]; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTVX_FUZZ=ON >/dev/null
fi
[ "$target" = all ] && set -- "${targets[@]}" || set -- "$target"
for t in "$@"; do
  cmake --build build/fuzz --target "fuzz_$t" >/dev/null
  found="build/fuzz/found/$t"
  mkdir -p "$found"
  echo "== $t: $runs runs"
  longest=$(find "tests/fuzz/corpus/$t" -type f -printf '%s\n' | sort -n | tail -n 1)
  build/fuzz/"fuzz_$t" -runs="$runs" -max_len="$((longest > 8192 ? longest : 8192))" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crash-$t-" "$found" "tests/fuzz/corpus/$t" 2>&1 |
    grep -E '^(#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss|Done|INFO: seed corpus)|cov:|ERROR|SUMMARY|==[0-9]+==' |
    tail -4
  [ "${PIPESTATUS[0]}" = 0 ] || { echo "FAIL: fuzz_$t"; exit 1; }
done
