#!/bin/bash
# Our hhc against chmcmd on the largest Doxygen project this machine makes:
# Doxygen's HTML Help output for the ICU headers (/usr/include/unicode,
# package libicu-dev). Prints both times and sizes, and our time with 1, 2
# and 4 threads.
# Usage: bench/compile_bench.sh BUILD_BIN_DIR [SOURCE_FOLDER] [RUNS]
set -euo pipefail
bin=$(cd "${1:?usage: compile_bench.sh BUILD_BIN_DIR [SOURCE_FOLDER] [RUNS]}" && pwd)
source_folder=${2:-/usr/include/unicode}
runs=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/Doxyfile" <<EOF
PROJECT_NAME = "ICU"
INPUT = $source_folder
FILE_PATTERNS = *.h
OUTPUT_DIRECTORY = $work/out
GENERATE_HTMLHELP = YES
HHC_LOCATION =
GENERATE_LATEX = NO
HAVE_DOT = NO
SEARCHENGINE = NO
QUIET = YES
WARNINGS = NO
EXTRACT_ALL = YES
EOF
echo "Generating the Doxygen project from $source_folder ..."
(cd "$work" && doxygen Doxyfile >/dev/null 2>&1)
project=$work/out/html
pages=$(find "$project" -name '*.html' | wc -l)
sources=$(du -sb "$project" | cut -f1)
contents=$(grep -ci '<param name="Local"' "$project/index.hhc" || true)
index=$(grep -ci '<param name="Local"' "$project/index.hhk" || true)
echo "Project: $pages pages, $sources bytes, $contents contents items, $index index entries"

# Seconds per run of a command, the best of $runs.
best_of() {
  local best=""
  for _ in $(seq "$runs"); do
    local start end took
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
  done
  printf '%.2f' "$best"
}

cd "$project"
# Doxygen names no compiled file; chmcmd needs one (hhc takes index.chm too).
grep -qi '^Compiled file=' index.hhp || sed -i 's/^\[OPTIONS\]\r\?$/[OPTIONS]\nCompiled file=index.chm/' index.hhp
for threads in 1 2 4; do
  t=$(best_of "$bin/hhc" --threads "$threads" index.hhp)
  echo "hhc, $threads thread(s): $t s"
  [ "$threads" = 2 ] && ours=$t
done
our_size=$(stat -c %s index.chm)
mv index.chm "$work/ours.chm"

if command -v chmcmd >/dev/null 2>&1; then
  theirs=$(best_of chmcmd index.hhp)
  their_size=$(stat -c %s index.chm)
  echo "chmcmd: $theirs s"
  echo "Sizes: hhc $our_size bytes, chmcmd $their_size bytes"
  echo "hhc on 2 threads is $(echo "scale=1; $theirs / $ours" | bc -l) times as fast as chmcmd"
else
  echo "Size: hhc $our_size bytes (chmcmd is not installed)"
fi
