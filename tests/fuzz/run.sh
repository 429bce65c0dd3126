#!/usr/bin/env bash
# Runs a fuzz target for a number of runs from its seed corpus, keeping what it finds out of the
# repository: tests/fuzz/run.sh FUZZ-BINARY CORPUS RUNS
set -euo pipefail
binary=$1
corpus=$2
runs=$3
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
# Inputs as long as the longest seed (a disc image is at least 36 sectors), and at least 8 KB.
longest=$(find "$corpus" -type f -printf '%s\n' | sort -n | tail -n 1)
max_len=$((longest > 8192 ? longest : 8192))
"$binary" -runs="$runs" -max_len="$max_len" -timeout=10 -artifact_prefix="$found/" "$found" "$corpus" 2>&1 | tail -3
