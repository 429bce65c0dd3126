#!/usr/bin/env bash
# The sign-off replayed on the real program: each row of `tvxsim matrix CD` run again on the
# shipped Setup.exe under Wine, along the row's path, and held to what the simulator said of the
# same machine. Wine's known differences from Windows are in tests/wine/known-differences.ini,
# each with its reason; a difference not on that list fails.
#
#   scripts/wine-matrix.sh CD [ROW...]      CD: a folder or a disc image; ROW: win95-3, winme-1, ...
#
# One line per row: "same", "differs, explained: RULE, ..." or "differs: ..."; then
# "N rows: M same, K differ (explained: E)". Exit code 1 on an unexplained difference; where this
# machine cannot run Wine's 32-bit programs it says so and exits 0, as the test command does
# (77 with TVX_WINE_MATRIX_SKIP=77, for ctest). Two rows at a time, each in its own prefix and
# display; TVX_WIN32_DIR and TVX_HOST_DIR name builds to use, else both are built here.
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { sed -n '2,14s/^# \{0,1\}//p' "$0"; exit 2; }
cd_path=$(realpath "$1")
shift
if ! reason=$("$source_dir/tests/wine/can_run_32bit.sh"); then
  echo "Wine replay skipped: $reason, so Setup.exe cannot be run under Wine"
  exit "${TVX_WINE_MATRIX_SKIP:-0}"
fi
set -e
cd "$source_dir"
if [ -z "${TVX_WIN32_DIR:-}" ] || [ -z "${TVX_HOST_DIR:-}" ]; then
  scripts/install-deps.sh wine
  cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
  cmake --preset host -DTVX_WIN32_DIR="$PWD/build/win32" >/dev/null && cmake --build --preset host --target tvxsim >/dev/null
  export TVX_WIN32_DIR="$PWD/build/win32" TVX_HOST_DIR="$PWD/build/host"
fi
export TVX_SOURCE_DIR="$source_dir" TVX_WINE_SKIP_REASON=""
work=$(mktemp -d "${TMPDIR:-/tmp}/tvx-wine-matrix.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The rows, as the matrix lays them.
status=0
"$TVX_HOST_DIR/tvxsim" matrix "$cd_path" --machines "$work/rows" --json >"$work/matrix.json" || status=$?
[ "$status" -le 1 ] || { echo "FAIL: tvxsim matrix $cd_path ended with $status" >&2; exit 1; }
if [ $# -eq 0 ]; then
  mapfile -t rows < <(python3 -c 'import json, os, sys
for r in json.load(open(sys.argv[1]))["rows"]: print(os.path.basename(r["machine"]))' "$work/matrix.json")
else
  rows=("$@")
fi
for row in "${rows[@]}"; do
  [ -f "$work/rows/$row/machine.ini" ] || { echo "FAIL: the matrix of $cd_path has no row $row" >&2; exit 1; }
done

# Two at a time; each row's own log, kept when it fails.
replay() {
  local row=$1 out="$work/facts/$1" status=0
  timeout 900 "$TVX_SOURCE_DIR/tests/wine/replay_row.sh" "$work/rows/$row" "$out" >"$out.log" 2>&1 || status=$?
  echo "$status" >"$out.status"
}
export -f replay
export work
mkdir -p "$work/facts"
printf '%s\n' "${rows[@]}" | xargs -P 2 -I{} bash -c 'replay "$@"' _ {}

# Each row against the simulator's run of the same machine.
same=0 differ=0 explained=0 unexplained=0
for row in "${rows[@]}"; do
  label=$(python3 -c 'import json, os, sys
for r in json.load(open(sys.argv[1]))["rows"]:
    if os.path.basename(r["machine"]) == sys.argv[2]: print(r["windows"] + ", " + r["path"])' "$work/matrix.json" "$row")
  out="$work/facts/$row"
  case $(cat "$out.status") in
    0)
      line=$(python3 tests/wine/replay_facts.py compare tests/wine/known-differences.ini "$out.sim" "$out.wine") || true
      ;;
    3) line="differs, explained: first-edition-98 (not replayed)" ;;
    *) line="differs: the replay did not end: $(tail -n 5 "$out.log" | tr '\n' ' ')" ;;
  esac
  echo "$row ($label): $line"
  case $line in
    same) same=$((same + 1)) ;;
    "differs, explained"*) differ=$((differ + 1)) explained=$((explained + 1)) ;;
    *)
      differ=$((differ + 1)) unexplained=$((unexplained + 1))
      mkdir -p "$source_dir/build/wine-matrix"
      cp "$out".* "$source_dir/build/wine-matrix/" 2>/dev/null || true
      ;;
  esac
done
echo "${#rows[@]} rows: $same same, $differ differ (explained: $explained)"
[ "$unexplained" = 0 ] || { echo "the facts of the rows that differ are in build/wine-matrix/"; exit 1; }
