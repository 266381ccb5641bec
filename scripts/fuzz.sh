#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-
# behaviour sanitizers) into ./out-fuzz and runs each for SECONDS (default 60)
# on a seed corpus made from the program's own help project and its compiled
# help file. Crashes are kept in out-fuzz/crashes/<target>/; a crash or a
# sanitizer finding fails the script.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# ORVEX_FUZZ_DIR=out-asan reuses the sanitizer run's build (CI does).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${ORVEX_FUZZ_DIR:-$root/out-fuzz}"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(sitemap project_file map_alias codepage page_conversions chm_reader)

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$out/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_FUZZ=ON \
    -DBUILD_TESTING=OFF -DORVEX_BENCH=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$out" -j"$(nproc)" --target "${targets[@]/%/_fuzz}" orvex_help

# Seeds: the help project's files and pages, and the help compiled by our
# own compiler (the build's Orvex.chm).
seeds="$out/seeds"
if [ ! -d "$seeds" ]; then
  mkdir -p "$seeds"/{sitemap,project_file,map_alias,codepage,page_conversions,chm_reader}
  cp "$root"/help/*.hhc "$root"/help/*.hhk "$seeds/sitemap/"
  cp "$root"/help/*.hhp "$seeds/project_file/"
  cp "$root"/help/*.h "$root"/help/*.ali "$seeds/map_alias/"
  cp "$root"/help/topics/*.htm "$seeds/page_conversions/" 2>/dev/null || true
  cp "$root"/help/*.hh? "$seeds/codepage/"
  [ -f "$out/bin/Orvex.chm" ] && cp "$out/bin/Orvex.chm" "$seeds/chm_reader/"
fi

status=0
for target in "${targets[@]}"; do
  corpus="$out/corpus/$target"
  crashes="$out/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  log="$out/$target.log"
  echo "== $target: ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=0 "$out/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=65536 -artifact_prefix="$crashes/" -print_final_stats=1 \
      "$corpus" "$seeds/$target" >"$log" 2>&1; then
    echo "   FOUND a failure, see $log and $crashes"
    tail -40 "$log"
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$log" | sed 's/^/   /' || true
done
exit $status
