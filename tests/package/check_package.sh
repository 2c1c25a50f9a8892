#!/bin/sh
# Builds the Debian package from the build tree, unpacks it into a scratch root and checks that
# every file lands where the package promises, that the installed program finds and runs the
# installed bundle, that the runtime dependencies are declared and that lintian finds no error.
# Usage: check_package.sh BUILD_DIR VERSION SCRATCH. Exits 77 (skipped) without cpack or dpkg.
set -eu
BUILD="$1"; VERSION="$2"; WORK="$3"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: no $tool"; exit 77; }
done
rm -rf "$WORK"; mkdir -p "$WORK"
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK" >"$WORK/cpack.log" 2>&1 \
  || { cat "$WORK/cpack.log"; exit 1; }
DEB="$WORK/tessaline_${VERSION}_amd64.deb"
[ -f "$DEB" ] || { echo "no $DEB"; ls "$WORK"; exit 1; }
ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT"

fail() { echo "FAIL: $*"; exit 1; }
MODULE=usr/lib/vst3/Tessaline.vst3/Contents/x86_64-linux/Tessaline.so
for f in usr/bin/tessaline "$MODULE" usr/lib/vst3/Tessaline.vst3/Contents/Resources/moduleinfo.json \
         usr/share/man/man1/tessaline.1.gz usr/share/doc/tessaline/README.md \
         usr/share/doc/tessaline/copyright usr/share/doc/tessaline/changelog.gz \
         usr/lib/lv2/Tessaline.lv2/Tessaline.so usr/lib/lv2/Tessaline.lv2/TessalineUI.so \
         usr/lib/lv2/Tessaline.lv2/tovu.uidesc usr/lib/lv2/Tessaline.lv2/manifest.ttl \
         usr/lib/lv2/Tessaline.lv2/Tessaline.ttl usr/lib/lv2/Tessaline.lv2/presets.ttl \
         usr/share/bash-completion/completions/tessaline; do
  [ -f "$ROOT/$f" ] || fail "missing /$f"
done
presets=$(ls "$ROOT/usr/share/vst3/presets/Quorvane/Tessaline/"*.vstpreset | wc -l)
[ "$presets" -ge 2 ] || fail "expected the factory presets, found $presets"
[ -L "$ROOT/usr/lib/vst/Tessaline.so" ] || fail "no VST2 link /usr/lib/vst/Tessaline.so"
[ "$(readlink -f "$ROOT/usr/lib/vst/Tessaline.so")" = "$(readlink -f "$ROOT/$MODULE")" ] \
  || fail "the VST2 link does not reach the module"
# Nothing outside the listed folders.
stray=$(cd "$ROOT" && find . -type f -o -type l | grep -v -e '^./usr/bin/tessaline$' -e '^./usr/lib/vst3/Tessaline.vst3/' \
  -e '^./usr/lib/vst/Tessaline.so$' -e '^./usr/share/vst3/presets/Quorvane/Tessaline/' -e '^./usr/lib/lv2/Tessaline.lv2/' \
  -e '^./usr/share/man/man1/tessaline.1.gz$' -e '^./usr/share/doc/tessaline/' \
  -e '^./usr/share/bash-completion/completions/tessaline$' || true)
[ -z "$stray" ] || fail "unexpected files: $stray"

TOOL="$ROOT/usr/bin/tessaline"
[ "$("$TOOL" --version)" = "tessaline $VERSION" ] || fail "--version: $("$TOOL" --version)"
"$TOOL" --help | grep -q "defaults to $ROOT/usr/bin/../lib/vst3/Tessaline.vst3" \
  || fail "the installed program does not default to the installed bundle: $("$TOOL" --help)"
"$TOOL" info >"$WORK/info.txt" || fail "tessaline info failed"
grep -q "version: $VERSION" "$WORK/info.txt" || fail "info does not show version $VERSION"
"$TOOL" render --demo "$WORK/demo.wav" --no-tail >/dev/null || fail "render failed"
[ "$(stat -c %s "$WORK/demo.wav")" -gt 100000 ] || fail "render wrote too little"
# LV2 hosts find the installed bundle with its presets.
if command -v lv2info >/dev/null 2>&1; then
  LV2_PATH="$ROOT/usr/lib/lv2" lv2info https://tessaline.quorvane.example/plugins/tessaline >"$WORK/lv2info.txt" 2>&1 \
    || fail "lv2info does not find the installed LV2 bundle"
  grep -q "Studio" "$WORK/lv2info.txt" || fail "lv2info lists no Studio preset"
fi
# The installed README's links reach the pages and pictures installed beside it.
sh "$(dirname "$0")/../../tools/checklinks.sh" "$ROOT/usr/share/doc/tessaline" >"$WORK/links.txt" 2>&1 \
  || fail "the installed documents link to files the package lacks: $(cat "$WORK/links.txt")"
zcat "$ROOT/usr/share/man/man1/tessaline.1.gz" | grep -q "render" || fail "manual page lacks the commands"

depends=$(dpkg-deb -f "$DEB" Depends)
for lib in libsndfile1 libc6 libstdc++6; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$DEB" || fail "lintian reports errors"
fi
echo "package $DEB as listed"
