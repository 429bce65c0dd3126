#!/usr/bin/env bash
# The README and the manual hold together: every relative link of README.md and docs/ points at a
# file that exists (and at a heading of it, where it names one), and every tvxsim command line the
# README shows runs and signs off (its output goes to a folder of the test's own, not to build/).
#   check.sh TVXSIM
set -euo pipefail
tvxsim=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - README.md docs/*.md <<'PY'
import os, re, sys
def anchors(path):
    """The anchors of a page's headings, as GitHub makes them."""
    out = set()
    for line in open(path, encoding="utf-8"):
        if line.startswith("#"):
            title = line.lstrip("#").strip().lower()
            out.add(re.sub(r"\s", "-", re.sub(r"[^\w\- ]", "", title)))
    return out
bad = []
for page in sys.argv[1:]:
    text = open(page, encoding="utf-8").read()
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if re.match(r"[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        where = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
        if not os.path.exists(where):
            bad.append(f"{page}: {target}: no such file")
        elif anchor and where.endswith(".md") and anchor not in anchors(where):
            bad.append(f"{page}: {target}: no such heading")
if bad:
    sys.exit("\n".join(bad))
print("ok: every link of README.md and docs/ resolves")
PY

# The README's command lines, in its order: tvxsim and what makes its inputs (the image).
mapfile -t lines < <(sed -n 's/^ \{4,\}\(build\/host\/tvxsim .*\|xorriso .*\)$/\1/p' README.md)
[ "${#lines[@]}" -ge 4 ] || { echo "FAIL: the README shows ${#lines[@]} command lines" >&2; exit 1; }
for line in "${lines[@]}"; do
  command=${line//build\//$work/}
  command=${command//$work\/host\/tvxsim/$tvxsim}
  status=0
  bash -c "$command" >"$work/out" 2>&1 || status=$?
  if [ "$status" != 0 ]; then
    echo "FAIL: the README's \"$line\" ended with $status:" >&2
    tail -n 5 "$work/out" >&2
    exit 1
  fi
done
echo "ok: the README's ${#lines[@]} command lines run"
"$tvxsim" --help | grep -q 'docs/' || { echo "FAIL: tvxsim --help does not point at the manual" >&2; exit 1; }
for command in run matrix; do
  help=$("$tvxsim" "$command" --help)
  [ "$(wc -l <<<"$help")" -le 25 ] || { echo "FAIL: tvxsim $command --help is long" >&2; exit 1; }
  page=$(grep -o 'docs/[a-z]*\.md' <<<"$help" | head -n 1)
  [ -f "$page" ] || { echo "FAIL: tvxsim $command --help points at \"$page\", which is no page" >&2; exit 1; }
done
echo "ok: each --help is short and points at its page"
