#!/usr/bin/env bash
# Installs what is missing, builds Orvex and starts it: ./run.sh [PROJECT.hhp]
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
bin="${ORVEX_BUILD_DIR:-$root/out}/bin/orvex"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Orvex under xvfb-run (a virtual display)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$bin" "$@"
fi
exec "$bin" "$@"
