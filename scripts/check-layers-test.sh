#!/usr/bin/env bash
# Shows that check-layers.sh catches what it must: it passes on a tree that keeps the order and
# fails on each planted fault, naming the file and line.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

plant() { # plant FILE LINE...: a core tree with one lawful file per layer, plus the given lines
    rm -rf "$work/src"
    for folder in text system model analysis generation project diagram library operations session commands panes tools; do
        mkdir -p "$work/src/core/$folder"
        printf '#pragma once\n' > "$work/src/core/$folder/a.h"
    done
    printf '#include "text/a.h"\n#include "model/a.h"\n#include "commands/b.h"\n' > "$work/src/core/commands/a.cpp"
    printf '#include "project/a.h"\n#include <vector>\n' > "$work/src/core/diagram/a.cpp"
    local file="$1"
    shift
    [ -n "$file" ] && printf '%s\n' "$@" >> "$work/src/core/$file"
    return 0
}

expect() { # expect pass|fail TEXT DESCRIPTION
    local wanted="$1" text="$2" description="$3" output result=pass
    output="$(bash "$here/check-layers.sh" "$work" 2>&1)" || result=fail
    if [ "$result" != "$wanted" ] || [[ "$output" != *"$text"* ]]; then
        echo "check-layers: $description: expected $wanted with '$text', got $result: $output" >&2
        exit 1
    fi
}

plant ""
expect pass "" "a lawful tree"
plant model/a.h '#include "commands/a.h"'
expect fail 'src/core/model/a.h:2: model includes "commands/a.h" from commands, a layer above it' "an upward include"
plant diagram/a.cpp '#include "library/a.h"'
expect fail 'src/core/diagram/a.cpp:3: diagram includes "library/a.h" from library' "a sideways include"
plant text/a.h '#include "analysis/a.h"'
expect fail 'src/core/text/a.h:2:' "an include from the lowest layer"
plant generation/a.h '#include "scanner.h"'
expect fail 'names no layer folder' "an include without its folder"
plant system/a.h '#include <QString>'
expect fail 'must not include Qt' "a Qt include in the core"
plant ""
mkdir -p "$work/src/render/picture" && printf '#include <QPainter>\n#include <QWidget>\n' > "$work/src/render/picture/p.cpp"
expect fail 'src/render must not include QtWidgets' "a widget in the render layer"
rm -rf "$work/src/render"
mkdir -p "$work/src/core/extra" && printf '\n' > "$work/src/core/extra/x.h"
expect fail 'src/core/extra is not a layer' "a folder outside the order"
echo "check-layers: all planted faults caught"
