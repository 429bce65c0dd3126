#!/usr/bin/env bash
# The fault sweep: every flow of Setup.exe run on the simulated machines of tests/scenarios (and
# any machine folders given), once per platform call of the run, with that call alone failing the
# way Windows fails it; after each run: no crash, no sanitizer report, no hang, nothing lost.
# Ends with "N runs, M failures injected, K invariant breaks".
#
#   scripts/faults.sh [--every N] [MACHINE...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host --target fault_sweep >/dev/null
args=()
machines=()
while [ $# -gt 0 ]; do
  case $1 in
    --every) args+=(--every "$2"); shift 2 ;;
    *) machines+=("$1"); shift ;;
  esac
done
[ ${#machines[@]} -gt 0 ] || machines=(tests/scenarios/*/machine)
exec build/host/fault_sweep "${args[@]}" "${machines[@]}"
