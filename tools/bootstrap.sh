#!/bin/sh
# Installs the Debian packages a purpose needs; each purpose's list lives here and only here.
#   tools/bootstrap.sh [product]  what builds the plug-in (VST3, VST2, LV2), the command-line tool,
#                                 the manual page and the Debian package, and renders the demo
#   tools/bootstrap.sh test       the product's packages and what the tests, benchmarks, sanitizer
#                                 and fuzz runs, the lint and CI need (hosts, Xvfb, clang, ...)
#   tools/bootstrap.sh --list PURPOSE   prints that purpose's packages, one a line, and exits
#   root, something missing     -> apt-get update, then apt-get install
#   not root, something missing -> prints the exact apt-get line and exits 1
#   everything present          -> does nothing
set -eu

# The compiler and build tools, the VST3 SDK (Debian ships it in JUCE's module sources), and the
# libraries the plug-in, its panel (cairo, pango, expat, xcb, xkbcommon) and `tessaline` link.
PRODUCT="
cmake ninja-build g++ pkg-config binutils ccache dpkg-dev
juce-modules-source-data
libcairo2-dev libpango1.0-dev libfontconfig1-dev libexpat1-dev libpng-dev fonts-dejavu-core
libxcb1-dev libxcb-xkb-dev libxkbcommon-dev libxkbcommon-x11-dev
libsndfile1-dev libsoxr-dev libfftw3-dev nlohmann-json3-dev lv2-dev
"

# GoogleTest and Google Benchmark; the JUCE host (JUCE's sources and the libraries it links);
# the peers the benchmarks measure against (zita-convolver, LSP); lilv and its tools for the LV2
# tests; Ardour for the headless session test; xcb-xtest and Xvfb for the window tests; clang,
# its sanitizer runtime and its format and tidy tools; lintian for the package test; GNU parallel
# for the split-corpus test; bash-completion for the completion tests.
TEST="
libgtest-dev libgmock-dev libbenchmark-dev
juce-modules-source libfreetype-dev libx11-dev libxext-dev libxrandr-dev libxinerama-dev
libxcursor-dev libasound2-dev libjpeg-dev zlib1g-dev
libzita-convolver-dev lsp-plugins-lv2
liblilv-dev lilv-utils sordi serdi
ardour
libxcb-xtest0-dev xvfb
clang libclang-rt-14-dev clang-format clang-tidy
lintian parallel bash-completion
"

usage() {
  echo "usage: tools/bootstrap.sh [--list] [product|test]" >&2
  exit 2
}

list=0
if [ "${1:-}" = "--list" ]; then
  list=1
  shift
fi
case "${1:-product}" in
  product) PACKAGES=$PRODUCT ;;
  test) PACKAGES="$PRODUCT $TEST" ;;
  *) usage ;;
esac
[ $# -le 1 ] || usage

if [ "$list" -eq 1 ]; then
  for p in $PACKAGES; do echo "$p"; done
  exit 0
fi

missing=""
for p in $PACKAGES; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    "install ok installed") ;;
    *) missing="$missing $p" ;;
  esac
done

[ -z "$missing" ] && exit 0

line="apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" -ne 0 ]; then
  echo "Tessaline needs these Debian packages. Run as root:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi

echo "bootstrap: installing$missing" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q --no-install-recommends $missing
