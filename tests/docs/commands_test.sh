#!/usr/bin/env bash
# Every command of the README and of the experimenter's guide, run as a reader
# runs it: on a fresh clone, block by block in the order the documents give
# them, each block from the top of the clone (a "cd" carries on to the rest of
# its block), with a home folder of its own.
#
# - Every ```sh block runs; it must end with status 0.
# - A line that starts the program's windows (scripts/demo, choicetask) runs on
#   a virtual display of this test's own and must show the registration window
#   within the time allowed; the program is then ended.
# - scripts/test is not run again: CI runs it as its first step (checked).
# - Blocks that install the package (sudo apt ...) run only as root and when
#   choicetask is not installed already; so do the blocks that use the installed
#   package. This test then removes the package again at the end, with what it
#   left in /etc. Otherwise those blocks are listed as not run.
# - Every script a README or guide names in its text (scripts/..., tests/...,
#   .ci/...) must exist and be executable.
#
#   tests/docs/commands_test.sh [REPOSITORY]     (its HEAD; by default this checkout's)
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
repository=${1:-$here}
source "$here/tests/e2e/x_session.sh"

clone="$work/clone"
commit=$(git -C "$repository" rev-parse HEAD)
git clone -q --no-checkout "$repository" "$clone"
git -C "$clone" checkout -q "$commit"
home="$work/home"
mkdir -p "$home" "$work/shims"
# Builds of this clone reuse the compiler cache of earlier runs in other folders.
export CCACHE_BASEDIR="$clone" CCACHE_NOHASHDIR=1

# As root, sudo is the command itself.
installing=false
status=$(dpkg-query -W -f='${Status}' choicetask 2>/dev/null || true)
if [ "$(id -u)" -eq 0 ] && { [ -z "$status" ] || [ "$status" = "unknown ok not-installed" ]; }; then
  installing=true
  printf '#!/bin/sh\nexec "$@"\n' > "$work/shims/sudo"
  chmod +x "$work/shims/sudo"
  trap 'DEBIAN_FRONTEND=noninteractive apt-get purge -y -q choicetask > /dev/null 2>&1 || true; cleanup' EXIT
fi

grep -qx 'step "build and test" scripts/test' "$clone/.ci/run" || fail ".ci/run no longer runs scripts/test"

# The scripts the documents name in their text.
for document in README.md docs/experimenter-guide.md; do
  for path in $(grep -o '`\(scripts\|tests\|\.ci\)/[^` ]*' "$clone/$document" | tr -d '`' | sort -u); do
    [ -x "$clone/$path" ] || fail "$document names $path, which is not an executable file of the sources"
  done
done

start_display
ran=0
skipped=()

# Runs a GUI line in the background and waits for the registration window.
run_windows() {
  local folder=$1 line=$2
  (cd "$folder" && HOME="$home" PATH="$work/shims:$PATH" exec setsid bash -c "$line" > "$work/app.log" 2>&1) &
  app_pid=$!
  local deadline=$((SECONDS + 1500))
  until has_window "Subject info" || has_window "Teilnehmerdaten"; do
    kill -0 "$app_pid" 2> /dev/null || fail "\"$line\" ended before its registration window showed"
    [ "$SECONDS" -lt "$deadline" ] || fail "\"$line\" showed no registration window"
    sleep 0.2
  done
  kill -- "-$app_pid" 2> /dev/null || kill "$app_pid" 2> /dev/null || true
  wait "$app_pid" 2> /dev/null || true
  app_pid=""
  rm -f "$work/app.log"
}

# Runs lines with bash in `folder`; prints the folder they end in.
run_lines() {
  local folder=$1 lines=$2
  (cd "$folder" && HOME="$home" PATH="$work/shims:$PATH" bash -euo pipefail -c "$lines
pwd > '$work/folder'") > "$work/out.log" 2>&1 || {
    sed 's/^/  output: /' "$work/out.log" >&2
    fail "the commands
$lines
ended with an error"
  }
  cat "$work/folder"
}

needs_installation() {
  grep -q -e 'sudo apt' -e '/usr/share/doc/choicetask' -e '/etc/choicetask' \
    -e '^\(cd [^&]*&& \)\?choicetask\( \|$\)' -e '^choicetask-\(report\|simulate\) ' <<< "$1"
}
starts_windows() {
  grep -q '^\(scripts/demo\|\(\.\./\|build-demo/\)\?choicetask\)\( \+--[a-z-]\+\( [a-z_A-Z]\+\)\?\)* *\(#.*\)\?$' <<< "$1"
}

run_block() {
  local document=$1 start=$2 text=$3
  if needs_installation "$text" && ! $installing; then
    skipped+=("$document:$start (needs the package installed by this test, as root)")
    return
  fi
  local folder="$clone" pending="" line
  while IFS= read -r line; do
    if [[ "$line" =~ ^scripts/test([[:space:]]*#.*)?$ ]]; then
      continue # CI's first step
    fi
    if starts_windows "$line"; then
      [ -z "$pending" ] || folder=$(run_lines "$folder" "$pending")
      pending=""
      run_windows "$folder" "$line"
    else
      pending+="$line"$'\n'
    fi
  done <<< "$text"
  [ -z "$pending" ] || run_lines "$folder" "$pending" > /dev/null
  ran=$((ran + 1))
}

for document in README.md docs/experimenter-guide.md; do
  if [ "$document" = docs/experimenter-guide.md ] && $installing; then
    # The guide's reader has the package file at hand where they type.
    cp "$clone"/build-release/choicetask_*_amd64.deb "$clone/"
  fi
  # The ```sh blocks, with the indentation of a list item taken off.
  while IFS= read -r -d $'\x1e' record; do
    run_block "$document" "${record%%$'\x1f'*}" "${record#*$'\x1f'}"
  done < <(awk '
    /^ *```sh *$/ { inside = 1; start = NR; indent = index($0, "`") - 1; text = ""; next }
    inside && /^ *``` *$/ { inside = 0; printf "%d\037%s\036", start, text; next }
    inside { text = text substr($0, indent + 1) "\n" }' "$clone/$document")
done

echo "PASS: $ran command blocks of the README and the guide ran on a fresh clone"
for block in "${skipped[@]}"; do
  echo "  not run: $block"
done
