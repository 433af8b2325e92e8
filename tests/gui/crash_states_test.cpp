// What a power cut can leave on the disk, and what the program and the report
// make of it. A short session is played through the real windows while every
// change the files layer makes is recorded. From the record every state a
// power cut could leave is built: the disk as it was after each step, with
// each write not yet synced dropped, cut at a 512-byte sector, or with its
// sectors (and the file's length) reaching the disk in any order, and each
// new folder entry not yet synced missing. For every state:
//   (a) every trial acknowledged on screen is in the data file, and nothing
//       the program took back (a failed append) has come back;
//   (b) the program started again on it with the same ID appends whole lines;
//   (c) the report reads the result and names exactly the lines a crash cut.
#include "choice_runs.h"
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/files.h"
#include "rules/experiment.h"
#include "rules/feedback/earnings_report.h"
#include "rules/session_record.h"
#include "tools/report_inputs.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace ct;
using namespace ct::test;

namespace {

constexpr std::size_t kSector = 512;
const std::string kData = "42.csv";
const std::string kRecord = "42.session.csv";
const QByteArray kInstructions = "{\\rtf1\\ansi Read this first.\\par}";

// One entry of the record: a step of the files layer, or the moment the
// participant saw the result of an action (a click came back).
struct Entry {
    bool acknowledged = false;
    FileStep::Kind kind = FileStep::Kind::Write;
    std::string name; // the file, relative to the data folder
    std::uint64_t offset = 0;
    std::string bytes;
};

class StepRecorder {
public:
    StepRecorder()
    {
        setFileStepWatcher([this](const FileStep &step) {
            entries.push_back({false, step.kind, step.path.filename().string(), step.offset, std::string(step.bytes)});
            return false;
        });
    }
    ~StepRecorder() { setFileStepWatcher({}); }
    void acknowledge()
    {
        Entry mark;
        mark.acknowledged = true;
        entries.push_back(mark);
    }
    std::vector<Entry> entries;
};

// The two files of participant 42 as a crash left them; a file that is not
// there is missing from the map.
using DiskState = std::map<std::string, std::string>;

// The disk under the files layer: the bytes the program sees, and what is on
// stable storage of the files and of the folder.
class Disk {
public:
    void apply(const Entry &e)
    {
        using Kind = FileStep::Kind;
        switch (e.kind) {
        case Kind::Create:
            m_names[e.name] = int(m_files.size());
            m_files.emplace_back();
            m_folderPending.push_back({e.name, m_names[e.name]});
            break;
        case Kind::Remove:
            m_names.erase(e.name);
            m_folderPending.push_back({e.name, -1});
            break;
        case Kind::SyncFolder:
            m_folderSaved = m_names;
            m_folderPending.clear();
            break;
        case Kind::Write:
        case Kind::Truncate:
        case Kind::Sync: {
            File &f = m_files[std::size_t(m_names.at(e.name))];
            if (e.kind == Kind::Sync) {
                f.saved = f.now;
                f.pending.clear();
            } else {
                f.pending.push_back(e);
                f.now = applied(f.now, e);
            }
        }
        }
    }

    std::string now(const std::string &name) const
    {
        const auto found = m_names.find(name);
        return found == m_names.end() ? std::string() : m_files[std::size_t(found->second)].now;
    }

    // Every state a power cut at this moment can leave of the two files.
    std::vector<DiskState> crashStates() const
    {
        std::vector<DiskState> states;
        for (std::size_t kept = 0; kept <= m_folderPending.size(); ++kept) {
            std::map<std::string, int> names = m_folderSaved;
            for (std::size_t i = 0; i < kept; ++i) {
                if (m_folderPending[i].second < 0)
                    names.erase(m_folderPending[i].first);
                else
                    names[m_folderPending[i].first] = m_folderPending[i].second;
            }
            std::vector<DiskState> partial(1);
            for (const std::string &name : {kData, kRecord}) {
                const auto found = names.find(name);
                if (found == names.end())
                    continue;
                std::vector<DiskState> grown;
                for (const std::string &content : contents(m_files[std::size_t(found->second)]))
                    for (DiskState s : partial) {
                        s[name] = content;
                        grown.push_back(std::move(s));
                    }
                partial = std::move(grown);
            }
            states.insert(states.end(), partial.begin(), partial.end());
        }
        return states;
    }

private:
    struct File {
        std::string now;
        std::string saved;
        std::vector<Entry> pending; // writes and cuts since the last sync
    };

    static std::string applied(std::string content, const Entry &e)
    {
        if (e.kind == FileStep::Kind::Truncate) {
            content.resize(std::size_t(e.offset));
            return content;
        }
        if (content.size() < e.offset + e.bytes.size())
            content.resize(std::size_t(e.offset + e.bytes.size()), '\0');
        content.replace(std::size_t(e.offset), e.bytes.size(), e.bytes);
        return content;
    }

    // What of a file's steps since its last sync can have reached the disk:
    // the steps in order up to some point, and the next write torn: any of its
    // sectors written or not, the length old, new or at a sector boundary
    // between (unwritten sectors read as NUL bytes where the file grew).
    static std::vector<std::string> contents(const File &f)
    {
        std::vector<std::string> out;
        const std::size_t n = f.pending.size();
        std::string base = f.saved;
        for (std::size_t i = 0; i <= n; ++i) {
            // With many steps unsynced (a sync missing), the first few and the
            // last few are enough to show it.
            const bool considered = n <= 8 || i <= 3 || i + 4 >= n;
            if (considered)
                out.push_back(base);
            if (i == n)
                break;
            const Entry &next = f.pending[i];
            const std::string after = applied(base, next);
            if (considered && next.kind == FileStep::Kind::Write && !next.bytes.empty())
                torn(base, after, next, out);
            base = after;
        }
        return out;
    }

    static void torn(const std::string &before, const std::string &after, const Entry &write,
                     std::vector<std::string> &out)
    {
        const std::size_t first = std::size_t(write.offset) / kSector;
        const std::size_t last = (std::size_t(write.offset) + write.bytes.size() - 1) / kSector;
        const std::size_t sectors = last - first + 1;
        std::vector<std::size_t> lengths = {before.size(), after.size()};
        for (std::size_t s = first + 1; s <= last; ++s)
            if (s * kSector > before.size() && s * kSector < after.size())
                lengths.push_back(s * kSector);
        const std::size_t masks = sectors <= 4 ? (std::size_t(1) << sectors) : sectors + 1;
        for (std::size_t m = 0; m < masks; ++m) {
            // Few sectors: every subset; many: the first k sectors.
            auto written = [&](std::size_t sector) {
                const std::size_t k = sector - first;
                return sectors <= 4 ? ((m >> k) & 1) != 0 : k < m;
            };
            for (std::size_t length : lengths) {
                std::string content(length, '\0');
                for (std::size_t p = 0; p < length; ++p) {
                    const std::size_t sector = p / kSector;
                    if (sector >= first && sector <= last && written(sector))
                        content[p] = after[p];
                    else if (p < before.size())
                        content[p] = before[p];
                }
                out.push_back(std::move(content));
            }
        }
    }

    std::map<std::string, int> m_names;
    std::map<std::string, int> m_folderSaved;
    std::vector<std::pair<std::string, int>> m_folderPending; // -1: removed
    std::vector<File> m_files;
};

// The lines the program wrote whole, by file: any other line in a file is one
// a crash cut (or filled with NUL bytes).
using WholeLines = std::map<std::string, std::set<std::string>>;

void collectWholeLines(const std::vector<Entry> &entries, WholeLines &whole)
{
    for (const Entry &e : entries) {
        if (e.acknowledged || e.kind != FileStep::Kind::Write)
            continue;
        std::size_t start = 0;
        for (std::size_t end = e.bytes.find('\n'); end != std::string::npos; end = e.bytes.find('\n', start)) {
            // A write starts on a line of its own, or with the line end of a
            // line a crash cut; it is never a whole line.
            const std::string line = e.bytes.substr(start, end + 1 - start);
            if (line != "\n" && line != "\r\n")
                whole[e.name].insert(line);
            start = end + 1;
        }
    }
}

std::set<int> cutLines(const std::string &content, const std::set<std::string> &whole)
{
    std::set<int> cut;
    int number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        ++number;
        const std::size_t end = content.find('\n', start);
        const std::string line = content.substr(start, end == std::string::npos ? end : end + 1 - start);
        if (!whole.contains(line))
            cut.insert(number);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return cut;
}

// The end of a file in a state, readable, for a failure message.
std::string tailOf(const std::map<std::string, std::string> &state, const std::string &name)
{
    const auto found = state.find(name);
    if (found == state.end())
        return name + " missing";
    const std::string &bytes = found->second;
    std::string out = name + " ends ";
    for (char c : bytes.substr(bytes.size() > 60 ? bytes.size() - 60 : 0))
        out += c == '\0'   ? std::string("\\0")
               : c == '\r' ? std::string("\\r")
               : c == '\n' ? std::string("\\n")
                           : std::string(1, c);
    return out;
}

// Plays the session through the real windows in the working folder. The
// left option sits on cmdRight (a draw of 0.7). `choices` per game; `failAt`
// the trial of the last game whose append fails as on a full disk (0: none).
struct Script {
    std::vector<std::string> games;
    int failAt = 0;
};

class Session {
public:
    Session(const QString &programFolder, StepRecorder *recorder)
        : m_experiment(
            m_state, m_clock, [] { return 0.7; }, QDir(programFolder).filesystemPath()),
          m_recorder(recorder)
    {
    }
    ~Session() { closeAllWindows(); }

    bool play(const Script &script)
    {
        auto *registration = qobject_cast<frmSubjects *>(m_experiment.start());
        if (!registration)
            return false;
        registration->Txt_id->setText(QStringLiteral("42"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);
        acknowledge();
        auto *instructions = qobject_cast<frmInstructions *>(topLevel(QStringLiteral("frmInstructions")));
        if (!instructions)
            return false;
        QTest::mouseClick(instructions->Command1, Qt::LeftButton);
        acknowledge();
        for (std::size_t g = 0; g < script.games.size(); ++g) {
            QPointer<frmTesting2> game = qobject_cast<frmTesting2 *>(topLevel(QStringLiteral("frmTesting2")));
            if (!game)
                return false;
            QTest::mouseClick(game->cmdGo, Qt::LeftButton);
            acknowledge();
            const std::string choices = expandRuns(script.games[g]);
            for (std::size_t t = 0; t < choices.size(); ++t) {
                if (!game)
                    return false;
                if (g + 1 == script.games.size() && int(t + 1) == script.failAt)
                    m_experiment.context().appendFaults.bytesBeforeDiskFull = 10;
                QTest::mouseClick(choices[t] == 'L' ? game->cmdRight : game->cmdLeft, Qt::LeftButton);
                acknowledge();
                for (int i = 0; i < 5 && game && game->isPausing(); ++i)
                    m_clock.finishPause();
            }
            if (g + 1 < script.games.size()) {
                auto *feedback = qobject_cast<frmFeedback1 *>(topLevel(QStringLiteral("frmFeedback1")));
                if (!feedback)
                    return false;
                QTest::mouseClick(feedback->Command1, Qt::LeftButton);
                acknowledge();
            }
        }
        return true;
    }

private:
    void acknowledge()
    {
        if (m_recorder)
            m_recorder->acknowledge();
    }

    Module1 m_state;
    ManualClock m_clock;
    Experiment m_experiment;
    StepRecorder *m_recorder;
};

void writeFile(const QString &path, const std::string &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), qsizetype(bytes.size())) != qsizetype(bytes.size()))
        std::abort();
}

// The lines the report names as cut by a crash, by file.
std::map<std::string, std::set<int>> namedCutLines(const QString &report)
{
    static const QRegularExpression note(
        QStringLiteral("^Note: line (\\d+) (of the session record )?.*by a crash.* skipped"),
        QRegularExpression::MultilineOption);
    std::map<std::string, std::set<int>> named;
    for (auto it = note.globalMatch(report); it.hasNext();) {
        const auto match = it.next();
        named[match.capturedLength(2) > 0 ? kRecord : kData].insert(match.captured(1).toInt());
    }
    return named;
}

int wholeHeaders(const std::string &data)
{
    int count = 0;
    for (std::size_t at = data.find(kHeaderLine); at != std::string::npos; at = data.find(kHeaderLine, at + 1))
        count += at == 0 || data[at - 1] == '\n' ? 1 : 0;
    return count;
}

} // namespace

class CrashStatesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { closeAllWindows(); }

    void everyStateAPowerCutCanLeave()
    {
        QElapsedTimer elapsed;
        elapsed.start();
        QTemporaryDir program;
        QVERIFY(program.isValid());
        writeFile(program.filePath(QStringLiteral("config.ini")), "25\r\n$\r\n");
        ProgramRecorder boxes;

        // The session: game 1 played to its end, then three trials of game
        // 2, and the fourth fails half-way as on a full disk.
        std::vector<Entry> entries;
        {
            WorkingFolder folder;
            folder.write(QStringLiteral("instructions_condition_1.rtf"), kInstructions);
            StepRecorder recorder;
            Session session(program.path(), &recorder);
            QVERIFY(session.play({{"R53", "L4"}, 4}));
            entries = recorder.entries;
        }
        QCOMPARE(boxes.exitStatuses.size(), std::size_t(1)); // the full disk stopped it

        // Every crash state, with what the participant had seen by then.
        struct Explored {
            std::string acknowledged; // the data file when the last action came back
            bool writing = false;     // a data file write since then
        };
        std::map<DiskState, std::vector<Explored>> states;
        std::size_t explored = 0;
        Disk disk;
        Explored seen;
        auto crashHere = [&] {
            for (DiskState &state : disk.crashStates()) {
                ++explored;
                states[std::move(state)].push_back(seen);
            }
        };
        crashHere();
        for (const Entry &e : entries) {
            if (e.acknowledged) {
                seen = {disk.now(kData), false};
                crashHere(); // the moment after: the result on screen
                continue;
            }
            disk.apply(e);
            seen.writing = seen.writing || (e.name == kData && e.kind == FileStep::Kind::Write);
            crashHere();
        }

        WholeLines whole;
        collectWholeLines(entries, whole);
        std::map<char, int> violations;
        std::vector<std::string> examples;
        bool violated = false;
        auto violation = [&](char check, const DiskState &state, const std::string &what) {
            ++violations[check];
            violated = true;
            if (examples.size() < 5)
                examples.push_back(std::string(1, check) + ": " + what + " [" + tailOf(state, kData) + "; "
                                   + tailOf(state, kRecord) + "]");
        };
        int violating = 0;
        for (const auto &[state, moments] : states) {
            violated = false;
            const auto inState = [&state](const std::string &name) {
                const auto found = state.find(name);
                return found == state.end() ? std::string() : found->second;
            };
            // (a) What the participant saw is on the disk, and no more.
            for (const Explored &m : moments) {
                const std::string data = inState(kData);
                if (!data.starts_with(m.acknowledged)) {
                    violation('a', state, "a trial acknowledged on screen is missing");
                    break;
                }
                if (data.size() > m.acknowledged.size() && !m.writing) {
                    violation('a', state, "bytes the program took back are in the file");
                    break;
                }
            }
            // (b) The program started again on this state appends whole lines.
            WorkingFolder folder;
            folder.write(QStringLiteral("instructions_condition_1.rtf"), kInstructions);
            for (const auto &[name, bytes] : state)
                writeFile(folder.file(QString::fromStdString(name)), bytes);
            StepRecorder restartSteps;
            const std::size_t boxesBefore = boxes.boxes.size();
            if (!Session(program.path(), &restartSteps).play({{"L1"}, 0}) || boxes.boxes.size() != boxesBefore) {
                violation('b', state,
                          "the program did not start again: "
                              + (boxes.boxes.size() > boxesBefore ? boxes.boxes.back().text.toStdString()
                                                                  : std::string("a window is missing")));
                ++violating;
                continue;
            }
            WholeLines allWhole = whole;
            collectWholeLines(restartSteps.entries, allWhole);
            std::map<std::string, std::string> after;
            for (const std::string &name : {kData, kRecord}) {
                after[name] = folder.read(QString::fromStdString(name)).toStdString();
                const std::string before = inState(name);
                if (!after[name].starts_with(before)) {
                    violation('b', state, name + ": bytes before the new lines changed");
                    continue;
                }
                std::string added = after[name].substr(before.size());
                if (!before.empty() && !before.ends_with('\n')) {
                    const std::string ending = before.ends_with('\r') ? "\n" : "\r\n";
                    if (!added.starts_with(ending)) {
                        violation('b', state, name + ": the new lines do not start on a line of their own");
                        continue;
                    }
                    added.erase(0, ending.size());
                }
                if (added.empty() || !added.ends_with("\r\n") || !cutLines(added, allWhole[name]).empty())
                    violation('b', state, name + ": the new lines are not whole lines");
            }
            // (c) The report reads the result and names exactly the cut lines;
            // registrations are counted from whole header lines alike.
            const LoadedParticipant loaded = loadParticipant(
                {folder.file(QString::fromStdString(kData)), QStringLiteral("42")});
            if (!loaded.participant) {
                violation('c', state, "the report refused it: " + loaded.error.toStdString());
            } else {
                const ParticipantData &p = *loaded.participant;
                const QString report = earningsReport(p.fileName, p.data, {25.0, QStringLiteral("$")}, QLocale::c(),
                                                      p.session ? &*p.session : nullptr);
                auto named = namedCutLines(report);
                const session::ReadResult rows = session::readSessionRecord(after[kRecord]);
                // A data line is whole when its six numbers are (they end in
                // " ,"); a row cut before its CR may look whole, and is cut.
                std::set<int> recordCut = cutLines(after[kRecord], allWhole[kRecord]);
                const std::string record = inState(kRecord);
                if (!record.empty() && !record.ends_with('\n') && !record.ends_with('\r'))
                    recordCut.insert(int(std::count(record.begin(), record.end(), '\n')) + 1);
                if (named[kData] != cutLines(after[kData], allWhole[kData]) || named[kRecord] != recordCut)
                    violation('c', state, "the report does not name exactly the cut lines:\n" + report.toStdString());
                else if (report.contains(QStringLiteral("do not match")))
                    violation('c', state, "the session record does not match the data file:\n" + report.toStdString());
                else if (int(p.data.registrations.size()) != wholeHeaders(after[kData]) || rows.rows.empty()
                         || rows.rows.back().registration != wholeHeaders(after[kData]))
                    violation('c', state, "registrations not counted from the whole header lines");
            }
            if (violated)
                ++violating;
        }
        const QString summary = QStringLiteral(
                                    "crash states: %1 explored, %2 distinct, %3 violating (a %4, b %5, c %6) "
                                    "from %7 recorded steps, in %8 s")
                                    .arg(explored)
                                    .arg(states.size())
                                    .arg(violating)
                                    .arg(violations['a'])
                                    .arg(violations['b'])
                                    .arg(violations['c'])
                                    .arg(entries.size())
                                    .arg(double(elapsed.elapsed()) / 1000.0, 0, 'f', 1);
        qInfo().noquote() << summary;
        for (const std::string &e : examples)
            qInfo().noquote() << QString::fromStdString(e);
        QCOMPARE(violating, 0);
    }
};

QTEST_MAIN(CrashStatesTest)
#include "crash_states_test.moc"
