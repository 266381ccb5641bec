#!/bin/bash
# Our hhc against chmcmd on the largest Doxygen project this machine makes:
# Doxygen's HTML Help output for the ICU headers (/usr/include/unicode,
# package libicu-dev). Prints both times, peak memories and sizes, and our
# time with 1, 2 and 4 threads. SOURCE_FOLDER may also be a Doxygen HTML
# Help folder made before (one with index.hhp), compiled as it is.
# Usage: [HHC_BEFORE=OLD_HHC] bench/compile_bench.sh BUILD_BIN_DIR [SOURCE_FOLDER] [RUNS]
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
project=$work/out/html
if [ -f "$source_folder/index.hhp" ]; then
  # A Doxygen HTML Help folder made before: compiled as it is (a copy).
  mkdir -p "$work/out" && cp -r "$source_folder" "$project"
  rm -f "$project"/*.chm  # compiled by an earlier run
else
  echo "Generating the Doxygen project from $source_folder ..."
  (cd "$work" && doxygen Doxyfile >/dev/null 2>&1)
fi
pages=$(find "$project" -name '*.html' | wc -l)
sources=$(du -sb "$project" | cut -f1)
contents=$(grep -ci '<param name="Local"' "$project/index.hhc" || true)
index=$(grep -ci '<param name="Local"' "$project/index.hhk" || true)
echo "Project: $pages pages, $sources bytes, $contents contents items, $index index entries"

# "SECONDS PEAK_KB" of a command: the best time of $runs runs, and the
# peak memory (maximum resident set) of that run, by /usr/bin/time -v. Exit
# code 1 counts as a run (hhc writes the file and reports errors with it:
# Doxygen links pages it does not write).
best_of() {
  local best="" peak=""
  for _ in $(seq "$runs"); do
    local report rc=0
    report=$(mktemp)
    /usr/bin/time -v -o "$report" "$@" >/dev/null 2>&1 || rc=$?
    if [ "$rc" -gt 1 ]; then echo "failed ($rc): $*" >&2; rm -f "$report"; return 1; fi
    local took kb
    took=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]; print s}' "$report")
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
    rm -f "$report"
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; peak=$kb; fi
  done
  printf '%.2f %s' "$best" "$peak"
}

cd "$project"
# Doxygen names no compiled file; chmcmd needs one (hhc takes index.chm too).
grep -qi '^Compiled file=' index.hhp || sed -i 's/^\[OPTIONS\]\r\?$/[OPTIONS]\nCompiled file=index.chm/' index.hhp
# HHC_BEFORE=PATH also measures another hhc (an older build) in the same run.
if [ -n "${HHC_BEFORE:-}" ]; then
  for threads in 1 2; do
    read -r t kb <<<"$(best_of "$HHC_BEFORE" --threads "$threads" index.hhp)"
    echo "hhc before ($HHC_BEFORE), $threads thread(s): $t s, peak $((kb / 1024)) MB"
    [ "$threads" = 1 ] && before_one=$t
    [ "$threads" = 2 ] && before_two=$t
  done
  printf 'The second thread made hhc before %.0f %% faster\n' "$(echo "($before_one / $before_two - 1) * 100" | bc -l)"
fi
for threads in 1 2 4; do
  read -r t kb <<<"$(best_of "$bin/hhc" --threads "$threads" index.hhp)"
  echo "hhc, $threads thread(s): $t s, peak $((kb / 1024)) MB"
  [ "$threads" = 1 ] && one=$t
  [ "$threads" = 2 ] && ours=$t && our_kb=$kb
done
printf 'The second thread makes hhc %.0f %% faster\n' "$(echo "($one / $ours - 1) * 100" | bc -l)"
our_size=$(stat -c %s index.chm)
mv index.chm "$work/ours.chm"

if command -v chmcmd >/dev/null 2>&1; then
  read -r theirs their_kb <<<"$(best_of chmcmd index.hhp)"
  their_size=$(stat -c %s index.chm)
  echo "chmcmd: $theirs s, peak $((their_kb / 1024)) MB"
  echo "Sizes: hhc $our_size bytes, chmcmd $their_size bytes"
  echo "hhc on 2 threads is $(echo "scale=1; $theirs / $ours" | bc -l) times as fast as chmcmd," \
    "with $((our_kb / 1024)) MB peak memory against $((their_kb / 1024)) MB"
else
  echo "Size: hhc $our_size bytes (chmcmd is not installed)"
fi
