#!/usr/bin/env bash
# Runs the headless runner on a scenario in a fresh folder and checks what it left there.
set -euo pipefail
runner=$1
scenario=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$runner" "$scenario" --log run.log
fail() { echo "FAIL: $*"; cat run.log; exit 1; }

grep -qx 'exit 0' run.log || fail "no exit 0 in the log"
grep -q ' shown$' run.log || fail "the bar was never shown"
[[ -f Settings.ini ]] || fail "Settings.ini was not created"
grep -q $'^Link 0 = /home/me/Documents/notes.txt\r$' Links.txt || fail "slot 0 not pinned"
grep -q $'^Link 1 = /home/me/bin/backup.sh\r$' Links.txt || fail "slot 1 not pinned"
[[ $(head -c 8 pinned.png | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "pinned.png is no PNG"

# A scenario with a mistake is refused with the line it is on, and nothing runs.
printf 'at 1 1\nwiggle\n' > bad.scenario
if "$runner" bad.scenario > out.txt 2>&1; then fail "a bad scenario was accepted"; fi
grep -q 'line 2' out.txt || fail "the bad line was not named"
echo "headless runner: ok"
