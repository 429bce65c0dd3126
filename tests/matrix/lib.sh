# shellcheck shell=bash
# What the matrix tests share: tvxsim (the first argument), the source folder as the current one,
# a work folder removed at the end, and fail.
# shellcheck disable=SC2034  # tvxsim, source_dir and here are the tests' own
set -euo pipefail
tvxsim=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here="$source_dir/tests/matrix"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
cd "$source_dir"
