#!/usr/bin/env bash
# The Debian package: built with cpack, unpacked into a clean folder (or, with
# --install, installed on this machine with apt-get and removed again), and
# the installed program started from a data folder on a virtual display until
# its registration window shows. The installed report command reads the
# installed settings file. With --install, removing the package must leave the
# data folder's files alone.
#
#   package_test.sh BUILD_FOLDER [--install]
set -euo pipefail

build=$(cd "$1" && pwd)
mode=${2:-unpack}
source "$(dirname "$0")/x_session.sh"

(cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/choicetask_*.deb)
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /usr/lib/choicetask/config.ini \
  || fail "config.ini is not marked as a configuration file"

if [ "$mode" = --install ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "install"; }
  root=""
else
  dpkg-deb -x "$deb" "$work/root"
  root="$work/root"
fi
for file in usr/bin/choicetask usr/bin/choicetask-report usr/bin/choicetask-simulate usr/lib/choicetask/choicetask \
            usr/lib/choicetask/config.ini usr/share/applications/choicetask.desktop \
            usr/share/icons/hicolor/32x32/apps/choicetask.png; do
  [ -e "$root/$file" ] || fail "$file is not installed"
done

# A data folder, as a lab would set one up.
data="$work/data"
mkdir -p "$data"
printf '{\\rtf1\\ansi Instructions.\\par}' > "$data/instructions_condition_1.rtf"

start_display
(cd "$data" && exec "$root/usr/bin/choicetask" > "$work/app.log" 2>&1) &
app_pid=$!
wait_for 30 "the installed program's registration window" has_window "Subject info"
kill "$app_pid"
app_pid=""

(cd "$data" && "$root/usr/bin/choicetask-simulate" 5 best > /dev/null) || fail "installed choicetask-simulate"
"$root/usr/bin/choicetask-report" "$data/5.csv" > "$work/report.txt" || fail "installed choicetask-report"
grep -q '^  Total: 6080 points, \$30\.40$' "$work/report.txt" || { cat "$work/report.txt"; fail "report with the installed settings"; }

if [ "$mode" = --install ]; then
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q choicetask > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "remove"; }
  [ ! -e /usr/lib/choicetask/choicetask ] || fail "the program is still installed after removal"
  [ -f "$data/5.csv" ] && [ -f "$data/instructions_condition_1.rtf" ] || fail "removing the package touched the data folder"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -q choicetask > /dev/null 2>&1 || true
fi
echo "PASS: package built, ${mode#--}ed, registration window shown, report read the installed settings"
