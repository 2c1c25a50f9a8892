#!/bin/sh
# Installs every Debian package that building and testing Tessaline needs.
#   root, something missing  -> apt-get update, then apt-get install
#   not root, something missing -> prints the exact apt-get line and exits 1
#   everything present -> does nothing
set -eu

PACKAGES="
cmake ninja-build g++ pkg-config binutils ccache
libgtest-dev libgmock-dev libbenchmark-dev
juce-modules-source-data juce-modules-source
libcairo2-dev libsndfile1-dev libzita-convolver-dev libfftw3-dev nlohmann-json3-dev libsoxr-dev parallel
bash-completion
liblilv-dev lv2-dev lsp-plugins-lv2 lilv-utils sordi serdi
clang libclang-rt-14-dev clang-format clang-tidy
libfreetype-dev libfontconfig1-dev libx11-dev libxext-dev libxrandr-dev
libxinerama-dev libxcursor-dev libasound2-dev libpng-dev libjpeg-dev zlib1g-dev
libpango1.0-dev libexpat1-dev libxcb1-dev libxcb-xkb-dev libxcb-xtest0-dev
libxkbcommon-dev libxkbcommon-x11-dev fonts-dejavu-core xvfb
dpkg-dev lintian
ardour
"

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
