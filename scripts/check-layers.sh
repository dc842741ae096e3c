#!/usr/bin/env bash
# Fails when a layer includes what the architecture forbids it:
# - the core has no Qt at all, the command line and platform layers have no QtGui or QtWidgets,
#   the render layer has no widgets;
# - the folders of the core form a strict order, lowest first, and a folder includes only
#   itself and folders below it (diagram and library share a rank and must not know each other).
# Usage: check-layers.sh [ROOT]   (ROOT defaults to the repository; tests pass a planted tree)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
status=0

core_order=(text system model analysis generation project "diagram library" operations session commands panes tools)

if [ -d "$root/src/core" ]; then
    if grep -rnE '#\s*include\s*[<"]Q' "$root/src/core"; then
        echo "src/core must not include Qt headers" >&2
        status=1
    fi
fi
for layer in cli platform; do
    [ -d "$root/src/$layer" ] || continue
    if grep -rnE '#\s*include\s*[<"](QtGui|QtWidgets|QtPrintSupport|QWidget|QApplication|QGuiApplication|QPainter|QClipboard|QDialog|QMessageBox)' "$root/src/$layer"; then
        echo "src/$layer must not include QtGui or QtWidgets headers" >&2
        status=1
    fi
done

if [ -d "$root/src/render" ]; then
    if grep -rnE '#\s*include\s*[<"](QtWidgets|QtPrintSupport|QWidget|QApplication|QDialog|QMessageBox|QPrinter)' "$root/src/render"; then
        echo "src/render must not include QtWidgets or QtPrintSupport headers" >&2
        status=1
    fi
fi

declare -A rank=()
for i in "${!core_order[@]}"; do
    for folder in ${core_order[$i]}; do
        rank[$folder]=$i
    done
done
order_text=""
for layer in "${core_order[@]}"; do
    [[ "$layer" == *" "* ]] && layer="{${layer// /, }}"
    order_text+="${order_text:+ < }$layer"
done

core="$root/src/core"
if [ -d "$core" ]; then
    while IFS= read -r -d '' file; do
        relative="${file#"$core"/}"
        if [[ "$relative" != */* ]]; then
            [[ "$relative" == CMakeLists.txt ]] && continue
            echo "src/core/$relative: every core file belongs in a layer folder ($order_text)" >&2
            status=1
            continue
        fi
        folder="${relative%%/*}"
        if [ -z "${rank[$folder]+set}" ]; then
            echo "src/core/$relative: src/core/$folder is not a layer ($order_text); add it to the order in scripts/check-layers.sh and docs/ARCHITECTURE.md" >&2
            status=1
            continue
        fi
        line_number=0
        while IFS= read -r line; do
            line_number=$((line_number + 1))
            [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
            included="${BASH_REMATCH[1]}"
            if [[ "$included" != */* ]]; then
                echo "src/core/$relative:$line_number: include \"$included\" names no layer folder; write \"$folder/$included\"" >&2
                status=1
                continue
            fi
            target="${included%%/*}"
            [ "$target" = "$folder" ] && continue
            if [ -z "${rank[$target]+set}" ]; then
                echo "src/core/$relative:$line_number: include \"$included\" is outside the core's layers" >&2
                status=1
            elif [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
                echo "src/core/$relative:$line_number: $folder includes \"$included\" from $target, a layer above it ($order_text)" >&2
                status=1
            elif [ "${rank[$target]}" -eq "${rank[$folder]}" ]; then
                echo "src/core/$relative:$line_number: $folder includes \"$included\" from $target; the two must not know each other" >&2
                status=1
            fi
        done < "$file"
    done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
fi
exit $status
