#!/bin/sh
# choicetask-simulate and choicetask-report end to end. Each case runs one
# command in a scratch folder (under a timeout, so a command that blocks fails
# instead of hanging) and compares its exit status, its whole standard output
# and the first line of its standard error. The scratch folder's path is
# written W in the expected texts.
set -u
simulate=$1 report=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0

# check NAME STATUS STDOUT STDERR_FIRST_LINE COMMAND [ARGUMENT...]
check() {
    name=$1 want_status=$2 want_out=$3 want_err=$4
    shift 4
    timeout 20 "$@" > out.txt 2> err.txt
    status=$?
    out=$(sed "s|$work|W|g" out.txt)
    err=$(head -n 1 err.txt | sed "s|$work|W|g")
    if [ "$status" != "$want_status" ] || [ "$out" != "$want_out" ] || [ "$err" != "$want_err" ]; then
        failures=$((failures + 1))
        printf 'FAIL %s: status %s (expected %s)\n--- stdout\n%s\n--- expected\n%s\n--- stderr\n%s\n--- expected\n%s\n\n' \
            "$name" "$status" "$want_status" "$out" "$want_out" "$err" "$want_err"
    fi
}

games() { # games POINTS MONEY: eight report lines
    for g in 1 2 3 4 5 6 7 8; do printf '  Game %s: %s points%s\n' "$g" "$1" "$2"; done
}
simulated() { # simulated ID VERB REGISTRATION POINTS: what choicetask-simulate prints
    printf 'W/%s.csv: eight simulated games %s (registration %s)\nW/%s.session.csv: its session record, marked simulated\n' "$1" "$2" "$3" "$1"
    for g in 1 2 3 4 5 6 7 8; do printf '  game %s: %s points\n' "$g" "$4"; done
}
header=$(printf 'Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r')

mkdir lab lab-de lab-en data study
printf '50\r\n$\r\n' > lab/config.ini
printf '12,5\r\nEUR \r\n' > lab-de/config.ini
printf '12.5\r\n' > lab-en/config.ini

# --- choicetask-simulate: new files, never existing ones unless asked.
check "simulate writes new files and says where" 0 "$(simulated 12 written 1 760)" "" "$simulate" --settings lab 12 best
cp 12.csv 12.before
check "simulate leaves an existing file alone" 1 "" \
    "choicetask-simulate: W/12.csv already exists. Nothing was written: simulated lines would mix with the data in it. To add a simulated registration to it on purpose, give --append." \
    "$simulate" --settings lab 12 left
cmp -s 12.csv 12.before || { failures=$((failures + 1)); echo "FAIL the refused run changed 12.csv"; }
mv 12.csv 14.csv
check "simulate leaves an existing session record alone" 1 "" \
    "choicetask-simulate: W/12.session.csv already exists. Nothing was written: simulated lines would mix with the data in it. To add a simulated registration to it on purpose, give --append." \
    "$simulate" --settings lab 12 left
mv 14.csv 12.csv
check "simulate appends when asked" 0 "$(simulated 12 appended 2 750)" "" "$simulate" --settings lab --append 12 left
[ "$(grep -c "^$header\$" 12.csv)" = 2 ] && [ "$(grep -c ',registered,' 12.session.csv)" = 2 ] \
    && [ "$(grep -c '^registration,' 12.session.csv)" = 1 ] || { failures=$((failures + 1)); echo "FAIL --append did not add a registration"; }
for seed in -1 18446744073709551616 99999999999999999999999 +5 5x; do
    check "seed $seed refused" 2 "" "choicetask-simulate: SEED must be a whole number from 0 to 18446744073709551615, not \"$seed\"" \
        "$simulate" 13 random "$seed"
done
timeout 20 "$simulate" 13 random 18446744073709551615 > out.txt 2>&1 && [ -f 13.csv ] \
    || { failures=$((failures + 1)); echo "FAIL the largest seed was not taken: $(cat out.txt)"; }

# --- choicetask-report (without session records first)
"$simulate" --settings lab 5 best > /dev/null && cp 5.csv data/ && mv 5.csv 5.session.csv study/
"$simulate" --settings lab 40 right > /dev/null && mv 40.csv data/ && rm 40.session.csv
best=$(games 760 ', $3.80')
check "one file" 0 "$(printf '5.csv: exchange rate 50 per 10000 points\nRegistration 1 (header on line 1)\n%s\n  Total: 6080 points, $30.40' "$best")" "" \
    "$report" --settings lab data/5.csv
several=$(printf '5.csv: exchange rate 50 per 10000 points\nRegistration 1 (header on line 1)\n%s\n  Total: 6080 points, $30.40\n\n40.csv: exchange rate 50 per 10000 points\nRegistration 1 (header on line 1)\n%s\n  Total: 4240 points, $21.20' \
    "$best" "$(games 530 ', $2.65')")
check "several files, in participant order" 0 "$several" "" "$report" --settings lab data/40.csv data/5.csv data/40.csv
check "a folder of data files" 0 "$several" "" "$report" --settings lab data
check "a folder that holds config.ini is not taken for the settings folder" 2 "" \
    'choicetask-report: the folder "lab" holds a config.ini. A folder named here is read for its data files; to read the exchange rate from it, write --settings lab' \
    "$report" data/5.csv lab
check "a session record alone" 2 "" \
    'choicetask-report: "study/5.session.csv" is a session record; name its data file "study/5.csv" instead (the session record beside it is read with it)' \
    "$report" --settings lab study/5.session.csv

# The study tables: every file read, or nothing written.
check "payments" 0 "$(printf 'participant,registrations,games_finished,points,rate,money,currency,flags,session_date,shown_total\r\n5,1,8,6080,50,30.40,$,no_session_record,NA,NA\r\n40,1,8,4240,50,21.20,$,no_session_record,NA,NA\r')" "" \
    "$report" --payments --settings lab data
check "trials" 0 "$(printf 'participant,registration,game,trial,choice,payoff,winnings,history_left,game_units_remaining,button,response_ms,complete\n5,1,1,1,1,5,5,1,150,NA,NA,TRUE\n40,1,8,53,0,10,530,0,3,NA,NA,TRUE')" "" \
    sh -c '"$1" --csv data | sed -n "1,2p;\$p" | cut -d, -f1-12 | tr -d "\r"' sh "$report"
[ "$(timeout 20 "$report" --csv data | wc -l)" = $((1 + 8 * 148 + 8 * 53)) ] || { failures=$((failures + 1)); echo "FAIL --csv did not write every trial"; }
cp data/5.csv data/6.csv && printf '1,1,5,5,1,150,\r\n' >> data/6.csv
check "no table with a participant left out" 1 "" 'choicetask-report: data/6.csv, line 1186: not a data line of this program: "1,1,5,5,1,150,"' \
    "$report" --payments --settings lab data
rm data/6.csv

tr -d '\r' < data/5.csv > lf.csv
check "line ends changed to LF" 0 "$(printf 'lf.csv: exchange rate 50 per 10000 points\nNote: the lines end with LF alone, not with the CR LF the program writes: the file was converted after the session. Read all the same.\nRegistration 1 (header on line 1)\n%s\n  Total: 6080 points, $30.40' "$best")" "" \
    "$report" --settings lab lf.csv

printf '%s\n 99999999999999999999999999999999 , 1 , 5 , 5 , 1 , 150 ,\r\n' "$header" > 9.csv
check "a trial number of many 9s" 1 "" \
    'choicetask-report: 9.csv, line 2: the Trial column holds a number that does not fit it: " 99999999999999999999999999999999"' \
    "$report" --settings lab 9.csv
check "a refused file does not hide the others" 1 "$(printf '5.csv: exchange rate 50 per 10000 points\nRegistration 1 (header on line 1)\n%s\n  Total: 6080 points, $30.40' "$best")" \
    'choicetask-report: 9.csv, line 2: the Trial column holds a number that does not fit it: " 99999999999999999999999999999999"' \
    "$report" --settings lab 9.csv data/5.csv

# --- With session records: participant 4 played one game and three trials of
# the next; the program stopped before the last choice row was written.
(cd study && "$simulate" --settings ../lab 4 left > /dev/null && head -n 154 4.csv > 4.cut && mv 4.cut 4.csv \
    && head -n 158 4.session.csv > 4.cut && mv 4.cut 4.session.csv)
# The rates come from the session records: the settings named are not read.
check "payments from session records" 0 "$(printf 'participant,registrations,games_finished,points,rate,money,currency,flags\n4,1,1,750,50,3.75,$,fewer_than_8_games;incomplete_game;missing_last_choice_row;simulated\n5,1,8,6080,50,30.40,$,simulated')" "" \
    sh -c '"$1" --payments --settings lab-en study | cut -d, -f1-8 | tr -d "\r"' sh "$report"
check "trials with button and response time" 0 "$(printf '4,1,2,1,1,5,5,1,150,right,629.5,FALSE\n4,1,2,2,1,5,10,1,149,right,345,FALSE\n4,1,2,3,1,5,15,1,148,NA,NA,FALSE')" "" \
    sh -c '"$1" --csv study | grep "^4,1,2," | cut -d, -f1-12' sh "$report"
check "the report says what the session record shows" 0 "$(printf '4.csv: exchange rate as read at each feedback (from the session record)\nNote: the session record lacks the choice row of a registration'"'"'s last trial: the program stopped after writing the trial'"'"'s data line.\nRegistration 1 (header on line 1)\n  Game 1: 750 points, $3.75 at 50 per 10000 points; response times median 1015.6 ms, 261.0 to 1738.3 ms\n  Game 2: 15 points after 3 trials, INCOMPLETE: the program ended during this game; not counted; response times median 487.3 ms, 345.0 to 629.5 ms\n  Total so far: 750 points, $3.75 (1 of 8 games finished)')" "" \
    "$report" study/4.csv

# --- Inputs that are not files (a named pipe) are refused at once, never waited on.
mkdir pipes lab-pipe && mkfifo pipes/30.csv lab-pipe/config.ini && cp data/5.csv pipes/ && mkfifo pipes/5.session.csv
check "a named pipe for a data file" 1 "" \
    'choicetask-report: "pipes/30.csv" cannot be a data file: it is a named pipe. Nothing was read from it.' \
    "$report" --settings lab pipes/30.csv
check "a named pipe for a session record" 1 "" \
    'choicetask-report: "pipes/5.session.csv" cannot be a session record: it is a named pipe. Nothing was read from it.' \
    "$report" --settings lab pipes/5.csv
check "a named pipe for the settings file" 1 "" \
    'choicetask-report: "lab-pipe/config.ini" cannot be the settings file: it is a named pipe. Nothing was read from it.' \
    "$report" --settings lab-pipe data/5.csv
mkfifo 60.csv
check "simulate appending to a named pipe" 1 "" \
    'choicetask-simulate: "60.csv" cannot take simulated data: it is not a regular file. Nothing was written.' \
    "$simulate" --settings lab --append 60 best

# The rate is read in the lab computer's locale, and every message about it says which.
check "a German rate read in the German locale" 0 \
    "$(printf '5.csv: exchange rate 12,5 per 10000 points\nRegistration 1 (header on line 1)\n%s\n  Total: 6080 points, EUR 7,60' "$(games 760 ', EUR 0,95')")" "" \
    "$report" --settings lab-de --locale de_DE data/5.csv
check "a German rate read in this computer's locale" 1 "" \
    'choicetask-report: Line 1 of the settings file "config.ini" in the settings folder named on the command line W/lab-de is not a number: "12,5". It must hold the exchange rate, the money paid per 10000 points, as a number written with this computer'"'"'s decimal separator "." and no thousands separators, for example 50 or 12.5 (0 shows no money amounts).' \
    "$report" --settings lab-de data/5.csv
[ "$(tail -n 1 err.txt)" = "The exchange rate was read in this computer's locale C (decimal separator \".\"). If the lab computer uses another, name it with --locale, for example --locale de_DE." ] \
    || { failures=$((failures + 1)); echo "FAIL the locale is not named: $(tail -n 1 err.txt)"; }
"$report" --settings lab-en --locale de_DE data/5.csv > /dev/null 2> err.txt
[ "$(tail -n 1 err.txt)" = 'The exchange rate was read in the locale de_DE (decimal separator ",") named with --locale.' ] \
    || { failures=$((failures + 1)); echo "FAIL the named locale is not named: $(tail -n 1 err.txt)"; }
check "an unknown locale" 2 "" 'choicetask-report: unknown locale "xx_YY" (write it as language_COUNTRY, for example de_DE)' \
    "$report" --locale xx_YY data/5.csv

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all cases passed"
