#!/usr/bin/env bash
# Builds tvxsim and runs the demo machines through it: what Setup.exe would do on each; then the
# sign-off of the example CD, its matrix over every Windows version and path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host --target tvxsim >/dev/null
for ini in examples/*/machine.ini; do
  echo "=================================================================="
  build/host/tvxsim run "$(dirname "$ini")"
done
echo "=================================================================="
build/host/tvxsim matrix examples/cd
