#!/usr/bin/env bash
# Builds both builds and runs every test: unit and scenario tests against the simulated machine
# (under AddressSanitizer and UndefinedBehaviorSanitizer), and the Wine tests of the real Setup.exe.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
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
for kind in unit scenario faults fuzz wine; do
  n=$(ctest --test-dir build/host -N -L "^$kind\$" | sed -n 's/^Total Tests: //p')
  echo "$kind tests: $n"
done
summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
total=$(echo "$summary" | sed -E 's/.*out of ([0-9]+).*/\1/')
failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
if [ -z "$total" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "$((total - failed)) passed, $failed failed"
exit "$status"
