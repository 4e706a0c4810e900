# Long use of the Windows program: one slot filled, refilled and emptied over and over by real OLE
# drops and right double-clicks, with the GDI objects of the running edgeway.exe counted in
# between. Every drop on a filled slot replaces its icon and every clear drops it, so an icon or
# a bitmap that is not given back shows as a count that climbs. Sourced by run_e2e.sh.

# Reveals the bar from the top strip and rests the pointer on a slot.
ShowBarOverSlot() {
    PointerTo 300 0 0
    WaitUntil 3 BarShown || return 1
    PointerTo "$(SlotCentre "$1")" 36 0.3
}

EmptySlotUnderPointer() { xdotool click --repeat 2 --delay 60 3; }

# The count once it has stopped moving: the bar may be between two steps of a frame.
SteadyGdiObjects() {
    local before after
    before=$(GdiObjects)
    for _ in 1 2 3 4 5; do
        sleep 0.1
        after=$(GdiObjects)
        [[ -n $after && $after == "$before" ]] && break
        before=$after
    done
    echo "$after"
}

# Succeeds when there are `count` readings and every one of them is `expected`.
EveryReadingIs() {
    local expected=$1 count=$2 reading
    shift 2
    [[ -n $expected && $# == "$count" ]] || return 1
    for reading in "$@"; do [[ $reading == "$expected" ]] || return 1; done
}

LongUseReleasesEveryIcon() {
    local folder=$work/long-use slot=2 rounds=10
    rm -rf "$folder" && mkdir -p "$folder/Archive"
    printf 'kept on the bar\r\n' >"$folder/notes.txt"
    local document=$folder/notes.txt item=$folder/Archive
    local last
    last=$(WindowsPath "$document")
    PointerTo $away_x $away_y 0
    StartBar "$folder" 1528 96 || { Fail "long use: the bar window opens"; return; }
    WaitUntil 10 BarHidden
    ShowBarOverSlot $slot || { Fail "long use: the bar shows"; return; }

    # The shell builds its image lists on the first lookup of each kind of item.
    DropFiles "$marker" "$item" "$document"
    WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "$slot:$last"
    EmptySlotUnderPointer
    WaitUntil 5 LinksFileIs "$folder/Links.txt" 22
    local empty holding
    empty=$(SteadyGdiObjects)
    DropFiles "$document"
    WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "$slot:$last"
    holding=$(SteadyGdiObjects)
    Check "long use: the count sees the pinned icon ($empty GDI objects empty, ${holding:-none} with the icon)" \
        test -n "$empty" -a -n "$holding" -a "${holding:-0}" -gt "${empty:-0}"

    local round drops=0 clears=0 seen_holding="" seen_empty="" saved=yes
    for ((round = 0; round < rounds; round++)); do
        DropFiles "$marker" "$item" "$document" && drops=$((drops + 3))
        WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "$slot:$last" || saved=no
        seen_holding+=" $(SteadyGdiObjects)"
        EmptySlotUnderPointer
        WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 && clears=$((clears + 1)) || saved=no
        seen_empty+=" $(SteadyGdiObjects)"
    done
    Check "long use: $drops drops replacing the slot's link and $clears clears all reach Links.txt" \
        test $saved == yes -a $drops == $((3 * rounds)) -a $clears == $rounds
    Check "long use: with the icon pinned the count stays at $holding (seen:$seen_holding)" \
        EveryReadingIs "$holding" $rounds $seen_holding
    Check "long use: with the slot emptied the count is back at $empty every time (seen:$seen_empty)" \
        EveryReadingIs "$empty" $rounds $seen_empty

    AskBarToClose
    AwaitBarExit
    Check "long use: the bar still ends with exit code 0" test "$bar_exit" == 0
}
