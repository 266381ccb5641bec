#!/usr/bin/env bash
# Installs what is missing, builds Orvex and starts it: ./run.sh [PROJECT.hhp]
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
# Only what building and running need: no tests, no benchmarks.
"$root/scripts/install-deps.sh" run
"$root/scripts/build.sh" -DBUILD_TESTING=OFF -DORVEX_BENCH=OFF
bin="${ORVEX_BUILD_DIR:-$root/out}/bin/orvex"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Orvex under xvfb-run (a virtual display)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$bin" "$@"
fi
exec "$bin" "$@"
