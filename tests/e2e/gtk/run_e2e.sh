#!/usr/bin/env bash
# Runs the GTK bar's end-to-end suite on a private Xvfb display of 1920 x 1080, once without a
# window manager and once under openbox. Arguments go to the suite's driver (a GoogleTest
# program), for example --gtest_filter=GtkBarTest.*
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
driver=$top/build/linux/tests/e2e/edgeway-gtk-e2e

if [[ ! -x $driver ]]; then
  (cd "$top" && cmake --preset linux >/dev/null && cmake --build --preset linux) || exit 1
fi

xvfb_pid=""
openbox_pid=""
stop_desktop() {
  [[ -n $openbox_pid ]] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  openbox_pid=""
  xvfb_pid=""
}
trap stop_desktop EXIT

# Xvfb picks a free display itself and writes its number to the descriptor it is given.
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  exec {fd}>"$number_file"
  Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  exec {fd}>&-
  for _ in $(seq 100); do
    [[ -s $number_file ]] && break
    sleep 0.1
  done
  local number
  number=$(tr -d '[:space:]' <"$number_file")
  rm -f "$number_file"
  [[ -n $number ]] || { echo "run_e2e: Xvfb did not start"; return 1; }
  export DISPLAY=:$number
}

start_openbox() {
  openbox --sm-disable >/dev/null 2>&1 &
  openbox_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  echo "run_e2e: openbox did not start"
  return 1
}

export NO_AT_BRIDGE=1
status=0
for desktop in "no window manager" "openbox"; do
  echo "--- GTK bar end to end, $desktop"
  start_xvfb || exit 1
  if [[ $desktop == openbox ]]; then start_openbox || { stop_desktop; exit 1; }; fi
  "$driver" "$@" || status=1
  stop_desktop
done
exit $status
