#!/usr/bin/env bash
# Runs a fuzz target for a number of runs from its seed corpus, keeping what it finds out of the
# repository: tests/fuzz/run.sh FUZZ-BINARY CORPUS RUNS
set -euo pipefail
binary=$1
corpus=$2
runs=$3
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
"$binary" -runs="$runs" -max_len=8192 -timeout=10 -artifact_prefix="$found/" "$found" "$corpus" 2>&1 | tail -3
