#!/usr/bin/env bash
# The built program on a real X display (Xvfb), driven with real X input
# (xdotool): registration, instructions, one whole game and its feedback
# window, then the next game window. The data file is checked byte for byte
# against the simulator's file for the same choices. Every wait is on a
# condition (a window appearing, a line added to the data file), with a
# deadline; nothing depends on how long a step takes.
#
#   real_display_test.sh PROGRAM SIMULATOR
set -euo pipefail

program=$1
simulator=$2
source "$(dirname "$0")/x_session.sh"
describe_failure() {
  [ -f "${top:-}/data/42.csv" ] && echo "the data file has $(wc -l < "$top/data/42.csv") lines"
  return 0
}
start_display

# --- The program beside its settings file; the data folder with the
#     instruction file --------------------------------------------------------
# Both in a folder named in Latin-1 ("Müller" as an old USB stick or network
# share has it), which is not UTF-8 here: the program must reach its files by
# the system's own names. A decoy config.ini (rate 99) lies where the name,
# decoded to text and encoded again, would lead ("M\xEF\xBF\xBDller"), beside
# a stand-in for the program.
top="$work/M$(printf '\374')ller"
decoy="$work/M$(printf '\357\277\275')ller"
mkdir -p "$top/program" "$top/data" "$work/expected" "$decoy/program"
printf '99\r\n#\r\n' > "$decoy/program/config.ini"
: > "$decoy/program/choicetask"
cp "$program" "$top/program/choicetask"
printf '50\r\n$\r\n' > "$top/program/config.ini"
printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Instructions\\b0\\par Press OK.\\par}' \
  > "$top/data/instructions_condition_1.rtf"
(cd "$top/data" && exec "$top/program/choicetask" > "$work/app.log" 2>&1) &
app_pid=$!

register 42
[ "$(cat "$top/data/42.csv")" = "$(printf 'Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r')" ] \
  || fail "header line not as expected"
has_window "Subject info" && fail "the registration window is still open"
click "$(window_named Instructions)" 634 608 # OK

wait_for 30 "the game window" has_window "Game"
# The participant keeps to the left-hand button; which option that is was
# drawn at registration, so the first line tells which strategy was played.
play_game "$top/data/42.csv" 228

case $(sed -n 2p "$top/data/42.csv" | cut -d, -f2) in
  " 1 ") strategy=left ;;
  " 0 ") strategy=right ;;
  *) fail "unexpected first trial line" ;;
esac
(cd "$work/expected" && "$simulator" 42 "$strategy" > /dev/null)
expected_lines=$([ "$strategy" = left ] && echo 151 || echo 54)
head -n "$expected_lines" "$work/expected/42.csv" > "$work/expected/game1.csv"
cmp "$top/data/42.csv" "$work/expected/game1.csv" || fail "data file differs from the $strategy strategy's file"
# The session record has a choice row for every data line, each with its
# response time and the button pressed (always the left-hand one here). A click
# repeated in the pause can reach the buttons before they are painted: an
# anticipation, with a negative response time.
choices=$(grep -c '^1,choice,.*,[0-9]*,[0-9]*,left,[01],-\?[0-9]*\.[0-9],' "$top/data/42.session.csv" || true)
[ "$choices" -eq "$((expected_lines - 1))" ] || fail "$choices choice rows in the session record"
# Every row at its event's moment: a choice at its press, so the buttons were
# shown (the press less the response time) only after the previous press and
# its pause; pressed with the mouse; the UTC time at the same moment as the
# monotonic one.
timing=$(python3 - "$top/data/42.session.csv" <<'CHECK'
import csv, datetime, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="")))
choices = [r for r in rows if r["event"] == "choice"]
for before, row in zip(choices, choices[1:]):
    shown = float(row["monotonic_ms"]) - float(row["response_ms"])
    if shown < float(before["monotonic_ms"]) + float(before["pause_actual_ms"]):
        print("trial %s: shown at %.1f ms, before trial %s's press and pause ended" % (row["trial"], shown, before["trial"]))
if any(r["detail"] != "input=mouse" for r in choices):
    print("a choice without input=mouse")
def utc(r):
    return datetime.datetime.strptime(r["time_utc"], "%Y-%m-%dT%H:%M:%S.%fZ").timestamp() * 1000
offsets = [utc(r) - float(r["monotonic_ms"]) for r in rows]
if max(offsets) - min(offsets) > 50:
    print("UTC and monotonic times apart by %.1f to %.1f ms" % (min(offsets), max(offsets)))
CHECK
)
[ -z "$timing" ] || fail "$timing"

# The rate the feedback window read: the program's own config.ini.
grep -q '^1,feedback_shown,.*,rate=50;currency=\$;' "$top/data/42.session.csv" \
  || fail "the feedback window did not read the program's own config.ini: $(grep feedback_shown "$top/data/42.session.csv")"

# Continue opens the next game window.
click "$(window_named "$feedback_title")" 386 600
wait_for 30 "the second game window" has_window "Game"
has_window "$feedback_title" && fail "the feedback window is still open"
kill -0 "$app_pid" || fail "the program has ended"
echo "PASS: registration, one game of $((expected_lines - 1)) trials ($strategy option), feedback, next game"
