#!/usr/bin/env bash
# The Debian package: built with cpack, checked by lintian, unpacked into a
# clean folder (or, with --install, installed on this machine with apt-get and
# removed again), and the installed program started from a data folder on a
# virtual display until its registration window shows. The installed report
# command reads the installed settings file. With --install, removing the
# package must leave the data folder's files alone.
#
# --install never touches a choicetask this script did not install: when the
# package is on the machine already (or its edited config.ini stayed behind
# after a removal), the package is tested in a throwaway folder instead.
#
#   package_test.sh BUILD_FOLDER [--install]
set -euo pipefail

build=$(cd "$1" && pwd)
mode=${2:-unpack}
source "$(dirname "$0")/x_session.sh"

(cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/choicetask_*.deb)
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/choicetask/config.ini \
  || fail "config.ini is not marked as a configuration file"
if command -v lintian > /dev/null; then
  lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" > "$work/lintian.log" 2>&1 \
    || { cat "$work/lintian.log"; fail "lintian reports errors"; }
  echo "lintian: $(grep -c '^E:' "$work/lintian.log" || true) errors, $(grep -c '^W:' "$work/lintian.log" || true) warnings"
fi

if [ "$mode" = --install ]; then
  status=$(dpkg-query -W -f='${Status}' choicetask 2>/dev/null || true)
  if [ -n "$status" ] && [ "$status" != "unknown ok not-installed" ]; then
    echo "choicetask is already on this machine ($status): testing the package in a throwaway folder instead, leaving that installation and its config.ini alone"
    mode=unpack
  fi
fi
if [ "$mode" = --install ]; then
  # Whatever happens next, the package this script installs leaves again.
  trap 'DEBIAN_FRONTEND=noninteractive apt-get purge -y -q choicetask > /dev/null 2>&1 || true; cleanup' EXIT
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "install"; }
  root=""
else
  dpkg-deb -x "$deb" "$work/root"
  root="$work/root"
  # The settings link points to /etc; in the throwaway folder, to its own /etc.
  [ "$(readlink "$root/usr/lib/choicetask/config.ini")" = /etc/choicetask/config.ini ] \
    || fail "config.ini beside the program does not link to /etc/choicetask/config.ini"
  ln -sfn "$root/etc/choicetask/config.ini" "$root/usr/lib/choicetask/config.ini"
fi
doc=usr/share/doc/choicetask
for file in usr/bin/choicetask usr/bin/choicetask-report usr/bin/choicetask-simulate usr/lib/choicetask/choicetask \
            usr/lib/choicetask/config.ini etc/choicetask/config.ini usr/share/applications/choicetask.desktop \
            usr/share/icons/hicolor/32x32/apps/choicetask.png $doc/copyright $doc/changelog.gz \
            $doc/experimenter-guide.md $doc/instructions_condition_1.rtf; do
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
