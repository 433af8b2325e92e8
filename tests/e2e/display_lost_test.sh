#!/usr/bin/env bash
# The display goes away in mid-game (the X server ends): the program says so
# itself, naming the data file and how far it got, and ends with status 2.
#
#   display_lost_test.sh PROGRAM
set -euo pipefail

program=$1
source "$(dirname "$0")/x_session.sh"
start_display

mkdir -p "$work/program" "$work/data"
cp "$program" "$work/program/choicetask"
printf '50\r\n$\r\n' > "$work/program/config.ini"
printf '{\\rtf1\\ansi Press OK.\\par}' > "$work/data/instructions_condition_1.rtf"
(cd "$work/data" && exec "$work/program/choicetask" > "$work/app.log" 2>&1) &
app_pid=$!

lines() { wc -l < "$work/data/42.csv"; }
has_lines() { [ "$(lines)" -ge "$1" ]; }

register 42
click "$(window_named Instructions)" 634 608
wait_for 30 "the game window" has_window "Game"
game=$(window_named Game)
click "$game" 329 364 # Go
# Three trials: clicks in the pause after a choice land on a hidden button,
# so click until the next line is there.
for trial in 1 2 3; do
  deadline=$((SECONDS + 10))
  until has_lines $((trial + 1)); do
    [ "$SECONDS" -lt "$deadline" ] || fail "no line for trial $trial"
    click "$game" 228 364
    sleep 0.1
  done
done

kill "$xvfb_pid"
xvfb_pid=""
deadline=$((SECONDS + 20))
while kill -0 "$app_pid" 2> /dev/null; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the program still runs after its display went away"
  sleep 0.05
done
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 2 ] || fail "status $status, expected 2"
grep -q "^choicetask: the display $DISPLAY was lost, so the program has to stop\.$" "$work/app.log" \
  || fail "no message about the lost display"
trials=$(($(lines) - 1))
grep -qF "The data file \"42.csv\" ($work/data/42.csv) holds every trial played, up to game 1, trial $trials." \
  "$work/app.log" || fail "the message does not say how far the data file got"
echo "PASS: display lost after trial $trials: own message, status 2"
