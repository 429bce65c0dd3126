#!/usr/bin/env bash
# Times one full driver installation from the CD in the simulator on a large machine (an INF store
# of 600 files of which 100 are the maker's, 5,000 registry keys, 300 MEDIA class instances) at
# one, two and four times that size, and the whole matrix of the example CD, in an optimised
# build without sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh demo
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target bench_install tvxsim >/dev/null
machine=tests/scenarios/win98se-cd-driver-wdm/machine
declare -A ms
for scale in 1 2 4; do
  ms[$scale]=$(build/bench/bench_install "$machine" "$scale" 5)
  echo "${scale}x: ${ms[$scale]} ms CPU (median of 5)"
done
ratio=$(awk -v a="${ms[1]}" -v b="${ms[4]}" 'BEGIN { printf "%.1f", b / a }')
echo "full CD install: ${ms[1]} ms CPU at 1x, ${ms[4]} ms at 4x (ratio $ratio)"
# The sign-off of the example CD: every row of tvxsim matrix, in user and system CPU time.
runs=$(build/bench/tvxsim matrix examples/cd | sed -n 's/^\([0-9]*\) runs:.*/\1/p')
TIMEFORMAT='%3U %3S'
cpu=$({ time build/bench/tvxsim matrix examples/cd >/dev/null; } 2>&1 | awk '{ printf "%d", ($1 + $2) * 1000 }')
echo "matrix: $runs runs in $cpu ms CPU"
# The same sign-off from the CD's disc image (mastered here with Joliet names), which every row
# reads as Windows reads the disc.
if command -v xorriso >/dev/null; then
  xorriso -as mkisofs -quiet -J -V TVX_CD -o build/bench/cd.iso examples/cd 2>/dev/null
  cpu=$({ time build/bench/tvxsim matrix build/bench/cd.iso >/dev/null; } 2>&1 | awk '{ printf "%d", ($1 + $2) * 1000 }')
  echo "matrix of the image: $runs runs in $cpu ms CPU"
fi
