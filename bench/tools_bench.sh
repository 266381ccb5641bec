#!/bin/sh
# hhc against plain chmcmd on the same 2,000-topic project, and
# "hh -decompile" against extract_chmLib on the same compiled file.
# Usage: bench/tools_bench.sh BUILD_BIN_DIR [TOPICS]
# Uses hyperfine when installed, else a plain timing loop.
set -eu
bin=${1:?usage: tools_bench.sh BUILD_BIN_DIR [TOPICS]}
topics=${2:-2000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_bench_project.py" "$work/proj" "$topics"
cd "$work/proj"
chmcmd Bench.hhp >/dev/null 2>&1
cp Bench.chm "$work/plain.chm"

if command -v hyperfine >/dev/null 2>&1; then
  hyperfine --warmup 1 --runs 5 \
    -n "chmcmd" "chmcmd Bench.hhp" \
    -n "hhc" "$bin/hhc Bench.hhp"
  hyperfine --warmup 1 --runs 10 \
    --prepare "rm -rf $work/out" \
    -n "extract_chmLib" "extract_chmLib $work/plain.chm $work/out" \
    -n "hh -decompile" "$bin/hh -decompile $work/out $work/plain.chm"
else
  loop() { # name runs command...
    name=$1; runs=$2; shift 2
    start=$(date +%s.%N)
    i=0
    while [ $i -lt "$runs" ]; do rm -rf "$work/out"; "$@" >/dev/null 2>&1 || true; i=$((i + 1)); done
    end=$(date +%s.%N)
    echo "$name: $(echo "($end - $start) / $runs" | bc -l) s per run"
  }
  loop chmcmd 5 chmcmd Bench.hhp
  loop hhc 5 "$bin/hhc" Bench.hhp
  loop extract_chmLib 10 extract_chmLib "$work/plain.chm" "$work/out"
  loop "hh -decompile" 10 "$bin/hh" -decompile "$work/out" "$work/plain.chm"
fi
