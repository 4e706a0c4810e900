# Files the Windows program cannot have: a "Settings.ini" that another program holds exclusively
# or that is a folder, read at start-up; a "Links.txt" that is read-only, held by another
# program or a folder when a drop changes a slot. The file on disk stays exactly as it was, the
# bar keeps running with the change in memory, and the first change after the obstacle is gone
# saves both. Sourced by run_e2e.sh.

# Kind of obstacle, what the user would call it.
links_obstacles=(
    "read-only|a Links.txt marked read-only"
    "writer|a Links.txt held open by an editor that lets others only read it"
    "reader|a Links.txt held open by a viewer that lets others write it but not replace it"
    "folder|a folder named Links.txt"
)

PutUpObstacle() {
    local kind=$1 file=$2
    case $kind in
        read-only) MarkReadOnly "$file" ;;
        writer | reader) HoldFile "$file" "$kind" ;;
        folder) rm -f "$file" && mkdir "$file" && printf 'not the bar'"'"'s\r\n' >"$file/inside.txt" ;;
    esac
}

TakeDownObstacle() {
    local kind=$1 file=$2
    case $kind in
        read-only) UnmarkReadOnly "$file" ;;
        writer | reader) ReleaseFile ;;
        folder) rm -rf "$file" ;;
    esac
}

# Whatever is under the path, file or folder, copied aside and compared later, bytes and all.
KeepCopy() { rm -rf "$2" && cp -R "$1" "$2"; }
SameAsCopy() { diff -r "$1" "$2" >/dev/null 2>&1; }

SettingsHeldExclusively() {
    local folder=$1
    # Read, this file would put a bar of 9 slots on the bottom edge.
    printf '\xef\xbb\xbf\r\nSide = 1\r\nLinks = 9\r\n' >"$folder/Settings.ini"
    KeepCopy "$folder/Settings.ini" "$work/settings-before"
    HoldFile "$folder/Settings.ini" exclusive || { Fail "another program holds Settings.ini"; return 1; }
    PointerTo $away_x $away_y 0
    StartBar "$folder" 1528 96
    local opened=$?
    ReleaseFile
    Check "a Settings.ini held exclusively by another program: the bar opens with the defaults, 22 slots on top" \
        test $opened == 0
    ((opened == 0)) || return 1
    Check "a Settings.ini held exclusively by another program is left byte for byte" \
        SameAsCopy "$folder/Settings.ini" "$work/settings-before"
    WaitUntil 10 BarHidden
}

# One obstacle put up before a drop on slot 2 and taken down before a drop on slot 4.
LinksObstacle() {
    local folder=$1 kind=$2 what=$3 first=$4 second=$5
    shift 5
    local links=("$@")
    if [[ $kind == read-only ]] && ! CanMarkReadOnly "$work"; then
        echo "skip - $what: running as root where files cannot be made immutable, nothing would refuse the bar's writes"
        return
    fi
    PutUpObstacle "$kind" "$folder/Links.txt" || { Fail "$what: the obstacle is in place"; return; }
    KeepCopy "$folder/Links.txt" "$work/links-before"
    PointerTo "$(SlotCentre 2)" 36 0.2
    Check "$what: a drop on slot 2 is taken" DropFiles "$first"
    sleep 0.5
    Check "$what: stays on disk exactly as it was" SameAsCopy "$folder/Links.txt" "$work/links-before"
    Check "$what: no half-written file is left beside it" test ! -e "$folder/Links.txt.tmp"
    Check "$what: the bar keeps running" kill -0 "$bar_pid"
    TakeDownObstacle "$kind" "$folder/Links.txt"
    PointerTo "$(SlotCentre 4)" 36 0.2
    DropFiles "$second"
    Check "$what: once it is gone, the next drop saves the kept change with its own" \
        WaitUntil 5 LinksFileIs "$folder/Links.txt" 22 "${links[@]}" "2:$(WindowsPath "$first")" "4:$(WindowsPath "$second")"
}

SettingsFolder() {
    local folder=$work/settings-folder
    rm -rf "$folder" && mkdir -p "$folder/Settings.ini"
    printf 'not the bar'"'"'s\r\n' >"$folder/Settings.ini/inside.txt"
    KeepCopy "$folder/Settings.ini" "$work/settings-before"
    PointerTo $away_x $away_y 0
    StartBar "$folder" 1528 96
    Check "a folder named Settings.ini: the bar opens with the defaults, 22 slots on top" test $? == 0
    Check "a folder named Settings.ini is left as it was" SameAsCopy "$folder/Settings.ini" "$work/settings-before"
    WaitUntil 10 BarHidden
    AskBarToClose
    AwaitBarExit
    Check "a folder named Settings.ini: the bar ends with exit code 0" test "$bar_exit" == 0
}

FaultsInTheFileLayer() {
    local folder=$work/faults
    rm -rf "$folder" && mkdir -p "$folder/Archive"
    printf 'kept on the bar\r\n' >"$folder/notes.txt"
    local document=$folder/notes.txt item=$folder/Archive
    local pinned
    pinned="0:$(WindowsPath "$document")"
    LinksFileOf 22 "$pinned" >"$folder/Links.txt"
    SettingsHeldExclusively "$folder" || return
    ShowBarOverSlot 2 || { Fail "the bar shows over slot 2"; return; }

    local case kind what i=0
    for case in "${links_obstacles[@]}"; do
        kind=${case%%|*} what=${case#*|}
        # Each obstacle changes both slots: the two items take turns.
        if ((i++ % 2)); then
            LinksObstacle "$folder" "$kind" "$what" "$document" "$item" "$pinned"
        else
            LinksObstacle "$folder" "$kind" "$what" "$item" "$document" "$pinned"
        fi
    done
    AskBarToClose
    AwaitBarExit
    Check "after every obstacle the bar ends with exit code 0" test "$bar_exit" == 0

    SettingsFolder
}
