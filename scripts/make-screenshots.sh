#!/usr/bin/env bash
# Makes the pictures of the tutorial and the manual (docs/images/*.png) with the real
# application: it starts KESTRA in a virtual X display, goes through the tutorial's steps with
# xdotool (keys, and clicks where a pane must get the focus), and takes a screenshot at each.
# Run it again whenever the window changes; it fails when a step does not give what the
# tutorial says.
#
#   scripts/make-screenshots.sh [BUILD_DIR]
#
# Needs xvfb, xdotool, xclip and imagemagick (scripts/setup.sh installs them) and a built kestra.
# Settings, libraries and the project go to a scratch folder: the user's own are never touched.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ "${1:-}" != "--inside" ]; then
    build="$(cd "${1:-${KESTRA_BUILD_DIR:-$root/build}}" && pwd)"
    [ -x "$build/src/app/kestra" ] || { echo "no $build/src/app/kestra: build first (scripts/build.sh)"; exit 2; }
    for tool in xvfb-run xdotool xclip import; do
        command -v $tool >/dev/null || { echo "missing $tool: run scripts/setup.sh"; exit 2; }
    done
    scratch="$(mktemp -d /tmp/kestra-shots.XXXXXX)"
    trap 'rm -rf "$scratch"' EXIT
    mkdir -p "$root/docs/images"
    KESTRA="$build/src/app/kestra" SCRATCH="$scratch" \
        xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside
    exit
fi

# Inside the virtual display from here on.
images="$root/docs/images"
work="$SCRATCH/work"
mkdir -p "$work"
export XDG_CONFIG_HOME="$SCRATCH/config" XDG_DATA_HOME="$SCRATCH/data" HOME="$SCRATCH/home"
mkdir -p "$HOME"

shot() { sleep 0.6; import -window root "$images/$1.png"; echo "  $1.png"; }
keys() { xdotool key --delay 80 "$@"; sleep 0.8; }
typed() { xdotool type --delay 40 "$1"; sleep 0.3; }
# Clicks at a place of the 1280 by 800 screen, which gives that pane the keyboard.
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.6; }
fail() { echo "make-screenshots: $*" >&2; kill "$app" 2>/dev/null || true; exit 1; }
# The tutorial's VHDL text of one module: the ```vhdl block whose first line is "-- NAME:",
# with the CR LF line ends of the skeleton KESTRA wrote (an editor keeps them).
source_of() {
    awk -v name="-- $1:" '
        /^```vhdl$/ { inside = 1; first = 1; next }
        /^```$/ { if (taking) exit; inside = 0; next }
        inside && first { first = 0; if (index($0, name) == 1) taking = 1 }
        taking { printf "%s\r\n", $0 }' "$root/docs/tutorial.md"
}
# Places in the window as the tutorial leaves it: tree rows and the parameter list's rows.
tree_row() { echo $((67 + 18 * $1)); }

cd "$work"
"$KESTRA" >"$SCRATCH/app.log" 2>&1 &
app=$!
for _ in $(seq 1 40); do
    sleep 0.25
    xdotool search --name '^KESTRA' >/dev/null 2>&1 && break
done
sleep 1.5
echo "pictures in $images:"

# 1. The empty main window, with the start panel in the middle (the pointer beside it, so that
# no button is lit).
xdotool mousemove 60 300
shot 01-main-window
# 2. File > New Project: the file dialog, with the name typed. The click beside the start panel
# gives the window the keyboard.
click 60 300
keys ctrl+n
typed blink
shot 02-new-project
keys Return
[ -f "$work/blink.kst" ] || fail "New Project wrote no blink.kst"
# 3. The new project: its root item with the project settings.
shot 03-project
# 4. Add Module (F1) below the project, named BLINK.
click 92 "$(tree_row 0)"
keys F1
typed BLINK
shot 04-add-module
keys Return
[ -f "$work/ProjectA/BLINK.vhd" ] || fail "no skeleton ProjectA/BLINK.vhd"
# 5. Add Module below BLINK: COUNTER.
keys F1
typed COUNTER
keys Return
[ -f "$work/ProjectA/COUNTER.vhd" ] || fail "no skeleton ProjectA/COUNTER.vhd"
shot 05-child-module
# 6. The sources as the tutorial gives them, written in KESTRA's VHDL editor: Edit VHDL
#    (Enter) opens the module's source, its text is replaced from the clipboard (Ctrl+A,
#    Ctrl+V) and saved (Ctrl+S), which analyses the module. COUNTER first, then BLINK.
write_in_editor() {
    source_of "$1" >"$SCRATCH/$1.vhd"
    [ -s "$SCRATCH/$1.vhd" ] || fail "no VHDL of $1 in the tutorial"
    xclip -selection clipboard -i "$SCRATCH/$1.vhd"
    keys Return
    keys ctrl+a ctrl+v
    keys ctrl+s
    # What the editor wrote is the tutorial's text (BLINK's analysis adds its component
    # declaration, which the tutorial's step 8 shows).
    grep -q "^-- $1:" "$work/ProjectA/$1.vhd" || fail "the editor did not write $1.vhd"
}
click 133 "$(tree_row 2)"
write_in_editor COUNTER
cmp -s "$SCRATCH/COUNTER.vhd" "$work/ProjectA/COUNTER.vhd" || fail "COUNTER.vhd is not the text pasted"
shot 06-editor
click 101 "$(tree_row 1)"
write_in_editor BLINK
grep -q "component COUNTER" "$work/ProjectA/BLINK.vhd" || fail "BLINK's save did not analyse it"
# 8. Both analysed (F4 on COUNTER and on BLINK, as the tutorial's step 8 says).
click 133 "$(tree_row 2)"
keys F4
click 101 "$(tree_row 1)"
keys F4
shot 06-analyzed
# 7. COUNTER's parameter WIDTH: Enter edits the value.
click 133 "$(tree_row 2)"
click 700 106
keys Return
keys ctrl+a
typed 24
shot 07-parameter
keys Return
grep -q 'WIDTH: integer := 24' "$work/ProjectA/COUNTER.vhd" || fail "the value did not reach COUNTER.vhd"
# 8. Generate (F9) on BLINK: the message log says where the file went.
click 101 "$(tree_row 1)"
keys F9
[ -f "$work/BLINK.vhd" ] || fail "Generate wrote no BLINK.vhd"
shot 08-generated
# 12. BLINK's block diagram, drawn from its architecture, filling the window (F8, Ctrl+F).
click 101 "$(tree_row 1)"
keys F8
keys ctrl+f
shot 12-block-diagram
keys ctrl+f
# 9. Create Library Module (F11) on COUNTER: the library dialog in store mode.
click 133 "$(tree_row 2)"
keys F11
shot 09-store-library
keys Escape
# 11. Tools > Design Flow (Ctrl+D): the panel alone, cut out of the screen around its centre.
click 101 "$(tree_row 1)"
keys ctrl+d
sleep 0.6
import -window root -gravity center -crop 362x332+0+0 +repage "$images/11-design-flow.png"
echo "  11-design-flow.png"
keys Escape
# 10. Help > User Manual: the help window.
keys alt+h m
sleep 1
shot 10-help
keys Escape
# 13. Tools > FPGA Flow Settings... for an iCE40 HX1K board with the tutorial's pin file.
if command -v nextpnr-ice40 >/dev/null 2>&1 && command -v icepack >/dev/null 2>&1; then
    printf 'set_io CLK 21\nset_io RST 78\nset_io LED 99\n' >"$work/blink.pcf"
    click 101 "$(tree_row 1)"
    keys alt+t p
    keys i # the first target of the list: iCE40 HX1K tq144
    keys Tab
    typed 12
    keys Tab
    typed blink.pcf
    shot 13-flow-settings
    keys Return
    # (Without a window manager the closed dialog leaves no window with the keyboard: a click
    # gives it back.)
    click 101 "$(tree_row 1)"
    # 14. Implem in the design flow panel (Entry, VHDL, Syn, Func, then Implem in the tab order):
    #     the bitstream, and the log's summary.
    keys ctrl+d
    keys Tab Tab Tab Tab space
    for _ in $(seq 1 40); do
        [ -f "$work/flow/BLINK/BLINK.bin" ] && break
        sleep 0.25
    done
    sleep 1
    keys Escape
    [ -f "$work/flow/BLINK/BLINK.bin" ] || fail "Implem wrote no flow/BLINK/BLINK.bin"
    shot 14-implemented
fi
# Save the project before the program goes, for the command line's check below.
click 101 "$(tree_row 1)"
keys ctrl+s

kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true

# The tutorial's last step: the generated file passes GHDL's analysis.
if command -v ghdl >/dev/null 2>&1; then
    (cd "$work" && ghdl -a --std=93c --ieee=synopsys -fexplicit BLINK.vhd) || fail "GHDL rejects the generated BLINK.vhd"
    echo "GHDL analyses the generated BLINK.vhd without an error"
fi
# Once the command line can run the check itself, show that too.
if "$KESTRA" --help | grep -q '^  check '; then
    (cd "$work" && "$KESTRA" check blink.kst) || fail "kestra check fails on the tutorial's project"
fi
