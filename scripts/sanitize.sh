#!/usr/bin/env bash
# Builds Orvex with clang and the address and undefined-behaviour sanitizers
# into ./out-asan (or $ORVEX_SANITIZE_DIR), the fuzz targets included, and
# runs the whole test suite there. Any undefined behaviour or memory error
# fails the test that caused it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${ORVEX_SANITIZE_DIR:-$root/out-asan}"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_FUZZ=ON \
  -DORVEX_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$out" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
# Leaks are not failures here (the toolkit's and the web engine's caches live
# until exit); memory errors and undefined behaviour are.
export ASAN_OPTIONS="detect_leaks=0:detect_odr_violation=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$out"
ctest --output-on-failure -j2 --timeout 900
