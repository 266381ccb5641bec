#!/usr/bin/env bash
# Installs what Orvex needs on Debian 12: `install-deps.sh run` only what
# building and running need, `install-deps.sh` (or `test`) the test tools too.
set -euo pipefail
what="${1:-test}"
case "$what" in
  run | test) ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac
# Building and running Orvex.
runtime=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  qt6-webchannel-dev libgl-dev
  libicu-dev libchm-dev
  # Spelling: Hunspell, and the English dictionary (the spelling tests check with it too).
  libhunspell-dev hunspell-en-us
  xvfb xauth fonts-dejavu-core
)
# Only the tests, benchmarks, the format check and fuzzing: other readers of
# compiled files (chmlib's tools, libmspack, 7-Zip), chmcmd as a second
# compiler, project generators, clang with its sanitizer and fuzzer runtime,
# lld to link the sanitizer build and llvm-symbolizer for its reports; the
# desktop's own checkers of the installed desktop entries and file types.
tests=(
  libgtest-dev libbenchmark-dev clang-format clang libclang-rt-14-dev lld llvm
  libchm-bin libmspack-dev p7zip-full fp-utils
  doxygen python3-sphinx python3-sphinxcontrib.htmlhelp hyperfine bc
  hunspell-en-us
  desktop-file-utils shared-mime-info libxml2-utils
)
wanted=("${runtime[@]}")
[ "$what" = run ] || wanted+=("${tests[@]}")
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
