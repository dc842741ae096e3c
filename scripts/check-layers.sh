#!/usr/bin/env bash
# Fails when a layer includes what the architecture forbids it: the core has no Qt at all,
# the command line and platform layers have no QtGui or QtWidgets.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
if grep -rnE '#\s*include\s*[<"]Q' "$root/src/core"; then
    echo "src/core must not include Qt headers" >&2
    status=1
fi
for layer in cli platform; do
    [ -d "$root/src/$layer" ] || continue
    if grep -rnE '#\s*include\s*[<"](QtGui|QtWidgets|QtPrintSupport|QWidget|QApplication|QGuiApplication|QPainter|QClipboard|QDialog|QMessageBox)' "$root/src/$layer"; then
        echo "src/$layer must not include QtGui or QtWidgets headers" >&2
        status=1
    fi
done
exit $status
