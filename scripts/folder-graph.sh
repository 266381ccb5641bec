#!/usr/bin/env bash
# The dependency graph between the program's source folders, read from the
# #include lines: one line "FOLDER -> FOLDER, FOLDER, ..." per folder, in an
# order where every folder comes after those it depends on. Fails (exit 1)
# naming the folders of a cycle when there is one.
#   scripts/folder-graph.sh          the graph
#   scripts/folder-graph.sh --check  only the verdict
# Tests, benchmarks and fuzz targets may include anything and are left out.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mapfile -t files < <( (git ls-files '*.cpp' '*.h' 2>/dev/null ||
  find . -path ./out -prune -o -path './out-*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print |
  sed 's|^\./||') | grep -Ev '^(tests|bench|fuzz|docs|out[^/]*)/')
edges=$(
  for f in "${files[@]}"; do
    from=$(dirname "$f")
    sed -n 's/^#include "\(.*\)\/[^/]*"$/\1/p' "$f" | while read -r to; do
      if [ "$to" != "$from" ]; then echo "$from $to"; fi
    done
  done | sort -u
)
folders=$(printf '%s\n' "${files[@]}" | xargs -n1 dirname | sort -u)
# tsort puts a folder before those it names; the graph lists dependencies
# first, so the order is reversed. Every folder also stands alone (X X) so
# that folders without edges are listed.
pairs=$( (echo "$edges" | awk 'NF == 2 { print $2, $1 }'; echo "$folders" | awk '{ print $1, $1 }') )
if ! order=$(echo "$pairs" | tsort 2>/tmp/folder-graph.$$); then
  echo "folder-graph: the folders depend on each other in a cycle:" >&2
  # Each loop tsort meets, printed as the chain of includes that closes it.
  awk '/input contains a loop/ { if (n) print "  " chain " -> " last; chain = ""; n = 0; next }
       { sub(/^tsort: /, ""); last = $0; chain = n++ ? $0 " -> " chain : $0 }
       END { if (n) print "  " chain " -> " last }' /tmp/folder-graph.$$ >&2
  rm -f /tmp/folder-graph.$$
  exit 1
fi
rm -f /tmp/folder-graph.$$
if [ "${1:-}" = "--check" ]; then
  echo "folder-graph: $(echo "$folders" | wc -l) folders, no cycle"
  exit 0
fi
for folder in $order; do
  deps=$(echo "$edges" | awk -v f="$folder" '$1 == f { print $2 }' | paste -sd, - | sed 's/,/, /g')
  echo "$folder -> ${deps:-(nothing)}"
done
