#!/usr/bin/env bash
# Builds both builds and runs every test: unit and scenario tests against the simulated machine
# (under AddressSanitizer and UndefinedBehaviorSanitizer), the fault sweep, the fuzzers, the
# instruction-set check of Setup.exe, and the Wine tests of the real Setup.exe, two at a time.
# Ends with "N passed, M failed, K skipped".
set -uo pipefail
cd "$(dirname "$0")/.."

# Whether Wine can run here is asked once, before anything else: where the kernel runs no 32-bit
# programs, the Wine tests are skipped (each says why) and Wine is not installed.
if reason=$(tests/wine/can_run_32bit.sh); then
  export TVX_WINE_SKIP_REASON=""
else
  export TVX_WINE_SKIP_REASON="$reason, so Setup.exe cannot be run under Wine"
  echo "Wine tests skipped: $TVX_WINE_SKIP_REASON"
fi

scripts/install-deps.sh tests || exit 1
set -e
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake -S . -B build/fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTVX_FUZZ=ON >/dev/null
cmake --build build/fuzz
cmake --preset host -DTVX_WIN32_DIR="$PWD/build/win32" -DTVX_FUZZ_DIR="$PWD/build/fuzz" >/dev/null
cmake --build --preset host
set +e
log=build/host/test.log
ctest --test-dir build/host --output-on-failure -j2 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
for kind in unit scenario html faults fuzz cpu wine; do
  n=$(ctest --test-dir build/host -N -L "^$kind\$" | sed -n 's/^Total Tests: //p')
  echo "$kind tests: $n"
done
summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
total=$(echo "$summary" | sed -E 's/.*out of ([0-9]+).*/\1/')
failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
skipped=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log")
if [ -z "$total" ]; then
  echo "0 passed, 1 failed, 0 skipped"
  exit 1
fi
[ -z "$TVX_WINE_SKIP_REASON" ] || echo "Wine tests skipped: $TVX_WINE_SKIP_REASON"
echo "$((total - failed - skipped)) passed, $failed failed, $skipped skipped"
exit "$status"
