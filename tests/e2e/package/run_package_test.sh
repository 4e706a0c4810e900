#!/usr/bin/env bash
# The Debian package of the Linux bar, as a user gets it: built by scripts/package-linux, its
# fields and files checked, its dependencies resolved against this system's archive (simulated),
# then unpacked into a private root with dpkg and started from its menu entry (gio launch) on a
# private Xvfb with openbox. The bar must make its folder under the user's config home, write
# "Settings.ini" there, and show itself when the pointer touches the top edge.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
work=$(mktemp -d /tmp/edgeway-package.XXXXXX)
# shellcheck source=../win32/harness.sh
source "$top/tests/e2e/win32/harness.sh"
launched=""
Finish() {
    [[ -n $launched ]] && pkill -P "$$" -x edgeway 2>/dev/null
    [[ -n ${bar_pid:-} ]] && kill "$bar_pid" 2>/dev/null
    StopDesktop
    rm -rf "$work"
}
trap Finish EXIT

deb=$("$top/scripts/package-linux" | tail -n 1)
[[ -f $deb ]] || { echo "scripts/package-linux made no package"; exit 1; }
version=$(awk -F'[()" ]+' '/^project\(/ {for (i = 1; i < NF; ++i) if ($i == "VERSION") print $(i + 1)}' "$top/CMakeLists.txt")

Field() { dpkg-deb --field "$deb" "$1"; }
Check "the package is korvanta-edgeway" test "$(Field Package)" = korvanta-edgeway
Check "its version is the project's ($version)" test "$(Field Version)" = "$version"
Check "its file is named after both" test "$(basename "$deb")" = "korvanta-edgeway_${version}_$(dpkg --print-architecture).deb"
for dependency in libgtk-3-0 libpng16-16 libc6 adwaita-icon-theme shared-mime-info librsvg2-common; do
    Check "it depends on $dependency" grep -q "\b$dependency\b" <<<"$(Field Depends)"
done
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for file in ./usr/bin/edgeway ./usr/bin/korvanta-edgeway ./usr/share/applications/korvanta-edgeway.desktop \
    ./usr/share/icons/hicolor/256x256/apps/korvanta-edgeway.png ./usr/share/doc/korvanta-edgeway/copyright; do
    Check "it holds ${file#.}" grep -qx "$file" <<<"$contents"
done
# Every dependency is one this system's archive can satisfy (nothing is installed).
Check "apt can install it with its dependencies" apt-get install --simulate --no-install-recommends "$deb" \
    >"$work/apt-simulate.log" 2>&1

# Unpacked into a root of its own, as dpkg would install it.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
Check "dpkg installs it" dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless \
    --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1
Check "the menu entry is a valid desktop file" desktop-file-validate "$root/usr/share/applications/korvanta-edgeway.desktop"

# Started from the menu entry, as a desktop's menu does, for a user with no config folder yet.
StartDesktop >/dev/null
export HOME=$work/home NO_AT_BRIDGE=1
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
export PATH=$root/usr/bin:$PATH XDG_DATA_DIRS=$root/usr/share:/usr/share
PointerTo 960 600 0
gio launch "$root/usr/share/applications/korvanta-edgeway.desktop" >"$work/launch.log" 2>&1 &
launched=yes
folder=$HOME/.config/korvanta-edgeway
Check "the bar makes its folder under the config home and writes Settings.ini there" \
    WaitUntil 20 test -s "$folder/Settings.ini"
Check "Settings.ini holds the defaults (68 bytes at 1920 wide)" test "$(stat -c %s "$folder/Settings.ini" 2>/dev/null)" = 68
bar_pid=$(pgrep -n -x edgeway)
# The bar window by its title, program and size (its owner window shares the title).
FindGtkBar() {
    bar_window=$(xwininfo -root -tree 2>/dev/null |
        awk '/"Korvanta Edgeway": \("edgeway"/ && / 1528x96[+-]/ {print $1; exit}')
    [[ -n $bar_window ]]
}
BarAtTop() { [[ $(BarPlace) == 1528x96+196+0 ]]; }
Check "the bar window exists" WaitUntil 10 FindGtkBar
PointerTo 400 1 0
Check "touching the top edge shows the bar" WaitUntil 5 BarShown
Check "at its place, 1528x96+196+0" WaitUntil 5 BarAtTop
PointerTo 960 600 0
Check "leaving it hides it again" WaitUntil 5 BarHidden

echo "$passed passed, $failed failed"
((failed == 0))
