#!/usr/bin/env bash
# Installs what is missing, builds Orvex and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh" test
"$root/scripts/check-format.sh"
"$root/scripts/build.sh" -DBUILD_TESTING=ON -DORVEX_BENCH=ON
export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
cd "${ORVEX_BUILD_DIR:-$root/out}"
ctest --output-on-failure -j2 --timeout 300
