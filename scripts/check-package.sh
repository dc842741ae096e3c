#!/usr/bin/env bash
# Builds the Debian package from a built tree (`cpack -G DEB` in the build folder) and checks
# its control data and contents: the Qt 6 runtime libraries it depends on (never a -dev
# package), the program, the desktop files, the documents, the example project and the man page.
#
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-${KESTRA_BUILD_DIR:-$root/build}}" && pwd)"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -f "$build"/kestra_*.deb
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb="$(ls "$build"/kestra_*.deb)"
echo "package: $deb"

[ "$(dpkg-deb -f "$deb" Package)" = kestra ] || fail "package name is not kestra"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
names="$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 libqscintilla2-qt6-15 libgvc6 libc6 libstdc++6; do
    grep -qxF "$library" <<<"$names" || fail "Depends does not name $library"
done
grep -q -- '-dev' <<<"$depends" && fail "Depends names a development package"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$build/package-files.txt"
for file in ./usr/bin/kestra ./usr/libexec/kestra/kestra-window ./usr/share/applications/kestra.desktop ./usr/share/mime/packages/kestra-mime.xml \
    ./usr/share/icons/hicolor/scalable/apps/kestra.svg ./usr/share/icons/hicolor/256x256/apps/kestra.png \
    ./usr/share/kestra/docs/manual.md ./usr/share/kestra/docs/tutorial.md ./usr/share/man/man1/kestra.1 \
    ./usr/share/kestra/examples/blinker/Blinker.kst; do
    grep -qx -- "$file" "$build/package-files.txt" || fail "the package lacks $file"
done

if [ "$failures" -gt 0 ]; then
    exit 1
fi
echo "package OK"
