#!/bin/sh
# The study tables on a generated study: PARTICIPANTS participants of eight
# games (choicetask-simulate, random choices, with session records), then
# choicetask-report --csv, --payments and the text report on the whole folder.
# Prints the median wall time, processor time and peak memory (resident set)
# of each over RUNS runs; asserts nothing. With a BASELINE build folder (an
# older choicetask-report), both run on the same study, one after the other,
# and the ratios are printed: compare versions in one run, on one machine.
# The processor time is the figure to read on a busy machine.
#
#   bench/study_tables_bench.sh BUILD_FOLDER [PARTICIPANTS] [RUNS] [BASELINE_BUILD_FOLDER]
set -eu
build=$(cd "$1" && pwd)
participants=${2:-500}
runs=${3:-5}
baseline=${4:+$(cd "$4" && pwd)}
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

measure() { # measure REPORT ARGUMENT...: prints "wall processor peak_kb bytes", medians over $runs runs
    report=$1
    shift
    : > "$work/times.txt"
    r=0
    while [ "$r" -lt "$runs" ]; do
        /usr/bin/time -a -o "$work/times.txt" -f '%e %U %S %M' \
            "$report" --settings "$work/lab" "$@" "$work/study" > "$work/out.txt"
        r=$((r + 1))
    done
    m=$(( (runs + 1) / 2 ))
    wall=$(cut -d' ' -f1 "$work/times.txt" | sort -n | sed -n "${m}p")
    cpu=$(awk '{ print $2 + $3 }' "$work/times.txt" | sort -n | sed -n "${m}p")
    peak=$(cut -d' ' -f4 "$work/times.txt" | sort -n | sed -n "${m}p")
    echo "$wall $cpu $peak $(wc -c < "$work/out.txt")"
}
uptime
for mode in --csv --payments report; do
    arguments=$([ "$mode" = report ] || echo "$mode")
    # shellcheck disable=SC2086 # no argument for the text report
    set -- $(measure "$build/choicetask-report" $arguments)
    printf '%-10s %6.2f s wall, %6.2f s processor, %7.1f MiB peak, %d bytes written\n' \
        "$mode" "$1" "$2" "$(echo "$3" | awk '{ print $1 / 1024 }')" "$4"
    if [ -n "$baseline" ]; then
        new_cpu=$2 new_peak=$3
        # shellcheck disable=SC2086
        set -- $(measure "$baseline/choicetask-report" $arguments)
        printf '  baseline %6.2f s wall, %6.2f s processor, %7.1f MiB peak, %d bytes written\n' \
            "$1" "$2" "$(echo "$3" | awk '{ print $1 / 1024 }')" "$4"
        awk -v a="$new_cpu" -v b="$2" -v c="$new_peak" -v d="$3" 'BEGIN {
            printf "  this build / baseline: processor time %.2f, peak memory %.3f\n", a / b, c / d }'
    fi
done
