#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what landed there: the program, the
# desktop entry (validated when desktop-file-validate is on the machine), the project file type
# (run through update-mime-database when present), the icons, the documents, the example project
# and the man page; then starts the installed program from a scratch folder and checks that it
# finds its own documents there and creates nothing in the current folder.
#
#   scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-${KESTRA_BUILD_DIR:-$root/build}}" && pwd)"
scratch="$(mktemp -d /tmp/kestra-install.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || { cat "$scratch/install.log"; exit 1; }

for file in \
    bin/kestra \
    share/applications/kestra.desktop \
    share/mime/packages/kestra-mime.xml \
    share/icons/hicolor/scalable/apps/kestra.svg \
    share/icons/hicolor/256x256/apps/kestra.png \
    share/icons/hicolor/scalable/mimetypes/application-x-kestra-project.svg \
    share/kestra/docs/manual.md \
    share/kestra/docs/tutorial.md \
    share/kestra/examples/blinker/Blinker.kst \
    share/kestra/examples/blinker/Blinker/BLINKER.vhd \
    share/man/man1/kestra.1; do
    [ -s "$prefix/$file" ] || fail "missing or empty: $file"
done
[ -x "$prefix/bin/kestra" ] || fail "bin/kestra is not executable"
[ -x "$prefix/libexec/kestra/kestra-window" ] || fail "libexec/kestra/kestra-window is not executable"

# Every picture the documents show is installed beside them.
for doc in manual tutorial; do
    grep -o '](images/[^)]*)' "$root/docs/$doc.md" | sed 's/^](//; s/)$//' | sort -u | while read -r image; do
        [ -s "$prefix/share/kestra/docs/$image" ] || echo "$doc.md: $image"
    done
done >"$scratch/missing-images"
[ -s "$scratch/missing-images" ] && fail "pictures not installed: $(tr '\n' ' ' <"$scratch/missing-images")"

if command -v identify >/dev/null 2>&1; then
    size="$(identify -format '%wx%h' "$prefix/share/icons/hicolor/256x256/apps/kestra.png" 2>/dev/null || true)"
    [ "$size" = "256x256" ] || fail "the PNG icon is '$size', not 256x256"
fi

if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$prefix/share/applications/kestra.desktop" || fail "desktop entry does not validate"
else
    echo "desktop-file-validate not installed: desktop entry not validated"
fi

if command -v update-mime-database >/dev/null 2>&1; then
    update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database rejects the type"
    grep -q 'application/x-kestra-project:\*\.kst' "$prefix/share/mime/globs2" ||
        fail "*.kst is not mapped to application/x-kestra-project"
fi

if command -v man >/dev/null 2>&1; then
    MANWIDTH=80 man -l "$prefix/share/man/man1/kestra.1" 2>"$scratch/man.err" >"$scratch/man.txt" || fail "man cannot read kestra(1)"
    grep -q "EXIT STATUS" "$scratch/man.txt" || fail "kestra(1) has no EXIT STATUS section"
    [ -s "$scratch/man.err" ] && fail "man warns about kestra(1): $(head -3 "$scratch/man.err")"
fi

# The installed program, started in an empty folder with scratch settings and data folders.
mkdir -p "$scratch/cwd" "$scratch/config" "$scratch/data"
(
    cd "$scratch/cwd"
    XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" HOME="$scratch" QT_QPA_PLATFORM=offscreen \
        "$prefix/bin/kestra" library >"$scratch/library.out" 2>&1
) || fail "kestra library failed: $(cat "$scratch/library.out")"
settings="$scratch/config/Orvalle Software/KESTRA.conf"
grep -q "^Application%20path=$prefix/share/kestra\$" "$settings" ||
    fail "the installed program does not find its documents: $(grep -i 'application' "$settings" || true)"
[ -d "$scratch/data/Orvalle Software/KESTRA/Library" ] || fail "no Library in the user's data folder"
[ -z "$(ls -A "$scratch/cwd")" ] || fail "the program created files in the current folder: $(ls -A "$scratch/cwd")"

# A picture is drawn by the window program, which the installed `kestra` finds and becomes; it
# finds the installation's documents from its own folder too.
rm -f "$settings"
cp -r "$prefix/share/kestra/examples/blinker" "$scratch/blinker"
(
    cd "$scratch/cwd"
    XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" HOME="$scratch" QT_QPA_PLATFORM=offscreen \
        "$prefix/bin/kestra" diagram "$scratch/blinker/Blinker.kst" BLINKER -o "$scratch/blinker.svg" \
        >"$scratch/diagram.out" 2>&1
) || fail "kestra diagram failed: $(cat "$scratch/diagram.out")"
[ -s "$scratch/blinker.svg" ] || fail "kestra diagram wrote no picture"
grep -q "^Application%20path=$prefix/share/kestra\$" "$settings" ||
    fail "the installed window program does not find its documents: $(grep -i 'application' "$settings" || true)"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed; installed tree: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
    exit 1
fi
echo "install tree OK: $(cd "$prefix" && find . -type f | wc -l) files"
