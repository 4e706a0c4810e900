# The portable zip as a user gets it: named after the project version, one folder holding the
# program, a README for Windows users that carries the same version, and the licence; the
# unpacked program, started from some other folder, keeps its files in that folder and writes
# nothing beside itself. Sourced by run_e2e.sh.

EndsLinesInCrLf() { ! grep -q -v $'\r$' "$@"; }

FilesIn() { (cd "$1" && find . -type f | sort | tr '\n' ' '); }

ThePortableZip() {
    local zip=$1 version name
    version=$(awk -F= '/^CMAKE_PROJECT_VERSION:/ {print $2}' "$build/CMakeCache.txt")
    name=korvanta-edgeway-$version-windows-x64
    Check "the zip is named after the project version: $name.zip" test "$(basename "$zip")" == "$name.zip"
    local unpacked=$work/unpacked
    rm -rf "$unpacked" && mkdir -p "$unpacked"
    (cd "$unpacked" && cmake -E tar xf "$zip")
    local folder=$unpacked/$name
    Check "the zip holds one folder with edgeway.exe, README.txt and LICENSE.txt and nothing else" \
        test "$(FilesIn "$unpacked")" == "./$name/LICENSE.txt ./$name/README.txt ./$name/edgeway.exe "
    Check "the README is for version $version" grep -q -x -F "Korvanta Edgeway $version for Windows"$'\r' "$folder/README.txt"
    Check "the packed edgeway.exe carries version $version" \
        grep -q -x -F "$version" <(strings -a -el "$folder/edgeway.exe")
    Check "the licence is the repository's" diff -q <(tr -d '\r' <"$folder/LICENSE.txt") "$top/LICENSE"
    Check "README.txt and LICENSE.txt end their lines as Windows does" \
        EndsLinesInCrLf "$folder/README.txt" "$folder/LICENSE.txt"

    local home=$work/portable-home
    rm -rf "$home" && mkdir -p "$home"
    printf 'kept on the bar\r\n' >"$home/notes.txt"
    PointerTo $away_x $away_y 0
    StartBar "$home" 1528 96 "$folder/edgeway.exe" || { Fail "the unpacked edgeway.exe opens its bar"; return; }
    Check "the unpacked program started from another folder creates Settings.ini in that folder" \
        WaitUntil 10 FileIs "$home/Settings.ini" "$default_settings"
    WaitUntil 10 BarHidden
    ShowBarOverSlot 1 && DropFiles "$home/notes.txt"
    Check "the unpacked program keeps its Links.txt in that folder too" \
        WaitUntil 5 LinksFileIs "$home/Links.txt" 22 "1:$(WindowsPath "$home/notes.txt")"
    AskBarToClose
    AwaitBarExit
    Check "the unpacked program ends with exit code 0" test "$bar_exit" == 0
    Check "nothing is written beside the unpacked program" \
        test "$(FilesIn "$folder")" == "./LICENSE.txt ./README.txt ./edgeway.exe "
}
