#!/usr/bin/env bash
# Launch to the registration window and Run to the instructions painted, for the
# demo's sample, a 50 MB file with a large picture and a 1,000,000-paragraph
# file, with two builds side by side on one virtual display (one run, so that
# the two are measured under the same load):
#   bench/startup/compare.sh BEFORE_BUILD_DIR AFTER_BUILD_DIR [runs] [ms]
# Run is pressed at once, or that many milliseconds after the registration
# window is painted.
set -euo pipefail
before=$1 after=$2 runs=${3:-3} delay=${4:-0}
here=$(cd "$(dirname "$0")" && pwd)
files=$(mktemp -d)
Xvfb -displayfd 3 -noreset -screen 0 1920x1080x24 -nolisten tcp 3> "$files/display" > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; rm -rf "$files"' EXIT
until [ -s "$files/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$files/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
"$here/instruction_files.py" "$files"
for file in "$here/../../demo/instructions_condition_1.rtf" "$files/big_picture.rtf" "$files/paragraphs.rtf"; do
  for build in "$before" "$after"; do
    echo "== $(basename "$file") ($(du -h "$file" | cut -f1)), $build, Run after $delay ms"
    "$build/bench/startup_bench" "$runs" "$file" "$delay" 2>/dev/null
  done
done
