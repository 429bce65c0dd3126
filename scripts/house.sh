#!/usr/bin/env bash
# The shape of the source tree: lines of each folder, the longest functions, and the share of
# test code among all code (C++, shell, Python and CMake; the tests' machine folders, corpora and
# expected reports are data, not code).
#
#   scripts/house.sh [COMMIT]     (default: the work tree)
set -euo pipefail
cd "$(dirname "$0")/.."
tree=.
if [ $# -gt 0 ]; then
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  git archive "$1" | tar -x -C "$tree"
fi
cd "$tree"
code() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name '*.cmake' -o -name CMakeLists.txt \) 2>/dev/null; }
lines() { code "$@" | xargs -r cat | wc -l; }

echo "lines of each folder:"
for folder in $(find src tools -mindepth 1 -maxdepth 2 -type d | sort); do
  n=$(code "$folder" -maxdepth 1 | xargs -r cat | wc -l)
  [ "$n" -gt 0 ] && printf '  %-34s %6d\n' "$folder" "$n"
done
for folder in tests/*/; do printf '  %-34s %6d\n' "${folder%/}" "$(lines "$folder")"; done

echo "longest functions:"
code src tools | grep -E '\.(cpp|h)$' | xargs ctags -x --_xformat='%{end} %n %N %F' --kinds-C++=f --language-force=C++ 2>/dev/null |
  awk '$1 != "" && $2 != "" { print $1 - $2 + 1, $3, $4 }' | sort -rn | head -5 | sed 's/^/  /'

product=$(( $(lines src tools) + $(lines scripts cmake) + $(code . -maxdepth 1 | xargs -r cat | wc -l) ))
tests=$(lines tests)
echo "code: $product lines of the program, the simulator and the tools; $tests of tests ($(( 100 * tests / (product + tests) ))% tests)"
