#!/bin/sh
# The study tables on a generated study: 500 participants of eight games
# (choicetask-simulate, random choices, with session records), then choicetask-report --csv,
# --payments and the text report on the whole folder. Prints the median wall
# time of each over a few runs and its share of the 2 s budget; asserts
# nothing. The processor time is the figure to read on a busy machine.
#
#   bench/study_tables_bench.sh BUILD_FOLDER [PARTICIPANTS] [RUNS]
set -eu
build=$(cd "$1" && pwd)
participants=${2:-500}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/study" "$work/lab"
printf '50\r\n$\r\n' > "$work/lab/config.ini"
cd "$work/study"
i=1
while [ "$i" -le "$participants" ]; do
    "$build/choicetask-simulate" --settings "$work/lab" "$i" random "$i" > /dev/null
    i=$((i + 1))
done
echo "$participants participants: $(cat ./*.csv | wc -l) lines (data files and session records), $(du -sk . | cut -f1) KB"

measure() { # measure NAME ARGUMENT...: median wall and processor seconds over $runs runs
    name=$1
    shift
    : > "$work/times.txt"
    r=0
    while [ "$r" -lt "$runs" ]; do
        /usr/bin/time -a -o "$work/times.txt" -f '%e %U %S' \
            "$build/choicetask-report" --settings "$work/lab" "$@" "$work/study" > "$work/out.txt"
        r=$((r + 1))
    done
    m=$(( (runs + 1) / 2 ))
    wall=$(cut -d' ' -f1 "$work/times.txt" | sort -n | sed -n "${m}p")
    cpu=$(awk '{ print $2 + $3 }' "$work/times.txt" | sort -n | sed -n "${m}p")
    awk -v name="$name" -v wall="$wall" -v cpu="$cpu" -v size="$(wc -c < "$work/out.txt")" 'BEGIN {
        printf "%-16s %5.2f s wall (%3.0f%% of the 2 s budget), %5.2f s processor, %d bytes written\n",
               name, wall, wall / 0.02, cpu, size }'
}
uptime
measure "--csv" --csv
measure "--payments" --payments
measure "earnings report"
