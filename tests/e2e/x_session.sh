# What the end-to-end scripts share: a scratch folder, a virtual X display of
# their own, failure reports and waiting on conditions. Source it after
# `set -euo pipefail`; it sets $work and $DISPLAY, and cleans up on exit.
# Scripts put the program's process id in $app_pid.

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if declare -F describe_failure > /dev/null; then describe_failure >&2; fi
  [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
  [ -s "$work/xvfb.log" ] && tail -n 5 "$work/xvfb.log" | sed 's/^/  Xvfb: /' >&2
  exit 1
}

# Polls a condition (a command) every 20 ms until it holds or the seconds
# pass: wait_for SECONDS WHAT COMMAND...
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.02
  done
}

# A display of our own, on the first free display number. -noreset: by
# default Xvfb resets itself whenever its last client leaves, and a client
# that connects during the reset is refused. Every xdotool call here is such
# a client, so without it the program could start into a reset and fail.
start_display() {
  exec 3> "$work/display"
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  wait_for 20 "Xvfb to start" test -s "$work/display"
  export DISPLAY=":$(cat "$work/display")"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
  wait_for 20 "the display $DISPLAY to take connections" display_answers
}

display_answers() {
  kill -0 "$xvfb_pid" 2> /dev/null || fail "Xvfb ended"
  xdotool getdisplaygeometry > /dev/null 2>&1
}

# Window titles are matched as regular expressions.
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_named "$1")" ]; }

# Clicks at a point of a window's client area, in pixels.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Registers the participant ID given: types it into the ID box of the
# registration window (Left 4200, Top 1080 twips = 280, 72 px), clicks Run and
# waits for the instructions window.
register() {
  wait_for 30 "the registration window" has_window "Subject info"
  local registration
  registration=$(window_named "Subject info")
  click "$registration" 300 84
  xdotool windowfocus --sync "$registration"
  xdotool type --delay 20 "$1"
  click "$registration" 200 132
  wait_for 30 "the instructions window" has_window "Instructions"
}

# Plays one whole game in the open game window: clicks Go, then the button at
# X (228 cmdLeft, 428 cmdRight) for every trial until the feedback window
# shows and the game window has closed. Every click waits for its line in
# DATA_FILE: clicks in the pause after a choice land on a hidden button, so
# the click is repeated until the line is written.
#   play_game DATA_FILE X
feedback_title='How Did You Do\?'
play_game() {
  local data_file=$1 x=$2 game trials=0 before deadline
  game=$(window_named Game)
  click "$game" 329 364 # Go
  until has_window "$feedback_title"; do
    before=$(wc -l < "$data_file")
    click_if_open "$game" "$x" 364
    deadline=$((SECONDS + 10))
    until [ "$(wc -l < "$data_file")" -gt "$before" ] || has_window "$feedback_title"; do
      [ "$SECONDS" -lt "$deadline" ] || fail "no trial recorded after clicking (trial $((trials + 1)))"
      sleep 0.05
      [ "$(wc -l < "$data_file")" -gt "$before" ] || has_window "$feedback_title" || click_if_open "$game" "$x" 364
    done
    [ "$(wc -l < "$data_file")" -gt "$before" ] || break # the feedback window, after the last line
    trials=$((trials + 1))
    [ "$trials" -le 150 ] || fail "the game did not end after 150 trials"
    # After the last trial the game window hands over to the feedback window.
    if [ "$(wc -l < "$data_file")" -ge 54 ] && ! has_window Game; then
      wait_for 10 "the feedback window" has_window "$feedback_title"
    fi
  done
  wait_for 10 "the game window to close" bash -c "! xdotool search --onlyvisible --name '^Game\$' >/dev/null"
}

# The same as click, for a window that may just have closed (the game window
# closes itself right after its last trial).
click_if_open() { xdotool mousemove --window "$1" "$2" "$3" click 1 > /dev/null 2>&1 || true; }
