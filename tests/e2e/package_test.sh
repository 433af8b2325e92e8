#!/usr/bin/env bash
# The Debian package: built with cpack, checked by lintian (no errors, no
# warnings), unpacked into a clean folder (or, with --install, installed on
# this machine with apt-get and removed again), and the installed program
# started from a data folder on a virtual display until its registration
# window shows, then as the desktop menu entry starts it, in its study folder.
# The manual pages name every option the commands' --help names. The
# installed report command reads the installed settings file. With --install,
# an unattended upgrade to a version whose packaged config.ini changed keeps
# the lab's edited file, and removing the package must leave the data
# folder's files alone.
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
  lintian --fail-on error,warning --display-level ">=pedantic" --display-experimental --suppress-tags-from-file /dev/null "$deb" \
    > "$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian reports errors or warnings"; }
  count() { grep -c "^$1:" "$work/lintian.log" || true; }
  echo "lintian: $(count E) errors, $(count W) warnings, $(count I) notes, $(count P) pedantic, $(count X) experimental"
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
icons=usr/share/icons/hicolor
for file in usr/bin/choicetask usr/bin/choicetask-report usr/bin/choicetask-simulate usr/lib/choicetask/choicetask \
            usr/lib/choicetask/config.ini etc/choicetask/config.ini usr/share/applications/choicetask.desktop \
            $icons/{32x32,48x48,64x64,128x128,256x256}/apps/choicetask.png $icons/scalable/apps/choicetask.svg \
            usr/share/man/man1/{choicetask,choicetask-report,choicetask-simulate}.1.gz \
            $doc/copyright $doc/changelog.gz $doc/experimenter-guide.md $doc/instructions_condition_1.rtf \
            $doc/translations/choicetask_de.ts; do
  [ -e "$root/$file" ] || fail "$file is not installed"
done

# Each manual page names exactly the options its command's --help names
# (besides --help and --version, which some usage texts leave out).
options() { grep -o -- '--[a-z][a-z-]*' | grep -vx -- '--help\|--version' | sort -u; }
for command in choicetask choicetask-report choicetask-simulate; do
  from_help=$("$root/usr/bin/$command" --help | options)
  from_page=$(zcat "$root/usr/share/man/man1/$command.1.gz" | sed 's/\\-/-/g' | options)
  [ "$from_help" = "$from_page" ] \
    || fail "the manual page of $command names the options $(echo $from_page), --help $(echo $from_help)"
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

# The desktop menu entry's command, for a user without a study folder yet:
# the program makes "choicetask data" in Documents with the sample
# instruction file, and opens its registration window there.
home="$work/home"
mkdir -p "$home"
read -r -a menu_command <<< "$(sed -n 's/^Exec=//p' "$root/usr/share/applications/choicetask.desktop")"
[ "${menu_command[0]}" = choicetask ] || fail "the menu entry runs ${menu_command[*]}, not choicetask"
(cd "$home" && HOME="$home" XDG_CONFIG_HOME="$home/.config" \
  exec "$root/usr/bin/choicetask" "${menu_command[@]:1}" > "$work/app.log" 2>&1) &
app_pid=$!
wait_for 30 "the registration window started from the menu entry" has_window "Subject info"
kill "$app_pid"
app_pid=""
cmp -s "$home/Documents/choicetask data/instructions_condition_1.rtf" "$root/$doc/instructions_condition_1.rtf" \
  || fail "the menu entry's study folder did not get the sample instruction file"

(cd "$data" && "$root/usr/bin/choicetask-simulate" 5 best > /dev/null) || fail "installed choicetask-simulate"
"$root/usr/bin/choicetask-report" "$data/5.csv" > "$work/report.txt" || fail "installed choicetask-report"
grep -q '^  Total: 6080 points, \$30\.40$' "$work/report.txt" || { cat "$work/report.txt"; fail "report with the installed settings"; }

if [ "$mode" = --install ]; then
  # An unattended upgrade to a version whose packaged config.ini changed,
  # after the lab edited theirs. With dpkg's --force-confold, as the guide
  # says, the lab's file stays, the new packaged one lands beside it as
  # config.ini.dpkg-dist, and the package is installed, not left half-way.
  printf '40\r\nEUR \r\n' > /etc/choicetask/config.ini
  upgrade="$work/upgrade"
  dpkg-deb -R "$deb" "$upgrade"
  printf '60\r\n$\r\n' > "$upgrade/etc/choicetask/config.ini"
  sum=$(md5sum < "$upgrade/etc/choicetask/config.ini" | cut -d' ' -f1)
  sed -i "s|^[0-9a-f]*  etc/choicetask/config.ini\$|$sum  etc/choicetask/config.ini|" "$upgrade/DEBIAN/md5sums"
  version="$(sed -n 's/^Version: //p' "$upgrade/DEBIAN/control")+1"
  sed -i "s/^Version: .*/Version: $version/" "$upgrade/DEBIAN/control"
  dpkg-deb -b --root-owner-group "$upgrade" "$work/upgrade.deb" > /dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o Dpkg::Options::=--force-confold "$work/upgrade.deb" \
    < /dev/null > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "the unattended upgrade"; }
  [ "$(dpkg-query -W -f='${Status} ${Version}' choicetask)" = "install ok installed $version" ] \
    || fail "after the upgrade the package is $(dpkg-query -W -f='${Status} ${Version}' choicetask)"
  [ "$(cat /etc/choicetask/config.ini)" = "$(printf '40\r\nEUR \r\n')" ] || fail "the upgrade replaced the lab's config.ini"
  [ "$(cat /etc/choicetask/config.ini.dpkg-dist)" = "$(printf '60\r\n$\r\n')" ] \
    || fail "the upgrade did not leave its config.ini beside the lab's"

  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q choicetask > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "remove"; }
  [ ! -e /usr/lib/choicetask/choicetask ] || fail "the program is still installed after removal"
  [ -f "$data/5.csv" ] && [ -f "$data/instructions_condition_1.rtf" ] || fail "removing the package touched the data folder"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -q choicetask > /dev/null 2>&1 || true
  [ ! -e /etc/choicetask ] || fail "purging the package left /etc/choicetask"
fi
echo "PASS: package built, ${mode#--}ed, registration window shown, also from the menu entry, report read the installed settings"
