# The desktop the Windows suite drives, and the checks it makes: a private Xvfb with openbox, a
# fresh Wine prefix, the bar started under a time limit, pointer moves with xdotool, screenshots
# read pixel by pixel with ImageMagick. Sourced by run_e2e.sh, which sets `work` (a scratch
# folder under build/) before calling StartDesktop.

convert=/usr/bin/convert  # ImageMagick's own, whatever else is first on PATH
passed=0
failed=0
started_pids=()

Pass() { passed=$((passed + 1)); echo "ok - $*"; }
Fail() { failed=$((failed + 1)); echo "FAIL - $*"; }
Check() {  # Check "what" command...
    local what=$1
    shift
    if "$@"; then Pass "$what"; else Fail "$what"; fi
}

# Polls a command every 50 ms until it succeeds or the seconds run out.
WaitUntil() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

StartDesktop() {
    local fifo=$work/display
    rm -f "$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" 2>"$work/xvfb.log" &
    started_pids+=($!)
    WaitUntil 20 test -s "$fifo" || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(head -n 1 "$fifo")
    # Without a window manager Wine blocks for about 2 s on every hide.
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    started_pids+=($!)
    WaitUntil 20 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
    echo "desktop on $DISPLAY"
}

# One fresh prefix per run, made by a plain wineboot: a reduced one lacks the file types that the
# shell's icons and open action need. Wine finds Debian's bitmap fonts only inside the prefix.
StartWine() {
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    timeout 180 wineboot -i >"$work/wineboot.log" 2>&1 || { echo "wineboot failed" >&2; return 1; }
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # Wine hands every window that gets activated to the window manager, and openbox now and then
    # places the bar, an owned popup that it takes for a dialog, over its never-shown owner at
    # (0, 0) when it is mapped again. Windows has nothing of the kind: unmanaged windows keep the
    # exact place the program gives them.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$work/wineboot.log" 2>&1
    wineserver -w
}

StopDesktop() {
    [[ -n ${WINEPREFIX:-} ]] && timeout 20 wineserver -k 2>/dev/null
    local pid
    for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
}

# ---------------------------------------------------------------------------------------------
# The bar.

bar_pid=""
bar_window=""

# Starts edgeway.exe (the built one, or the one given) in a folder and waits for its bar window
# (named after the program, with the bar's size) to exist. The pointer should already be where
# the first pass is to find it.
StartBar() {
    local folder=$1 width=$2 height=$3 program=${4:-$exe}
    (cd "$folder" && exec timeout 120 wine "$program") >"$work/bar.log" 2>&1 &
    bar_pid=$!
    bar_window=""
    WaitUntil 60 FindBarWindow "$width" "$height" || { echo "no bar window appeared" >&2; return 1; }
}

FindBarWindow() {
    bar_window=$(xwininfo -root -tree 2>/dev/null |
        awk -v size="$1x$2" '/"Korvanta Edgeway": \("edgeway.exe"/ && $0 ~ " " size "[+-]" {print $1; exit}')
    [[ -n $bar_window ]]
}

# The bar window's place as WIDTHxHEIGHT+X+Y.
BarPlace() {
    xwininfo -id "$bar_window" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print w "x" h "+" x "+" y}'
}

MapState() { xwininfo -id "$bar_window" 2>/dev/null | awk '/Map State/ {print $NF}'; }
BarShown() { [[ $(MapState) == IsViewable ]]; }
BarHidden() { [[ $(MapState) == IsUnMapped ]]; }
BarGone() { ! kill -0 "$bar_pid" 2>/dev/null; }

# Waits for the bar to end on its own and puts its exit code in `bar_exit`; 255 when it had to be
# stopped. Not for a command substitution: only this shell can wait for the bar.
bar_exit=""
AwaitBarExit() {
    if ! WaitUntil 15 BarGone; then
        kill "$bar_pid" 2>/dev/null
        wait "$bar_pid" 2>/dev/null
        bar_exit=255
        return
    fi
    wait "$bar_pid"
    bar_exit=$?
}

# A close request as Windows' own tools make it: WM_CLOSE to the program's top-level windows.
AskBarToClose() { timeout 30 wine taskkill /im edgeway.exe >>"$work/taskkill.log" 2>&1; }

# ---------------------------------------------------------------------------------------------
# Pointer. The bar polls the pointer, so every move is followed by a pause long enough for a few
# passes of its loop (a hidden pass waits 50 ms).

PointerTo() {
    xdotool mousemove "$1" "$2"
    sleep "${3:-0.3}"
}

Click() {
    xdotool click "$1"
    sleep 0.3
}

# ---------------------------------------------------------------------------------------------
# Screenshots and pixels.

shot=""
Screenshot() {
    shot=$work/$1.png
    import -window root "$shot"
}

# Pixels of a rectangle of the last screenshot, one "x y r,g,b" line each, x and y relative to it.
Pixels() {
    "$convert" "$shot" -crop "$3x$4+$1+$2" +repage -depth 8 txt:- |
        awk -F'[ ,:()]+' 'NR > 1 {print $1, $2, $3 "," $4 "," $5}'
}

# The distinct colours of a rectangle, space-separated, in order.
ColoursIn() { Pixels "$@" | awk '{print $3}' | sort -u | tr '\n' ' ' | sed 's/ $//'; }

# Succeeds when the distinct colours of the rectangle are exactly these (in ColoursIn's order).
ColoursAre() {
    local colours=$1
    shift
    [[ $(ColoursIn "$@") == "$colours" ]]
}

# Succeeds when every pixel of the rectangle is the colour r,g,b.
AllOf() {
    local colour=$1
    shift
    [[ $(ColoursIn "$@") == "$colour" ]]
}

# The box "x0 y0 x1 y1" around the pixels of a rectangle that are not the colour, or "none".
InkBox() {
    local colour=$1
    shift
    Pixels "$@" | awk -v c="$colour" '$3 != c {
            if (!n++) {x0 = x1 = $1; y0 = y1 = $2}
            if ($1 < x0) x0 = $1; if ($1 > x1) x1 = $1; if ($2 < y0) y0 = $2; if ($2 > y1) y1 = $2 }
        END {if (n) print x0, y0, x1, y1; else print "none"}'
}

# The close glyph as the bar must show it over background b: each pixel of the embedded PNG at
# opacity 192, (c * g + b * (255 - g)) / 255 with g = a * 192 / 255, all truncating; with
# `lit` set, the close highlight (white at alpha 64) blended over that.
ExpectedGlyph() {
    "$convert" "$glyph_png" -depth 8 txt:- | awk -F'[ ,:()]+' -v b="$1" -v lit="${2:-}" '
        function over(c, old, g) { return int((c * g + old * (255 - g)) / 255) }
        function shown(c, g) { c = over(c, b, g); return lit ? over(255, c, 64) : c }
        NR > 1 {
            g = int($6 * 192 / 255)
            printf "%d %d %d,%d,%d\n", $1, $2, shown($3, g), shown($4, g), shown($5, g) }'
}

GlyphShownAt() {  # GlyphShownAt x y background [lit]
    diff <(ExpectedGlyph "$3" "${4:-}") <(Pixels "$1" "$2" 24 24) >/dev/null
}

# ---------------------------------------------------------------------------------------------
# Files.

# Succeeds when the file holds exactly the bytes that printf makes of the format and arguments.
FileIs() {
    local file=$1
    shift
    [[ -f $file ]] && cmp -s "$file" <(printf "$@")
}

# The links file of a bar of `count` slots holding the given "slot:path" links, the rest empty.
LinksFileOf() {
    local count=$1 i link path
    shift
    for ((i = 0; i < count; i++)); do
        path=""
        for link in "$@"; do [[ ${link%%:*} == "$i" ]] && path=${link#*:}; done
        printf 'Link %d = %s\r\n' "$i" "$path"
    done
}

LinksFileIs() {
    local file=$1
    shift
    [[ -f $file ]] && cmp -s "$file" <(LinksFileOf "$@")
}

Differ() { ! cmp -s "$1" "$2"; }

# A top-level window whose title holds the text exists on the display.
WindowTitled() { xwininfo -root -tree | grep -q -F "$1"; }

# ---------------------------------------------------------------------------------------------
# Helper programs of the suite (tests/e2e/win32), run under Wine. Their lines end in CR LF.

Helper() {
    local name=$1
    shift
    timeout 60 wine "$helpers/$name.exe" "$@" 2>>"$work/helpers.log" | tr -d '\r'
}

# Windows sees the files of this machine on drive Z:, the root of the Unix file system.
WindowsPath() { printf 'Z:%s' "${1//\//\\}"; }

# Drops each path in turn on the window under the pointer through OLE, the way Explorer drops.
# Succeeds when the window took every drop with the link effect.
DropFiles() {
    local path paths=()
    for path in "$@"; do paths+=("$(WindowsPath "$path")"); done
    Helper edgeway-drop-files "${paths[@]}" >"$work/drop.log"
    [[ $(grep -c -x 'dropped link' "$work/drop.log") == "$#" ]]
}

# The number of GDI objects the running edgeway.exe holds; empty when it cannot be told.
GdiObjects() { Helper edgeway-gdi-objects edgeway.exe | grep -x -E '[0-9]+'; }

# Another program holding a file open (see hold_file.cpp) until ReleaseFile.
holder_pid=""
HoldFile() {
    local file=$1 holder=$2
    rm -f "$work/release"
    : >"$work/hold.log"
    timeout 120 wine "$helpers/edgeway-hold-file.exe" "$(WindowsPath "$file")" "$holder" \
        "$(WindowsPath "$work/release")" >"$work/hold.log" 2>&1 &
    holder_pid=$!
    WaitUntil 20 grep -q holding "$work/hold.log"
}

ReleaseFile() {
    touch "$work/release"
    wait "$holder_pid" 2>/dev/null
    grep -q released "$work/hold.log"
}

# The read-only attribute as Windows sets it. Wine keeps it as the file's Unix write permission,
# which root's own writes pass straight through; when the suite runs as root the file is made
# immutable as well, so that the system refuses to write or replace it as Windows does a
# read-only file.
MarkReadOnly() {
    (cd "$(dirname "$1")" && timeout 30 wine attrib +r "$(basename "$1")") >>"$work/helpers.log" 2>&1
    if ((EUID == 0)); then chattr +i "$1" 2>>"$work/helpers.log" || return 1; fi
    ! (: >>"$1") 2>/dev/null
}

# Whether MarkReadOnly can work in the folder: root needs a file system that keeps the
# immutable flag and the right to set it.
CanMarkReadOnly() {
    ((EUID != 0)) && return 0
    local probe=$1/.immutable-probe
    : >"$probe" && chattr +i "$probe" 2>/dev/null
    local made=$?
    chattr -i "$probe" 2>/dev/null
    rm -f "$probe"
    return $made
}

UnmarkReadOnly() {
    if ((EUID == 0)); then chattr -i "$1" 2>>"$work/helpers.log"; fi
    (cd "$(dirname "$1")" && timeout 30 wine attrib -r "$(basename "$1")") >>"$work/helpers.log" 2>&1
}
