#!/usr/bin/env bash
# The Windows program under Wine on a real X display (Xvfb), with Qt's windows
# platform plugin, driven with real X input (xdotool): registration,
# instructions and one whole game, up to its feedback window. Then the Linux
# program on the same display, with the same ID and the same choices (the
# option each trial takes, whichever button carries it there). The two data
# files must be the same bytes, CR LF line ends and all; the session record
# must have a choice row for every trial; and every line must have gone
# through the Win32 durable append: Wine's file trace shows the data file
# opened with CreateFileW(OPEN_ALWAYS, FILE_APPEND_DATA) once per line, and
# strace shows FlushFileBuffers reaching fsync on it once per line.
# Before that, both programs are started three times each, and the time from
# start to the registration window shown is printed.
#
#   windows_session_test.sh WINDOWS_BUILD_FOLDER LINUX_PROGRAM WINE_PREFIX
set -euo pipefail

windows_build=$(cd "$1" && pwd)
linux_program=$2
prefix=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../scripts/wine-run
source "$here/../e2e/x_session.sh"
[ -x "$linux_program" ] || { echo "SKIP: no Linux program at $linux_program (build the dev preset first)"; exit 77; }

wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
# The prefix's Wine server ends with the test, so that the next test's
# windows do not go to this test's display.
stop_wine() { WINEPREFIX=$prefix "$wineserver" -k 2> /dev/null || true; }
trap 'stop_wine; cleanup' EXIT
describe_failure() {
  grep -h '^choicetask' "$work"/wine-*.log 2> /dev/null || true
  for file in "$work"/*-data/42.csv; do
    [ -f "$file" ] && echo "$file has $(wc -l < "$file") lines"
  done
  grep -h ',choice,' "$work"/*-data/42.session.csv 2> /dev/null \
    | grep -v '^1,choice,.*,[0-9]*,[0-9]*,left,[01],-\?[0-9]*\.[0-9],' | head -n 5 | sed 's/^/  odd choice row: /' 
  return 0
}
start_display

# The programs beside their settings files; a data folder for each, with the
# instruction file.
mkdir -p "$work/windows" "$work/linux" "$work/windows-data" "$work/linux-data"
cp "$windows_build"/choicetask.exe "$windows_build"/*.dll "$work/windows/"
cp -r "$windows_build"/platforms "$windows_build"/styles "$windows_build"/imageformats "$work/windows/"
cp "$linux_program" "$work/linux/choicetask"
for program in windows linux; do
  printf '50\r\n$\r\n' > "$work/$program/config.ini"
  printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Instructions\\b0\\par Press OK.\\par}' \
    > "$work/$program-data/instructions_condition_1.rtf"
done
# Run in the background (&), each in a process of its own that becomes the
# program, so that its id ends the program.
start_windows() { cd "$work/windows-data" && exec "$wine_run" --prefix "$prefix" "$work/windows/choicetask.exe"; }
start_linux() { cd "$work/linux-data" && exec "$work/linux/choicetask"; }

# --- Start to the registration window, three times each --------------------
milliseconds() { date +%s%3N; }
startup() {
  local begin
  begin=$(milliseconds)
  "start_$1" > /dev/null 2>&1 &
  app_pid=$!
  wait_for 120 "the $1 program's registration window" has_window "Subject info"
  echo $(($(milliseconds) - begin))
  kill "$app_pid"
  wait "$app_pid" 2> /dev/null || true
  wait_for 20 "the registration window to close" bash -c "! xdotool search --onlyvisible --name '^Subject info\$' >/dev/null"
  app_pid=""
}
windows_times=() linux_times=()
for run in 1 2 3; do
  windows_times+=("$(startup windows)")
  linux_times+=("$(startup linux)")
done
echo "Start to the registration window: Windows program under Wine ${windows_times[*]} ms" \
  "(the first with Wine's services starting), Linux program ${linux_times[*]} ms"

# --- The Windows program: registration, instructions, one game -------------
# strace follows the program's threads, where the flushes run; Wine's server
# and services, already running, are left alone.
WINEPREFIX=$prefix "$wineserver" --persistent=10 2> /dev/null || true # when none runs
(cd "$work/windows-data" \
  && WINEDEBUG=-all,trace+file exec strace -f --seccomp-bpf -y -qq -e trace=fsync,fdatasync -o "$work/strace.log" \
    "$wine_run" --prefix "$prefix" "$work/windows/choicetask.exe" > "$work/wine-stdout.log" 2> "$work/wine-trace.log") &
app_pid=$!
register 42
click "$(window_named Instructions)" 634 608 # OK
wait_for 60 "the game window" has_window "Game"
# Always the left-hand button: its option was drawn at registration.
play_game "$work/windows-data/42.csv" 228
# Ending Wine ends the program, and strace with it.
stop_wine
wait "$app_pid" 2> /dev/null || true
app_pid=""

data=$work/windows-data/42.csv
lines=$(wc -l < "$data")
case $(sed -n 2p "$data" | cut -d, -f2) in
  " 1 ") option=left ;;
  " 0 ") option=right ;;
  *) fail "unexpected first trial line in the Windows program's file" ;;
esac
[ "$lines" -eq "$([ "$option" = left ] && echo 151 || echo 54)" ] || fail "$lines lines after one game of the $option option"
choices=$(grep -c '^1,choice,.*,[0-9]*,[0-9]*,left,[01],-\?[0-9]*\.[0-9],' "$work/windows-data/42.session.csv" || true)
[ "$choices" -eq "$((lines - 1))" ] || fail "$choices choice rows in the Windows program's session record"
grep -q '^1,feedback_shown,' "$work/windows-data/42.session.csv" || fail "no feedback row in the session record"

# Every line through the durable append: opened always (creation 4) with the
# append's access (FILE_APPEND_DATA 0x4; FILE_WRITE_DATA 0x2 to take back a
# partial write, FILE_READ_DATA 0x1 to see whether a crash cut the last line,
# FILE_READ_ATTRIBUTES 0x80, SYNCHRONIZE 0x100000 added by CreateFileW),
# written, and flushed to the disk. Write access alone would allow overwriting:
# every write goes to the end of the file and a rollback cuts back no further
# than the length found at opening, which the byte-for-byte comparison with the
# Linux program's file below checks.
opens=$(grep -c 'trace:file:CreateFileW L"42.csv" .*creation 4 ' "$work/wine-trace.log" || true)
append_access=$(grep -c 'trace:file:NtCreateFile .*access=00100087 name=L"[^"]*\\42.csv"' "$work/wine-trace.log" || true)
syncs=$(grep -c '^[0-9 ]*fsync([0-9]*</.*/windows-data/42.csv>) = 0$' "$work/strace.log" || true)
[ "$opens" -eq "$lines" ] && [ "$append_access" -eq "$lines" ] && [ "$syncs" -eq "$lines" ] \
  || fail "$lines lines, but $opens opens to append ($append_access with append access) and $syncs syncs of the data file"

# --- The Linux program: the same ID, the same options ------------------------
start_linux > "$work/linux.log" 2>&1 &
app_pid=$!
register 42
# The button that carries the option the Windows run took, in this
# registration's draw.
carrier=$(grep '^1,registered,' "$work/linux-data/42.session.csv" | grep -o 'left_option_button=[a-z]*' | cut -d= -f2)
if [ "$option" = left ]; then button=$carrier; else button=$([ "$carrier" = left ] && echo right || echo left); fi
click "$(window_named Instructions)" 634 608 # OK
wait_for 30 "the game window" has_window "Game"
play_game "$work/linux-data/42.csv" "$([ "$button" = left ] && echo 228 || echo 428)"
cmp "$data" "$work/linux-data/42.csv" || fail "the Windows and Linux programs' data files differ"
echo "PASS: the Windows program under Wine played one game of $((lines - 1)) trials ($option option), its data" \
  "file the Linux program's bytes; $lines durable appends, each synced"
