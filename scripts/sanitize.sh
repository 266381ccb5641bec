#!/usr/bin/env bash
# Builds Orvex with clang and the address and undefined-behaviour sanitizers
# into ./out-asan (or $ORVEX_SANITIZE_DIR), the fuzz targets included, and
# runs the whole test suite there. Any undefined behaviour or memory error
# fails the test that caused it.
#
# The build is made to be cheap, as CI builds it from scratch after the
# normal build: -O1 (what the sanitizers need to stay fast), line tables only
# for the reports' stack traces, no benchmarks, and lld to link.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${ORVEX_SANITIZE_DIR:-$root/out-asan}"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_FUZZ=ON -DORVEX_BENCH=OFF
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only")
if command -v ld.lld >/dev/null; then
  options+=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld
    -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=lld)
fi
if command -v ccache >/dev/null; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$out" -G Ninja "${options[@]}" >/dev/null
cmake --build "$out" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
# Leaks are not failures here (the toolkit's and the web engine's caches live
# until exit); memory errors and undefined behaviour are. A finding ends the
# process with SIGABRT, as any crash, so a helper process that crashes is
# still seen as crashed by the program that runs it. Reports name files and
# lines (llvm-symbolizer).
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:abort_on_error=1"
if symbolizer="$(command -v llvm-symbolizer)"; then
  export ASAN_SYMBOLIZER_PATH="$symbolizer" UBSAN_SYMBOLIZER_PATH="$symbolizer"
fi
cd "$out"
ctest --output-on-failure -j2 --timeout 900
