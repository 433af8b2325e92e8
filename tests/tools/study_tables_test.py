#!/usr/bin/env python3
"""choicetask-report's study tables, recomputed from the raw files.

A study folder is made with choicetask-simulate and edited the way real
studies go wrong (two registrations, a currency changed between them, a
choice row that contradicts its data line, a participant without a finished
game, a practice file, a currency text with terminal controls, files that are
not a participant's). A small reader below, which shares nothing with the
tool, reads the data files and session records and computes every cell of
--csv and --payments; the tool's tables must match it cell for cell. Then the
faults one by one, extreme rates, and the psych-DS dataset.

    study_tables_test.py SIMULATE REPORT WORK_FOLDER
"""
import csv
import io
import json
import os
import re
import shutil
import subprocess
import sys
from decimal import ROUND_HALF_UP, Decimal
from urllib.parse import unquote

simulate, report, work = sys.argv[1:4]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def run(*arguments, cwd=None):
    done = subprocess.run(arguments, cwd=cwd, capture_output=True, timeout=60)
    return done.returncode, done.stdout, done.stderr


# --- The independent reader ------------------------------------------------

HEADER = "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining"


def read_data_file(path):
    """Registrations, each a list of games, each a list of trials."""
    text = open(path, "rb").read().decode("ascii")
    assert text.endswith("\r\n"), path
    registrations = []
    for line in text[:-2].split("\r\n"):
        if line == HEADER:
            registrations.append([])
            continue
        fields = line.split(",")
        assert len(fields) == 7 and fields[6] == "", line
        trial, choice, payoff, winnings, left, units = (Decimal(f.strip()) for f in fields[:6])
        if trial == 1:
            registrations[-1].append([])
        registrations[-1][-1].append(dict(trial=trial, choice=choice, payoff=payoff, winnings=winnings,
                                          history_left=left, units=units))
    return registrations


def complete(game):
    last = game[-1]
    return last["units"] - (1 + 2 * (1 - last["history_left"])) <= 0


def read_session(path):
    rows = []
    with open(path, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            row["detail"] = dict((unquote(v) for v in pair.split("=", 1)) for pair in row["detail"].split(";")
                                 if pair)
            rows.append(row)
    return rows


def visible(text):
    """Text as the tables write it: control characters written out."""
    names = {"\r": "\\r", "\n": "\\n", "\t": "\\t"}
    return "".join(names.get(c, "\\x%02X" % ord(c)) if ord(c) < 0x20 or c == "\x7f"
                   else "\\u%04X" % ord(c) if 0x80 <= ord(c) < 0xA0 else c for c in text)


def cents(amount):
    return amount.quantize(Decimal("0.01"), rounding=ROUND_HALF_UP)


def shown_cents(text, currency):
    """The amount a money text shows, whatever its decimal separator."""
    match = re.fullmatch(re.escape(currency) + r"(-?\d+)\D+(\d\d)", text)
    return Decimal(match.group(1) + "." + match.group(2)) if match else None


def expected_tables(participant, folder, settings_rate, settings_currency):
    """The rows of --csv and the row of --payments for one participant."""
    data = read_data_file(os.path.join(folder, participant + ".csv"))
    record_path = os.path.join(folder, participant + ".session.csv")
    rows = read_session(record_path) if os.path.exists(record_path) else None
    flags = set()
    runs, choices, feedback, ended, covered, duplicates = {}, {}, {}, {}, set(), False
    for row in rows or []:
        r = int(row["registration"])
        covered.add(r)
        event = row["event"]
        if event == "registered":
            runs[r] = row
        elif event == "choice":
            key = (r, int(row["game"]), int(row["trial"]))
            duplicates = duplicates or key in choices
            choices[key] = row
        elif event == "feedback_shown":
            feedback[(r, int(row["game"]))] = row
        elif event in ("finished", "closed_early", "error"):
            ended[r] = event
            if event != "finished":
                flags.add(event)
    if rows is None:
        flags.add("no_session_record")
    if len(data) > 1:
        flags.add("several_registrations")

    trial_rows, seen_rows = [], 0
    points, finished, all_eight = Decimal(0), 0, False
    money, money_currencies, shown, shown_currencies = Decimal(0), set(), Decimal(0), set()
    shown_unreadable, rate_in_force, currency_in_force, last_money_currency = False, None, None, None
    for r, games in enumerate(data, 1):
        run_row = runs.get(r)
        left_button = run_row["detail"].get("left_option_button") if run_row else None
        run_columns = ([left_button or "NA", run_row["detail"].get("version") or "NA",
                        run_row["detail"].get("instructions_sha256") or "NA", ended.get(r, "NA"),
                        "TRUE" if run_row["detail"].get("simulated") == "1" else "FALSE"]
                       if run_row else ["NA", "NA", "NA", ended.get(r, "NA"), "NA"])
        if run_row and run_row["detail"].get("simulated") == "1":
            flags.add("simulated")
        if games and rows is not None and r not in covered:
            flags.add("registration_without_session_rows")
        registration_points, registration_rate, finished_here = Decimal(0), None, 0
        for g, game in enumerate(games, 1):
            for t in game:
                key = (r, g, int(t["trial"]))
                row = choices.get(key)
                if row:
                    seen_rows += 1
                    button = row["button"]
                    right_button = ("left" if (t["choice"] == 1) == (left_button == "left") else "right")
                    fits = row["option"] == str(t["choice"]) and button and (not left_button or button == right_button)
                    if not fits:
                        flags.add("session_mismatch")
                        row = None
                elif r in covered:
                    last = g == len(games) and t is game[-1]
                    flags.add("missing_last_choice_row" if last else "session_mismatch")
                cell = (lambda name: row[name] or "NA") if row else (lambda name: "NA")
                number = (lambda name: Decimal(row[name]) if row and row[name] else "NA")
                trial_rows.append([participant, str(r), str(g), t["trial"], t["choice"], t["payoff"], t["winnings"],
                                   t["history_left"], t["units"], cell("button"), number("response_ms"),
                                   "TRUE" if complete(game) else "FALSE", cell("time_utc"),
                                   row["detail"].get("input", "NA") if row else "NA", number("pause_planned_ms"),
                                   number("pause_actual_ms")] + run_columns)
            if not complete(game):
                flags.add("incomplete_game")
                continue
            finished_here += 1
            registration_points += game[-1]["winnings"]
            shown_row = feedback.get((r, g))
            rate, currency = ((Decimal(shown_row["detail"]["rate"]), shown_row["detail"]["currency"]) if shown_row
                              else (settings_rate, settings_currency))
            if rate_in_force is not None and rate != rate_in_force:
                flags.add("rate_changed")
            if rate != 0:
                if last_money_currency is not None and currency != last_money_currency:
                    flags.add("currency_changed")
                last_money_currency = currency
            rate_in_force, currency_in_force, registration_rate = rate, currency, (rate, currency)
        finished += finished_here
        all_eight = all_eight or finished_here == 8
        points += registration_points
        if registration_rate and registration_rate[0] != 0:
            money += cents(registration_points * registration_rate[0] / 10000)
            money_currencies.add(registration_rate[1])
        final = feedback.get((r, 8))
        if final and final["detail"].get("total_money"):
            amount = shown_cents(final["detail"]["total_money"], final["detail"]["currency"])
            shown_unreadable = shown_unreadable or amount is None
            shown += amount or 0
            shown_currencies.add(final["detail"]["currency"])
    if seen_rows != len(choices) or duplicates:
        flags.add("session_mismatch")
    if not all_eight:
        flags.add("fewer_than_8_games")
    if len(money_currencies) > 1:
        flags.add("currency_changed")
    currency = visible(next(iter(money_currencies)) if len(money_currencies) == 1
                else "NA" if money_currencies or currency_in_force is None else visible(currency_in_force))
    dates = []
    for row in runs.values():
        if row["time_utc"][:10] not in dates:
            dates.append(row["time_utc"][:10])
    payment = [participant, str(len(data)), str(finished), points,
               rate_in_force if rate_in_force is not None else "NA",
               "NA" if len(money_currencies) > 1 else cents(money), currency, ";".join(sorted(flags)),
               ";".join(dates) or "NA",
               cents(shown) if shown_currencies and len(shown_currencies) == 1 and not shown_unreadable else "NA"]
    return trial_rows, payment


NUMBER = re.compile(r"-?\d+(\.\d+)?")


def compare(table, expected, name):
    """The tool's CSV text against the expected rows, cell by cell: numbers
    by value (written with "." and no exponent), everything else exactly."""
    rows = list(csv.reader(io.StringIO(table, newline="")))
    check(len(rows) == len(expected) + 1, "%s: %d rows, expected %d" % (name, len(rows) - 1, len(expected)))
    mismatches = 0
    for got, want in zip(rows[1:], expected):
        for column, (g, w) in enumerate(zip(got, want)):
            same = (NUMBER.fullmatch(g) is not None and Decimal(g) == w) if isinstance(w, Decimal) else g == w
            if not same and mismatches < 5:
                failures.append("%s, participant %s, column %s: %r, expected %r" % (name, got[0], rows[0][column],
                                                                                  g, str(w)))
            mismatches += not same
        if len(got) != len(want):
            failures.append("%s: a row of %d cells, expected %d" % (name, len(got), len(want)))
    return rows


# --- A study as real ones go wrong ------------------------------------------

shutil.rmtree(work, ignore_errors=True)
study, lab, euro, odd = (os.path.join(work, name) for name in ("study", "lab", "euro", "odd"))
for folder in (study, lab, euro, odd):
    os.makedirs(folder)
open(os.path.join(lab, "config.ini"), "wb").write(b"50\r\n$\r\n")
open(os.path.join(euro, "config.ini"), "wb").write(b"12.5\r\nEUR \r\n")
open(os.path.join(odd, "config.ini"), "wb").write(b"37\r\n\x1b]0;gotcha\x07$\r\n")


def simulated(participant, strategy, seed=None, settings=lab, append=False):
    arguments = [simulate, "--settings", settings] + (["--append"] if append else []) + [participant, strategy]
    status, _, err = run(*arguments + ([seed] if seed else []), cwd=study)
    assert status == 0, err


def edit(name, change):
    path = os.path.join(study, name)
    text = open(path, "rb").read().decode("utf-8")
    open(path, "wb").write(change(text).encode("utf-8"))


for participant, seed in (("1", "1"), ("2", "2"), ("-3", "3"), ("10", "10")):
    simulated(participant, "random", seed)
# Two registrations: $23.15 and $23.27 on the final screens.
simulated("7", "random", "38")
simulated("7", "random", "6", append=True)
# Two registrations paid in different currencies.
simulated("8", "best")
simulated("8", "left", settings=euro, append=True)
# A choice row whose button contradicts its data line; marked as a real run.
simulated("9", "random", "9")
edit("9.session.csv", lambda t: t.replace(",1,12,left,", ",1,12,rightX,", 1).replace(",1,12,right,", ",1,12,left,", 1)
     .replace(",1,12,rightX,", ",1,12,right,").replace("simulated=1", "simulated=0"))
# A currency text with terminal controls.
simulated("11", "right", settings=odd)
# No finished game: three trials, then the program was killed.
simulated("12", "left")
edit("12.csv", lambda t: "\r\n".join(t.split("\r\n")[:4]) + "\r\n")
edit("12.session.csv", lambda t: "\r\n".join(t.split("\r\n")[:6]) + "\r\n")
# A data file without its session record, and files that are no participant's.
simulated("13", "right")
os.remove(os.path.join(study, "13.session.csv"))
shutil.copy(os.path.join(study, "1.session.csv"), os.path.join(study, "14.session.csv"))
open(os.path.join(study, "payments.csv"), "wb").close()
open(os.path.join(study, "notes.csv"), "wb").write(b"participant,remark\r\n7,came late\r\n")
open(os.path.join(study, "007.csv"), "wb").write(b"not a data file\r\n")

# A practice file's registered row has the keys of the program's own
# (experiment_e2e_test holds the same list).
registered = read_session(os.path.join(study, "1.session.csv"))[0]
check(registered["event"] == "registered" and list(registered["detail"]) == [
    "version", "computer", "os", "screen", "scale", "dpi", "instructions", "instructions_sha256",
    "left_option_button", "simulated"], "the keys of a simulated registered row: %s" % list(registered["detail"]))

participants = ["-3", "1", "2", "7", "8", "9", "10", "11", "12", "13"]
expected_trials, expected_payments = [], []
for participant in participants:
    trials, payment = expected_tables(participant, study, Decimal(50), "$")
    expected_trials += trials
    expected_payments.append(payment)

status, out, err = run(report, "--csv", "--settings", lab, study)
check(status == 0, "--csv: status %d: %s" % (status, err))
trial_table = compare(out.decode(errors="replace"), expected_trials, "--csv")
check(out.count(b"\r\n") == len(expected_trials) + 1, "--csv: every line ends with CR LF")
status, payments_out, err = run(report, "--payments", "--settings", lab, study)
check(status == 0, "--payments: status %d: %s" % (status, err))
payments = {row[0]: row + ["?"] * 10 for row in compare(payments_out.decode(errors="replace"), expected_payments, "--payments")}
payments = {p: payments.get(p, ["?"] * 10) for p in participants}
print("%d trial rows and %d payment rows recomputed independently" % (len(expected_trials), len(expected_payments)))

# --- The faults, one by one ---------------------------------------------------

# What the final screens showed, added up: 23.15 + 23.27.
check(payments["7"][5] == "46.42", "participant 7 is paid %s, not the $46.42 the screens showed" % payments["7"][5])
# Amounts in two currencies are never added.
check(payments["8"][5:7] == ["NA", "NA"] and "currency_changed" in payments["8"][7],
      "participant 8 (paid in $ and EUR): %s" % payments["8"])
# A choice row that contradicts its data line is flagged and not carried.
check("session_mismatch" in payments["9"][7], "participant 9's contradictory row is not flagged")
row_12 = [r for r in trial_table if r[:4] == ["9", "1", "1", "12"]]
check(row_12 and row_12[0][9] == "NA", "the contradictory button reaches --csv: %s" % row_12)
# No finished game: rate and currency from nobody else's files.
check(payments["12"][4:7] == ["NA", "0.00", "NA"], "participant 12 without a finished game: %s" % payments["12"])
# Practice files are marked; the edited one is not.
check("simulated" in payments["1"][7] and "simulated" not in payments["9"][7], "the simulated flag")
check({r[20] for r in trial_table[1:] if r[0] == "9"} == {"FALSE"}, "the simulated column of participant 9")
# Only the files the program names are read; the others are listed.
check(b"007.csv (not named as the program names its files)" in err and b"notes.csv" in err
      and b"payments.csv" in err and b"14.session.csv (no data file 14.csv beside it)" in err,
      "the files skipped are not listed: %r" % err)
check(not any(row[0] in ("payments", "notes", "007") for row in trial_table), "a stray file was read")
# Control characters never reach the terminal.
for arguments in (["--settings", lab, study], ["--payments", "--settings", lab, study],
                  ["--settings", lab, os.path.join(study, "11.csv"), os.path.join(work, "missing.csv")]):
    status, out, err = run(report, *arguments)
    controls = re.findall(rb"[\x00-\x09\x0b\x0c\x0e-\x1f\x7f]", out + err)
    check(not controls, "control characters printed by %s: %r" % (arguments[:-1], controls[:3]))
check(b"\\x1B]0;gotcha\\x07$" in out, "the currency's controls are not written out: %r" % out[:200])

# --- Extreme rates: refused with the line, or written in full ----------------

extreme = os.path.join(work, "extreme")
os.makedirs(extreme)
shutil.copy(os.path.join(study, "2.csv"), extreme)
for rate in ("inf", "1e308", "-1", "nan"):
    record = open(os.path.join(study, "2.session.csv"), "rb").read().decode()
    record = re.sub(r"rate=[^;]*", "rate=" + rate, record, count=1)
    open(os.path.join(extreme, "2.session.csv"), "wb").write(record.encode())
    for mode in ([], ["--payments"], ["--csv"]):
        status, out, err = run(report, *mode, "--settings", lab, extreme)
        check(status == 1 and b"the feedback after game 1 of registration 1 has the rate \"" + rate.encode()
              + b"\", not a number from 0 to 1000000000" in err and not out,
              "rate %s %s: status %d, %r" % (rate, mode, status, err[:300]))
for rate in ("0.0000000000000000000000000000000000000001", "1e-70"):
    tiny = os.path.join(work, "tiny" + rate[-2:])
    os.makedirs(tiny)
    open(os.path.join(tiny, "config.ini"), "wb").write(rate.encode() + b"\r\n$\r\n")
    status, _, err = run(simulate, "--settings", tiny, "5", "best", cwd=tiny)
    written = set(re.findall(r"rate=([^;]*)", open(os.path.join(tiny, "5.session.csv"), errors="replace").read()))
    check(status == 0 and len(written) == 1 and NUMBER.fullmatch(min(written)) and Decimal(written.pop()) == Decimal(rate),
          "choicetask-simulate with the rate %s wrote %r" % (rate, written))
    os.remove(os.path.join(tiny, "config.ini"))
    status, out, err = run(report, "--payments", tiny)
    row = list(csv.reader(io.StringIO(out.decode(errors="replace"))))[-1] if status == 0 else []
    check(len(row) > 4 and NUMBER.fullmatch(row[4]) and Decimal(row[4]) == Decimal(rate),
          "--payments with the rate %s: %r %r" % (rate, out[-200:], err))

# --- The psych-DS dataset -----------------------------------------------------

# Written from psych-DS 1.0: what dataset_description.json must hold, and how
# the files in data/ are named (keywords, then "_data.csv").
REQUIRED_KEYS = {"@context": str, "@type": str, "name": str, "description": str, "variableMeasured": list}
DATA_FILE_NAME = re.compile(r"([a-z]+-[a-zA-Z0-9]+)(_[a-z]+-[a-zA-Z0-9]+)*_data\.csv")

dataset = os.path.join(work, "dataset")
status, out, err = run(report, "--dataset", dataset, "--settings", lab, study)


def check_dataset():
    description = json.load(open(os.path.join(dataset, "dataset_description.json"), encoding="utf-8"))
    for key, kind in REQUIRED_KEYS.items():
        check(isinstance(description.get(key), kind), "dataset_description.json: %s missing or not a %s" % (key, kind))
    check(description.get("@context") in ("https://schema.org/", "https://schema.org")
          and description.get("@type") == "Dataset", "dataset_description.json: not a schema.org Dataset")
    codebook = {}
    for variable in description.get("variableMeasured", []):
        check(variable.get("@type") == "PropertyValue" and isinstance(variable.get("name"), str)
              and variable.get("description"), "a variableMeasured entry lacks its type, name or description: %s"
              % variable)
        codebook[variable.get("name")] = variable
        for level in variable.get("valueReference", []):
            check(level.get("termCode") and level.get("name"), "a level without its code or meaning: %s" % level)
    check(codebook["response_ms"].get("unitText") == "ms" and codebook["points"].get("unitText") == "points",
          "units missing from the codebook")
    check({level["termCode"] for level in codebook["input"]["valueReference"]} == {"mouse", "keyboard", "other"},
          "the input levels")
    data_files = []
    for root, folders, names in os.walk(os.path.join(dataset, "data")):
        if os.path.basename(root) == "raw_data":
            continue
        for name in names:
            data_files.append(os.path.join(root, name))
            check(DATA_FILE_NAME.fullmatch(name), "data/%s is not named with keywords" % name)
            with open(os.path.join(root, name), newline="", encoding="utf-8") as f:
                table = list(csv.reader(f))
            check(table and len(set(table[0])) == len(table[0]) and all(table[0]), "data/%s: its header" % name)
            check(all(len(row) == len(table[0]) for row in table), "data/%s: rows of unequal length" % name)
            missing = [column for column in table[0] if column not in codebook]
            check(not missing, "data/%s: columns not in variableMeasured: %s" % (name, missing))
    check(len(data_files) == 2 + 2 * len(participants) - 1, "data/ holds %d files" % len(data_files))
    check(open(os.path.join(dataset, "data", "description-trials_data.csv"), "rb").read()
          == run(report, "--csv", study)[1], "the dataset's trial table is not --csv's")
    check(open(os.path.join(dataset, "data", "description-payments_data.csv"), "rb").read() == payments_out,
          "the dataset's payment sheet is not --payments'")
    check(os.path.exists(os.path.join(dataset, "data", "subject-minus3_data.csv")), "participant -3's file name")
    for name in ("7.csv", "7.session.csv"):
        check(open(os.path.join(dataset, "data", "raw_data", name), "rb").read()
              == open(os.path.join(study, name), "rb").read(), "raw_data/%s is not the file as recorded" % name)
    readme = open(os.path.join(dataset, "README.md"), encoding="utf-8").read()
    check("versions: 1." in readme and "monotonic" in readme and "*pressed*" in readme and "*shown*" in readme,
          "README.md lacks the versions or the timing definitions")
    status, _, err = run(report, "--dataset", dataset, study)
    check(status == 2 and b"exists already" in err, "--dataset over an existing folder: %d %r" % (status, err))


if check(status == 0 and not out, "--dataset: status %d: %r" % (status, err)):
    check_dataset()

for failure in failures:
    print("FAIL", failure)
print("%d failed" % len(failures) if failures else "all cases passed")
sys.exit(1 if failures else 0)
