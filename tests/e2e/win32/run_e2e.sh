#!/usr/bin/env bash
# End-to-end suite of edgeway.exe under Wine on a private Xvfb, driven as a user drives it:
# pointer moves and clicks, a real drag from another X client, screenshots read pixel by pixel,
# the bar window's map state, the files in the bar's folder and its exit code.
#
#   run_e2e.sh WINDOWS_BUILD_FOLDER DRAG_SOURCE WORK_FOLDER [PORTABLE_ZIP]
#
# The build folder holds edgeway.exe and, in tests/e2e, the suite's helper programs. With the
# zip, the unpacked program is checked as well. Ends with "N passed, N failed" and exits non-zero
# when a check failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
build=$(cd "$1" && pwd) drag_source=$2 work=$3 portable_zip=""
[[ -n ${4:-} ]] && portable_zip=$(cd "$(dirname "$4")" && pwd)/$(basename "$4")
exe=$build/edgeway.exe
helpers=$build/tests/e2e
marker=$helpers/edgeway-launch-marker.exe
glyph_png=$top/assets/close.png
source "$here/harness.sh"
source "$here/long_use.sh"
source "$here/file_faults.sh"
source "$here/portable.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd)
trap StopDesktop EXIT

# Colours of the default background 0xFF202020 and the two derived from it.
background=32,32,32
slot_colour=27,27,27
label_colour=226,226,226

# The Settings.ini a start without one writes on this display, as a printf format.
default_settings='\xef\xbb\xbf\r\nSide = 0\r\nDetection Range = 4\r\nColor = 32, 32, 32\r\nLinks = 22\r\n'

# A 1920 x 1080 display, top edge: 22 slots, bar 1528 x 96 at (196, 0), close glyph at (1500, 4).
bar_x=196
SlotLeft() { echo $((bar_x + 4 + 68 * $1)); }
SlotCentre() { echo $(($(SlotLeft "$1") + 32)); }
away_x=960 away_y=600

# A real drag from the GTK source window: press on it, cross the reveal strip so that the bar
# appears, settle over the slot, let go. The source suggests the link action, as a file manager
# asked for a link does.
DragOntoSlot() {
    local slot=$1 path=$2 x y
    "$drag_source" --at 600,400 --actions link "$path" >"$work/drag.log" 2>&1 &
    local source_pid=$!
    WaitUntil 20 grep -q ready "$work/drag.log"
    PointerTo 632 432 0.2
    xdotool mousedown 1
    for step in "640 428" "660 420" "600 300" "400 100" "300 40" "300 2"; do PointerTo $step 0.1; done
    sleep 0.3
    x=$(SlotCentre "$slot")
    for y in 20 30 36; do PointerTo "$x" "$y" 0.15; done
    sleep 0.3
    xdotool mouseup 1
    WaitUntil 10 grep -q -E 'dropped|cancelled' "$work/drag.log"
    wait "$source_pid" 2>/dev/null
    grep -q 'dropped link' "$work/drag.log"
}

# ---------------------------------------------------------------------------------------------

FirstStartInAnEmptyFolder() {
    local folder=$work/top
    rm -rf "$folder" && mkdir -p "$folder"
    PointerTo $away_x $away_y 0
    StartBar "$folder" 1528 96 || { Fail "the bar window opens"; return; }
    Check "a start in an empty folder writes the default Settings.ini (68 bytes)" \
        WaitUntil 10 FileIs "$folder/Settings.ini" "$default_settings"
    Check "no Links.txt is written at start-up" test ! -e "$folder/Links.txt"
    Check "with the pointer away the bar is hidden after the first pass" WaitUntil 10 BarHidden

    PointerTo 195 0
    Check "the pointer just left of the reveal strip does not show the bar" BarHidden
    PointerTo 300 4
    Check "the pointer just below the reveal strip does not show the bar" BarHidden
    PointerTo 1723 3 0
    Check "the pointer in the reveal strip shows the bar" WaitUntil 3 BarShown
    Check "the bar sits at (196, 0), 1528 x 96" test "$(BarPlace)" == "1528x96+196+0"
    PointerTo 1724 96
    Check "the pointer on the bar's far corner keeps it shown" BarShown

    PointerTo 1000 50
    Screenshot top-revealed
    Check "the bar is painted in its background colour around the slots" \
        AllOf $background $bar_x 0 1528 4
    Check "the row below the slots is background" AllOf $background $bar_x 68 1528 6
    Check "the gap between two slots is background" AllOf $background $((bar_x + 68)) 4 4 64
    local empty=yes i
    for ((i = 0; i < 22; i++)); do AllOf $slot_colour "$(SlotLeft $i)" 4 64 64 || empty=no; done
    Check "all 22 empty slot boxes are plain slot colour" test $empty == yes
    Check "the close glyph is composited at (1500, 4) at opacity 192" GlyphShownAt $((bar_x + 1500)) 4 32
    Check "the version text is drawn in the slot colour on the footer line" \
        ColoursAre "$slot_colour $background" $((bar_x + 1400)) 74 128 22
    local ink
    read -r -a ink <<<"$(InkBox $background $((bar_x + 1400)) 74 128 22)"
    Check "the version text ends 4 pixels before the bar's right edge" \
        test "${ink[2]:-0}" -le 123 -a "${ink[2]:-0}" -ge 115
    Check "nothing but the version text is on the footer line" AllOf $background $bar_x 74 1400 22

    PointerTo 1725 50
    Check "the pointer right of the bar hides it" WaitUntil 3 BarHidden
    PointerTo 300 1
    Check "touching the strip again shows the bar" WaitUntil 3 BarShown
    PointerTo 300 97
    Check "the pointer below the bar hides it" WaitUntil 3 BarHidden

    local path
    path=$(WindowsPath "$marker")
    Check "a real drag from another program drops on the bar with the link action" DragOntoSlot 3 "$marker"
    Check "the drop pins the path in slot 3 of Links.txt" WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "3:$path"
    PointerTo "$(SlotCentre 3)" 36 0.5
    Screenshot top-hovered
    read -r -a ink <<<"$(InkBox $slot_colour "$(SlotLeft 3)" 4 64 64)"
    Check "the hovered slot shows its icon magnified beyond the resting 32 x 32" \
        test "${#ink[@]}" -eq 4 -a "${ink[0]:-16}" -lt 16 -a "${ink[2]:-47}" -gt 47
    Check "the hover label is drawn in the label colour" ColoursAre "$label_colour $background" $bar_x 74 1400 22
    read -r -a ink <<<"$(InkBox $background $bar_x 74 1400 22)"
    local middle=$(((ink[0] + ink[2]) / 2))
    Check "the hover label is centred under the row (ink centre $middle)" \
        test "$middle" -ge 759 -a "$middle" -le 768
    cp "$shot" "$work/magnified-slot-and-label.png"

    PointerTo "$(SlotCentre 15)" 36 0.5
    Screenshot top-resting
    read -r -a ink <<<"$(InkBox $slot_colour "$(SlotLeft 3)" 4 64 64)"
    Check "far from the pointer the icon rests at 32 x 32 in the middle of its slot" \
        test "${#ink[@]}" -eq 4 -a "${ink[0]:-0}" -ge 16 -a "${ink[1]:-0}" -ge 16 -a "${ink[2]:-64}" -le 47 -a "${ink[3]:-64}" -le 47
    Check "over an empty slot no label is shown" AllOf $background $bar_x 74 1400 22
    Pixels "$(SlotLeft 3)" 4 64 64 >"$work/resting-icon.txt"

    PointerTo "$(SlotCentre 3)" 36 0.5
    Click 1
    Check "a left click starts the pinned program in the bar's own folder" \
        WaitUntil 10 FileIs "$folder/launched.txt" 'started with 0 arguments\r\n'

    PointerTo $((bar_x + 1512)) 16 0.5
    Screenshot top-close-hovered
    Check "the close glyph is lightened while the pointer is over it" GlyphShownAt $((bar_x + 1500)) 4 32 lit
    Click 1
    AwaitBarExit
    Check "a click on the close glyph ends the program with exit code 0" test "$bar_exit" == 0
    Check "nothing is written at exit" LinksFileIs "$folder/Links.txt" 22 "3:$path"
}

SecondStartRestoresTheLinks() {
    local folder=$work/top marker_path document=$work/notes.txt item=$work/Archive
    marker_path=$(WindowsPath "$marker")
    printf 'dropped on the bar\r\n' >"$document"
    mkdir -p "$item"
    PointerTo $away_x $away_y 0
    StartBar "$folder" 1528 96 || { Fail "the bar window opens again"; return; }
    Check "the second start hides the bar after its first pass" WaitUntil 10 BarHidden
    PointerTo 300 0 0
    WaitUntil 3 BarShown
    PointerTo "$(SlotCentre 15)" 36 0.5
    Screenshot restored
    Check "the pinned slot shows the same icon after a restart" \
        diff -q "$work/resting-icon.txt" <(Pixels "$(SlotLeft 3)" 4 64 64)

    DragOntoSlot 5 "$document"
    DragOntoSlot 7 "$item"
    Check "a document and a folder dropped on slots 5 and 7 join the links file" \
        WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "3:$marker_path" "5:$(WindowsPath "$document")" "7:$(WindowsPath "$item")"
    PointerTo "$(SlotCentre 15)" 36 0.5
    Check "the bar keeps its exact place through hides, shows and drags" test "$(BarPlace)" == "1528x96+196+0"
    Screenshot bar-with-icons
    Pixels "$(SlotLeft 5)" 4 64 64 >"$work/document-slot.txt"
    Pixels "$(SlotLeft 7)" 4 64 64 >"$work/folder-slot.txt"
    Check "the document's slot shows an icon" test "$(InkBox $slot_colour "$(SlotLeft 5)" 4 64 64)" != none
    Check "the folder's slot shows an icon" test "$(InkBox $slot_colour "$(SlotLeft 7)" 4 64 64)" != none
    Check "the folder's icon is not the document's" Differ "$work/document-slot.txt" "$work/folder-slot.txt"

    PointerTo "$(SlotCentre 5)" 36 0.5
    Click 1
    Check "a left click on a document opens it with the default application" WaitUntil 20 WindowTitled notes.txt
    timeout 30 wine taskkill /f /im notepad.exe >>"$work/taskkill.log" 2>&1

    PointerTo "$(SlotCentre 3)" 36 0.5
    xdotool click --repeat 2 --delay 60 3
    Check "a right double-click empties the slot and rewrites Links.txt" \
        WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "5:$(WindowsPath "$document")" "7:$(WindowsPath "$item")"
    PointerTo "$(SlotCentre 15)" 36 0.5
    Screenshot emptied
    Check "the emptied slot shows its plain box" AllOf $slot_colour "$(SlotLeft 3)" 4 64 64
    Check "the right clicks launched nothing" FileIs "$folder/launched.txt" 'started with 0 arguments\r\n'

    PointerTo $away_x $away_y
    WaitUntil 3 BarHidden
    AskBarToClose
    AwaitBarExit
    Check "a close request from the window system ends the hidden bar with exit code 0" test "$bar_exit" == 0
}

# Side, bar place, a point in the reveal strip, a point off the bar, the glyph's place on screen,
# slot 0's top-left on screen.
side_cases=(
    "1 1528x96+196+984 300,1079 300,983 1696,988 200,988"
    "2 72x872+1848+104 1919,500 1847,500 1892,108 1852,136"
    "3 72x872+0+104 0,975 73,500 44,108 4,136"
)

EachSideFromSettings() {
    local side place strip off glyph slot
    for case in "${side_cases[@]}"; do
        read -r side place strip off glyph slot <<<"$case"
        local folder=$work/side-$side size=${place%%+*}
        rm -rf "$folder" && mkdir -p "$folder"
        printf 'Side = %s\r\n' "$side" >"$folder/Settings.ini"
        PointerTo $away_x $away_y 0
        StartBar "$folder" "${size%x*}" "${size#*x}" || { Fail "side $side: the bar window opens"; continue; }
        Check "side $side: the bar is hidden after the first pass" WaitUntil 10 BarHidden
        Check "side $side: the bar window is at $place" test "$(BarPlace)" == "$place"
        PointerTo "${strip%,*}" "${strip#*,}" 0
        Check "side $side: the reveal strip at $strip shows the bar" WaitUntil 3 BarShown
        Screenshot "side-$side"
        Check "side $side: the close glyph is in its corner" GlyphShownAt "${glyph%,*}" "${glyph#*,}" 32
        Check "side $side: slot 0 is in its place" AllOf $slot_colour "${slot%,*}" "${slot#*,}" 64 64
        PointerTo "${off%,*}" "${off#*,}" 0
        Check "side $side: leaving the bar hides it" WaitUntil 3 BarHidden
        PointerTo "${strip%,*}" "${strip#*,}" 0
        WaitUntil 3 BarShown
        AskBarToClose
        AwaitBarExit
        Check "side $side: a close request ends the shown bar with exit code 0" test "$bar_exit" == 0
        Check "side $side: an existing Settings.ini is left as it was" FileIs "$folder/Settings.ini" 'Side = %s\r\n' "$side"
    done
}

StartDesktop || exit 1
StartWine || exit 1
FirstStartInAnEmptyFolder
SecondStartRestoresTheLinks
EachSideFromSettings
LongUseReleasesEveryIcon
FaultsInTheFileLayer
[[ -n $portable_zip ]] && ThePortableZip "$portable_zip"

echo "$passed passed, $failed failed"
((failed == 0))
