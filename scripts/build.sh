#!/usr/bin/env bash
# Configures and builds Orvex into ./out (or $ORVEX_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${ORVEX_BUILD_DIR:-$root/out}"
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$out" -j"$(nproc)"
