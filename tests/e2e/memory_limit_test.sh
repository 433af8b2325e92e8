#!/usr/bin/env bash
# Under an address-space limit (ulimit -v) that a plain Qt Widgets program
# survives, the program starts and shows its registration window: it asks
# for no more memory than it uses.
#
#   memory_limit_test.sh PLAIN_WIDGETS STARTUP_PROBE KILOBYTES
set -euo pipefail

plain=$1
probe=$2
limit=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

limited() { (ulimit -v "$limit" && exec "$@"); }

limited "$plain" > /dev/null 2>&1 || { echo "SKIP: a plain Qt Widgets program does not start within $limit KB here"; exit 0; }

cp "$probe" "$work/probe"
printf '50\r\n$\r\n' > "$work/config.ini"
printf '{\\rtf1\\ansi Instructions.\\par}' > "$work/instructions_condition_1.rtf"
status=0
output=$(cd "$work" && limited ./probe 2>"$work/stderr") || status=$?
if [ "$status" -ne 0 ] || ! [[ "$output" =~ ^[0-9]+\ [0-9]+$ ]]; then
  echo "FAIL: within $limit KB the program did not reach its registration window (status $status)" >&2
  cat "$work/stderr" <(echo "$output") | sed 's/^/  program: /' >&2
  exit 1
fi
echo "PASS: registration window within $limit KB (resident $(echo "$output" | cut -d' ' -f2) KB)"
