#!/usr/bin/env bash
# The fault sweep: every flow of Setup.exe run on the simulated machines of tests/scenarios (and
# any machine folders given), once per platform call of the run, with that call alone failing the
# way Windows fails it; then once per file copy of each run that reads the CD, with the CD taken
# out for good right after that copy. After each run: no crash, no sanitizer report, no hang,
# nothing lost, nothing untrue told. Ends with "N runs, M failures injected, K invariant breaks"
# and "N runs, M with the CD taken out, K invariant breaks".
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
status=0
build/host/fault_sweep "${args[@]}" "${machines[@]}" || status=1
build/host/fault_sweep --cd-out "${args[@]}" "${machines[@]}" || status=1
exit $status
