#!/usr/bin/env bash
# The Windows installer, made with cpack (NSIS) from the Windows build, in a
# Wine prefix of its own on a virtual display:
#   1. an older installer (the same files, an older version number) installed
#      silently (/S): the programs, Qt's DLLs and plugins, the MinGW runtime
#      DLLs and the sample config.ini in place, the Start menu shortcuts, the
#      data folder with the sample instruction file;
#   2. the program started from its Start menu shortcut: it runs in the data
#      folder, and a participant is registered there;
#   3. the lab edits config.ini; an installed file goes missing;
#   4. this build's installer run over it (/S): the old version uninstalled
#      first, the missing file back, the edited config.ini and the data files
#      untouched, the newer version registered; the program starts again;
#   5. the uninstaller (/S): the programs gone, the edited config.ini and the
#      data files still there.
# Prints the installer's size.
#
#   installer_test.sh WINDOWS_BUILD_FOLDER
set -euo pipefail

build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../scripts/wine-run
source "$here/../e2e/x_session.sh"
prefix=$work/wine
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
stop_wine() { WINEPREFIX=$prefix "$wineserver" -k 2> /dev/null || true; }
trap 'stop_wine; cleanup' EXIT
windows() { "$wine_run" --prefix "$prefix" "$@"; }
start_display

# --- The installers ----------------------------------------------------------
(cd "$build" && cpack -G NSIS -B "$work/new" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
(cd "$build" && cpack -G NSIS -B "$work/old" -D CPACK_PACKAGE_VERSION=0.9.0 -D CPACK_NSIS_COMPRESSOR=zlib \
  > "$work/cpack-old.log" 2>&1) || { cat "$work/cpack-old.log"; fail "cpack (older version)"; }
new_installer=$(ls "$work"/new/choicetask-*-win64.exe)
old_installer=$(ls "$work"/old/choicetask-*-win64.exe)
version=$(basename "$new_installer" | sed 's/^choicetask-\(.*\)-win64\.exe$/\1/')
echo "Installer: $(basename "$new_installer"), $(stat -c %s "$new_installer") bytes"

program="$prefix/drive_c/Program Files/choicetask"
data="$prefix/drive_c/users/Public/Documents/choicetask data"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/choicetask"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\choicetask'
installed_version() { windows reg query "$uninstall_key" /v DisplayVersion 2> /dev/null | tr -d '\r' | awk '/DisplayVersion/ {print $3}'; }
# Starts the program as the Start menu does, and waits for its registration
# window: the shortcut sets the data folder as the working folder.
start_from_menu() {
  windows start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\choicetask\choicetask.lnk'
  wait_for 120 "the installed program's registration window" has_window "Subject info"
}
fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

# --- 1. The older version, installed silently ---------------------------------
windows "$old_installer" /S
WINEPREFIX=$prefix "$wineserver" -w
for file in choicetask.exe choicetask-report.exe choicetask-simulate.exe Uninstall.exe config.ini docs/config.ini \
            Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll \
            imageformats/qjpeg.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
            docs/experimenter-guide.md docs/instructions_condition_1.rtf docs/copyright.txt; do
  [ -f "$program/$file" ] || fail "$file is not installed"
done
cmp "$program/config.ini" "$here/../../demo/config.ini" || fail "the installed config.ini is not the sample"
for shortcut in choicetask "choicetask data folder" "Settings (config.ini)" Uninstall; do
  [ -f "$menu/$shortcut.lnk" ] || fail "no Start menu shortcut \"$shortcut\""
done
cmp "$data/instructions_condition_1.rtf" "$program/docs/instructions_condition_1.rtf" \
  || fail "the data folder has no sample instruction file"
[ "$(installed_version)" = 0.9.0 ] || fail "version $(installed_version) registered, expected 0.9.0"

# --- 2. Started from the Start menu, a participant registered -----------------
start_from_menu
register 7
stop_wine
[ -f "$data/7.csv" ] && [ -f "$data/7.session.csv" ] || fail "no data files in the data folder"

# --- 3. The lab's settings; a file gone ---------------------------------------
printf '25\r\nEUR\r\n' > "$program/config.ini"
fingerprint "$data" > "$work/data-before"
rm "$program/platforms/qwindows.dll"

# --- 4. The upgrade ----------------------------------------------------------
windows "$new_installer" /S
WINEPREFIX=$prefix "$wineserver" -w
[ "$(cat "$program/config.ini")" = "$(printf '25\r\nEUR\r')" ] || fail "the upgrade changed the edited config.ini"
fingerprint "$data" | cmp - "$work/data-before" || fail "the upgrade changed the data folder"
[ -f "$program/platforms/qwindows.dll" ] || fail "the upgrade did not install its files"
[ "$(installed_version)" = "$version" ] || fail "version $(installed_version) registered after the upgrade, expected $version"
[ "$(windows reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2> /dev/null | tr -d '\r' | grep -ci choicetask)" -eq 1 ] \
  || fail "more than one choicetask in the list of installed programs"
start_from_menu
stop_wine

# --- 5. Uninstalled ----------------------------------------------------------
windows 'C:\Program Files\choicetask\Uninstall.exe' /S
WINEPREFIX=$prefix "$wineserver" -w
for file in choicetask.exe Qt6Core.dll platforms/qwindows.dll libstdc++-6.dll docs/config.ini Uninstall.exe; do
  [ ! -e "$program/$file" ] || fail "$file is still there after uninstalling"
done
[ "$(cat "$program/config.ini")" = "$(printf '25\r\nEUR\r')" ] || fail "uninstalling removed or changed the edited config.ini"
fingerprint "$data" | cmp - "$work/data-before" || fail "uninstalling changed the data folder"
[ ! -e "$menu" ] || fail "the Start menu shortcuts are still there"
[ -z "$(installed_version)" ] || fail "still registered as installed"
echo "PASS: installed, started from the Start menu, upgraded to $version and uninstalled; the edited config.ini" \
  "and the data files kept throughout"
