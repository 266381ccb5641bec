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

# "SECONDS PEAK_KB" of one run of a command, by /usr/bin/time -v. Exit code
# 1 counts as a run (hhc writes the file and reports errors with it:
# Doxygen links pages it does not write).
one_run() {
  local report rc=0
  report=$(mktemp)
  /usr/bin/time -v -o "$report" "$@" >/dev/null 2>&1 || rc=$?
  if [ "$rc" -gt 1 ]; then echo "failed ($rc): $*" >&2; rm -f "$report"; return 1; fi
  local took kb
  took=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]; print s}' "$report")
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
  rm -f "$report"
  printf '%s %s' "$took" "$kb"
}

# "SECONDS PEAK_KB" of a command: the best time of $runs runs, and the
# peak memory of that run.
best_of() {
  local best="" peak=""
  for _ in $(seq "$runs"); do
    local took kb
    read -r took kb <<<"$(one_run "$@")"
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; peak=$kb; fi
  done
  printf '%.2f %s' "$best" "$peak"
}

cd "$project"
# Doxygen names no compiled file; chmcmd needs one (hhc takes index.chm too).
grep -qi '^Compiled file=' index.hhp || sed -i 's/^\[OPTIONS\]\r\?$/[OPTIONS]\nCompiled file=index.chm/' index.hhp
# hhc with 1, 2 and 4 threads (and HHC_BEFORE=PATH, another hhc such as an
# older build, with 1 and 2), the runs taken in turn, round after round: on
# a machine shared with others the speed of the cores changes from one
# minute to the next, and each round's 1- and 2-thread runs see the same
# minute. Reported: the best time of each (with the peak memory of that
# run), and the second thread's gain both from the best times and as the
# median of the rounds' own gains.
configs=("$bin/hhc 1" "$bin/hhc 2" "$bin/hhc 4")
[ -n "${HHC_BEFORE:-}" ] && configs=("$HHC_BEFORE 1" "$HHC_BEFORE 2" "${configs[@]}")
times=$(mktemp)
for round in $(seq "$runs"); do
  for config in "${configs[@]}"; do
    read -r program threads <<<"$config"
    read -r took kb <<<"$(one_run "$program" --threads "$threads" index.hhp)"
    echo "$round|$program|$threads|$took|$kb" >>"$times"
  done
done
report() {  # PROGRAM LABEL
  awk -F'|' -v program="$1" -v label="$2" '
    $2 == program {
      if (!($3 in best) || $4 < best[$3]) { best[$3] = $4; peak[$3] = $5 }
      took[$1, $3] = $4; rounds[$1] = 1
    }
    END {
      for (t = 1; t <= 4; t *= 2)
        if (t in best) printf "%s, %d thread(s): %.2f s, peak %d MB\n", label, t, best[t], peak[t] / 1024
      n = 0
      for (r in rounds) if (took[r, 2] > 0) gains[++n] = took[r, 1] / took[r, 2] - 1
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (gains[j] < gains[i]) { g = gains[i]; gains[i] = gains[j]; gains[j] = g }
      median = n % 2 ? gains[(n + 1) / 2] : (gains[n / 2] + gains[n / 2 + 1]) / 2
      printf "The second thread makes %s %.0f %% faster (best times), %.0f %% (median of %d rounds)\n", label, (best[1] / best[2] - 1) * 100, median * 100, n
    }' "$times"
}
[ -n "${HHC_BEFORE:-}" ] && report "$HHC_BEFORE" "hhc before ($HHC_BEFORE)"
report "$bin/hhc" "hhc"
read -r ours our_kb <<<"$(awk -F'|' -v program="$bin/hhc" '$2 == program && $3 == 2 && (best == "" || $4 < best) { best = $4; kb = $5 } END { print best, kb }' "$times")"
rm -f "$times"
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
