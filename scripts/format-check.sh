#!/usr/bin/env bash
# Checks that the C++ lines changed since a base commit follow .clang-format, so the
# layout stays as written without reformatting what nobody touched.
#   base: $ORVALIS_FORMAT_BASE if set; else, on a branch other than main, its merge base
#   with main; else the commit before HEAD. When HEAD is itself a merge (main after a
#   landing), only the lines the merge made new against every parent count.
#   Uncommitted changes and new files count as changed.
# Fix what it reports with `git clang-format-14 BASE` (or clang-format-14 -i FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
format=clang-format-14
if ! command -v "$format" >/dev/null; then
  echo "format check skipped: $format is not installed" >&2
  exit 0
fi

base=${ORVALIS_FORMAT_BASE:-}
if [ -z "$base" ]; then
  if git rev-parse -q --verify main >/dev/null &&
     [ "$(git rev-parse HEAD)" != "$(git rev-parse main)" ]; then
    base=$(git merge-base main HEAD)
  elif git rev-parse -q --verify HEAD^2 >/dev/null; then
    base=merge
  elif git rev-parse -q --verify HEAD~1 >/dev/null; then
    base=HEAD~1
  else
    echo "format check skipped: no earlier commit to compare with" >&2
    exit 0
  fi
fi

status=0
check() {  # file, then --lines options (none: the whole file)
  local file=$1
  shift
  if ! "$format" --dry-run -Werror "$@" "$file"; then
    status=1
  fi
}

changes() {  # "diff FILE": its changes; "names": the changed C++ files
  local opts=(--name-only) paths=('*.cpp' '*.h')
  if [ "$1" = diff ]; then
    opts=()
    paths=("$2")
  fi
  if [ "$base" = merge ]; then
    git diff-tree --cc -U0 --no-color "${opts[@]}" HEAD -- "${paths[@]}"
  else
    git diff -U0 --no-color --diff-filter=AMR "${opts[@]}" "$base" -- "${paths[@]}"
  fi
}

while IFS= read -r file; do
  [ -f "$file" ] || continue
  lines=()
  # Each hunk header "@@ -a,b +c,d @@" (or "@@@ -a,b -c,d +e,f @@@" for a merge) names
  # the changed lines c .. c+d-1 of the new file.
  while IFS= read -r range; do
    lines+=("--lines=$range")
  done < <(changes diff "$file" | grep -E '^@@' |
           sed -nE 's/^@@@? .*\+([0-9]+)(,([0-9]+))? @@@?.*/\1 \3/p' |
           awk '{ n = ($2 == "") ? 1 : $2; if (n > 0) print $1 ":" $1 + n - 1 }')
  [ ${#lines[@]} -gt 0 ] && check "$file" "${lines[@]}"
done < <(changes names | grep -vE '^[0-9a-f]{40}$' || true)

while IFS= read -r file; do
  check "$file"
done < <(git ls-files --others --exclude-standard -- '*.cpp' '*.h')

if [ $status -ne 0 ]; then
  echo "format check: the lines above differ from .clang-format (base $base);" \
       "fix them with: git clang-format-14 $base" >&2
fi
exit $status
