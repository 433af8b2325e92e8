#!/usr/bin/env python3
"""The experimenter's guide as a reader meets it.

The guide is rendered with pandoc as GitHub renders it: every code block must
come out as one (a language named, no fence swallowed into it or left in the
text). Then its R and pandas code runs as it stands, on the practice files its
own commands make, and must print what the guide says it prints; the loaders
must refuse a file cut off mid-line and another program's file with a message.

    guide_test.py GUIDE PANDOC RSCRIPT BUILD_FOLDER WORK_FOLDER

Runs under a Python with pandas (the guide's Python code needs it).
"""
import json
import os
import shutil
import subprocess
import sys

guide, pandoc, rscript, build, work = sys.argv[1:6]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


# --- The code blocks as pandoc renders them --------------------------------

document = json.loads(subprocess.run([pandoc, "-f", "gfm", "-t", "json", guide], capture_output=True,
                                     check=True).stdout)
blocks = []


def walk(node):
    if isinstance(node, dict):
        if node.get("t") == "CodeBlock":
            (_, classes, _), text = node["c"]
            blocks.append((classes[0] if classes else None, text))
        elif node.get("t") == "Str" and "```" in node["c"]:
            failures.append("a code fence rendered as text: %r" % node["c"])
        for value in node.values():
            walk(value)
    elif isinstance(node, list):
        for value in node:
            walk(value)


walk(document["blocks"])
fences = sum(1 for line in open(guide, encoding="utf-8") if line.lstrip().startswith("```"))
check(len(blocks) * 2 == fences, "%d code blocks rendered from %d fence lines" % (len(blocks), fences))
for language, text in blocks:
    check(language in ("text", "sh", "bat", "r", "python"), "a code block in %r: %r" % (language, text[:60]))
    check(not any(line.lstrip().startswith("```") for line in text.split("\n")),
          "a fence inside a code block: %r" % text[:60])


def block(language, start):
    found = [text for lang, text in blocks if lang == language and start in text]
    check(len(found) == 1, "%d %s blocks with %r" % (len(found), language, start))
    return found[0] + "\n" if found else ""


# --- The guide's code, run as it stands -----------------------------------

home = os.path.join(work, "home")
shutil.rmtree(work, ignore_errors=True)
os.makedirs(home)
environment = dict(os.environ, HOME=home, PATH=build + os.pathsep + os.environ["PATH"])
practice = os.path.join(home, "practice")


def run(command, script):
    done = subprocess.run(command, input=script, cwd=practice if os.path.isdir(practice) else home,
                          capture_output=True, text=True, env=environment, timeout=120)
    return done.returncode, done.stdout, done.stderr


status, _, err = run(["sh", "-e"], block("sh", "choicetask-simulate 99 random 5"))
check(status == 0, "the practice commands failed: %s" % err)

r_loader = block("r", "read_choicetask <- function")
python_loader = block("python", "def read_choicetask")
for language, command, loader, example, prints in (
        ("R", [rscript, "-"], r_loader, block("r", "last <- trials[!duplicated("),
         block("text", " registration game Trial winnings complete")),
        ("Python", [sys.executable, "-"], python_loader, block("python", 'last = trials.groupby('),
         block("text", " registration  game  Trial  winnings  complete"))):
    status, out, err = run(command, loader + example)
    check(status == 0 and out == prints, "the guide's %s example prints\n%s%s\ninstead of\n%s" % (language, out,
                                                                                                 err, prints))
    join = block(language.lower(), "read_session <- function" if language == "R" else "def read_session")
    status, out, err = run(command, loader + join)
    check(status == 0, "the guide's %s join fails: %s" % (language, err))

# The loaders refuse what is not a whole data file of the program.
shutil.copy(os.path.join(practice, "21.csv"), os.path.join(practice, "lf.csv"))
with open(os.path.join(practice, "21.csv"), "rb") as f:
    data = f.read()
with open(os.path.join(practice, "21.session.csv"), "rb") as f:
    record = f.read()
cases = {
    "cut.csv": (data[:1000], "read_choicetask", "cut.csv: the last line has no line end"),
    "foreign.csv": (b"participant,remark\r\n7,came late\r\n", "read_choicetask",
                    "foreign.csv: not a data file of choicetask (line 1 is not its header line)"),
    "edited.csv": (b"\r\n".join(data.split(b"\r\n")[:7]) + b"\r\n1,1,5,5,1,150,\r\n", "read_choicetask",
                   "edited.csv, line 8: not a data line of choicetask: "),
    "cut.session.csv": (record[:3000], "read_session", "cut.session.csv: the last line has no line end"),
    "foreign.session.csv": (data, "read_session", "foreign.session.csv: not a session record of choicetask"),
}
for name, (content, _, _) in cases.items():
    with open(os.path.join(practice, name), "wb") as f:
        f.write(content)
# One program per language tries every case and prints each message.
for language, command, loader, call in (
        ("R", [rscript, "-"], r_loader,
         'tryCatch({ %s("%s"); cat("read\\n") }, error = function(e) cat(conditionMessage(e), "\\n"))\n'),
        ("Python", [sys.executable, "-"], python_loader,
         'try:\n    %s("%s")\n    print("read")\nexcept ValueError as e:\n    print(e)\n')):
    join = block(language.lower(), "read_session <- function" if language == "R" else "def read_session")
    definitions = loader + join.split("\nsession <-")[0].split("\nsession =")[0] + "\n"
    status, out, err = run(command, definitions + "".join(call % (function, name)
                                                          for name, (_, function, _) in cases.items()))
    lines = out.split("\n")
    check(status == 0 and len(lines) > len(cases), "%s: the cases did not run: %s" % (language, err[-300:]))
    for line, (name, (_, function, message)) in zip(lines, cases.items()):
        check(line.startswith(message), "%s's %s on %s: %r" % (language, function, name, line))

for failure in failures:
    print("FAIL", failure)
print("%d failed" % len(failures) if failures else "all cases passed")
sys.exit(1 if failures else 0)
