#include "tools/dataset.h"

#include "platform/files.h"
#include "rules/session_record.h"
#include "tools/study_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>

#include <set>

namespace ct {
namespace {

struct Level {
    const char *value;
    const char *meaning;
};

// One column of the tables: the codebook entry.
struct Variable {
    const char *name;
    const char *description;
    const char *unit = nullptr; // none for text and categories
    std::optional<double> minimum = std::nullopt;
    std::optional<double> maximum = std::nullopt;
    std::vector<Level> levels = {};
};

const std::vector<Level> kButtons = {{"left", "the button labelled Left"}, {"right", "the button labelled Right"}};
const std::vector<Level> kTrueFalse = {{"TRUE", "yes"}, {"FALSE", "no"}};

const Variable kVariables[] = {
    {"participant", "The participant ID: the data file's name without .csv."},
    {"registration",
     "Which registration of this ID: 1 for the first header line in the data file, 2 for the next; a participant "
     "registered again after a crash has two.",
     nullptr, 1},
    {"game", "The game within the registration.", nullptr, 1, 8},
    {"trial",
     "The trial within the game, from 1 (the data file's Trial column). In the session record's closed_early, "
     "end_asked and end_answered rows: the trials played of the game.",
     nullptr, 0, 150},
    {"choice",
     "The option chosen (the data file's Choice column): the options, not the buttons.",
     nullptr,
     std::nullopt,
     std::nullopt,
     {{"1", "the left option, 5 points"}, {"0", "the right option, 10 points"}}},
    {"payoff", "The points the trial earned: 5 or 10, or less on a game's last trial (PayOff).", "points", 0, 10},
    {"winnings", "The game's points so far, this trial included (winnings).", "points", 0, 760},
    {"history_left",
     "The share of left-option choices among the last ten choices, this one included (historyLeft); the positions "
     "before trial 1 count as left-option choices.",
     "proportion", 0, 1},
    {"game_units_remaining",
     "The game units left before this trial's cost (1 + 2 x (1 - history_left)) was taken off "
     "(GameUnitsRemaining).",
     "game units", 0, 150},
    {"button",
     "The button pressed, from the session record's choice row. In the trial tables NA where the record has no row "
     "for the trial or its row contradicts the data line.",
     nullptr, std::nullopt, std::nullopt, kButtons},
    {"response_ms",
     "From the moment the choice buttons were shown (the repaint that drew them was handed to the window system) to "
     "the press (the mouse button or key went down on the button), on the program's monotonic clock; negative for a "
     "press that reached the buttons before they were painted "
     "(an anticipation).",
     "ms"},
    {"complete", "Whether the game ran to its end: its last trial used up the units.", nullptr, std::nullopt,
     std::nullopt, kTrueFalse},
    {"time_utc",
     "The moment of the event, in UTC (ISO 8601 with milliseconds). In the trial tables: the press of the choice.",
     nullptr},
    {"input",
     "The device of the press that made the choice.",
     nullptr,
     std::nullopt,
     std::nullopt,
     {{"mouse", "a mouse button (or a touch the system passed on as one)"},
      {"keyboard", "a key (the space bar) on the focused button"},
      {"other", "no press was seen: the button was clicked by other means (an accessibility tool)"}}},
    {"pause_planned_ms",
     "The pause after the choice as planned: 330 ms per unit of cost. NA (empty in the session record) on a game's "
     "last trial, which has no pause.",
     "ms", 0},
    {"pause_actual_ms",
     "The pause as it lasted: from its start, once the trial's data line was written, to the moment the choice "
     "buttons were shown again.",
     "ms", 0},
    {"left_option_button",
     "The button that carried the left option in this registration, drawn at random at registration.", nullptr,
     std::nullopt, std::nullopt, kButtons},
    {"version", "The version of choicetask that recorded the registration."},
    {"instructions_sha256", "The SHA-256 of the instruction file the participant was shown, in hexadecimal."},
    {"registration_end",
     "How the registration ended, by the session record; NA when no row says (the program was killed, or the "
     "computer stopped).",
     nullptr,
     std::nullopt,
     std::nullopt,
     {{"finished", "after the last game"},
      {"closed_early", "the experimenter ended it, or a window was closed with its close box"},
      {"error", "an error stopped the program"}}},
    {"simulated", "Whether choicetask-simulate wrote the registration (a practice file).", nullptr, std::nullopt,
     std::nullopt, kTrueFalse},
    {"registrations", "The header lines in the participant's data file.", nullptr, 1},
    {"games_finished", "The finished games of every registration (a game the program was ended in is not counted).",
     nullptr, 0},
    {"points", "The points of the finished games of every registration.", "points", 0},
    {"rate",
     "The exchange rate in force at the participant's last finished game: money per 10000 points (from the session "
     "record, else from config.ini).",
     "currency per 10000 points", 0, 1e9},
    {"money",
     "What the final screens showed: each registration's points at the rate read at its last feedback, rounded to "
     "the cent, added up. NA when the registrations were paid in different currencies.",
     "currency", 0},
    {"currency", "The currency text in front of the amounts, as config.ini held it."},
    {"flags",
     "What needs a look before paying, separated by \";\".",
     nullptr,
     std::nullopt,
     std::nullopt,
     {{"closed_early", "the experimenter ended a registration early"},
      {"currency_changed", "the currency text changed between games or registrations"},
      {"error", "an error stopped a registration"},
      {"fewer_than_8_games", "no registration finished all eight games"},
      {"incomplete_game", "the program was ended during a game"},
      {"missing_last_choice_row", "the session record lacks a registration's last choice row (a crash)"},
      {"no_session_record", "there is no session record beside the data file"},
      {"rate_changed", "the exchange rate differed between games"},
      {"registration_without_session_rows", "a registration with trials has no rows in the session record"},
      {"session_mismatch", "the session record's choice rows do not match the data file's trials"},
      {"several_registrations", "the data file holds more than one registration"},
      {"simulated", "choicetask-simulate wrote a registration"}}},
    {"session_date", "The UTC date of each registration (distinct dates separated by \";\")."},
    {"shown_total", "The sum of the totals the final screens showed, by the session record; NA where it records none.",
     "currency", 0},
    {"event",
     "What happened; time_utc and monotonic_ms are the moment given here.",
     nullptr,
     std::nullopt,
     std::nullopt,
     {{"registered", "the header line was written after Run was clicked"},
      {"instructions_shown", "the instructions window was shown"},
      {"game_started", "Go was clicked"},
      {"choice", "a choice button was pressed"},
      {"feedback_shown", "the feedback window was filled in, just before it was shown"},
      {"finished", "Exit was clicked after the last game"},
      {"closed_early", "the ending was confirmed, or a window was closed with its close box"},
      {"error", "an error stopped the program, before its message was shown"},
      {"end_asked", "\"End the experiment now?\" was shown"},
      {"end_answered", "that question was answered (detail answer=yes or no)"}}},
    {"monotonic_ms",
     "The moment of the event on the program's monotonic clock: milliseconds since the program started. Only "
     "differences within one registration mean something.",
     "ms"},
    {"option",
     "The option chosen (the data file's Choice column).",
     nullptr,
     std::nullopt,
     std::nullopt,
     {{"1", "the left option"}, {"0", "the right option"}}},
    {"detail",
     "key=value pairs separated by \";\", percent-encoded (%25, %3B, %0D, %0A); the keys of each event are in "
     "README.md."},
};

QJsonObject variableJson(const Variable &v)
{
    QJsonObject o{{"@type", "PropertyValue"},
                  {"name", QString::fromUtf8(v.name)},
                  {"description", QString::fromUtf8(v.description)}};
    if (v.unit)
        o.insert("unitText", QString::fromUtf8(v.unit));
    if (v.minimum)
        o.insert("minValue", *v.minimum);
    if (v.maximum)
        o.insert("maxValue", *v.maximum);
    if (!v.levels.empty()) {
        QJsonArray levels;
        for (const Level &level : v.levels)
            levels.append(QJsonObject{{"@type", "DefinedTerm"},
                                      {"termCode", QString::fromUtf8(level.value)},
                                      {"name", QString::fromUtf8(level.meaning)}});
        o.insert("valueReference", levels);
    }
    return o;
}

QString keywordValue(const QString &participant)
{
    return participant.startsWith(QLatin1Char('-')) ? QStringLiteral("minus") + participant.mid(1) : participant;
}

QString fileProblem(const QFileDevice &file)
{
    return QStringLiteral("\"%1\" could not be written: %2").arg(file.fileName(), file.errorString());
}

class DatasetBuilder {
public:
    DatasetBuilder(const QString &root, const std::function<void(const QString &)> &report)
        : m_root(root), m_report(report)
    {
    }

    bool open()
    {
        if (!QDir(m_root).mkpath(QStringLiteral("data/raw_data"))) {
            m_report(QStringLiteral("the folder \"%1\" could not be made").arg(m_root + QStringLiteral("/data")));
            return false;
        }
        return start(m_trials, QStringLiteral("data/description-trials_data.csv"), trialTableHeader())
               && start(m_payments, QStringLiteral("data/description-payments_data.csv"), paymentsHeader());
    }

    bool add(const DataFileInput &input, const ParticipantData &p, const Settings *settings)
    {
        std::string trials;
        appendTrialRows(trials, p);
        std::string payment;
        appendPaymentRow(payment, p, settings);
        const QString name = QStringLiteral("data/subject-%1").arg(keywordValue(p.participant));
        if (!write(m_trials, trials) || !write(m_payments, payment)
            || !writeFile(name + QStringLiteral("_data.csv"), trialTableHeader() + trials)
            || !copyRaw(input.path, p.fileName))
            return false;
        if (p.session) {
            for (const auto &[number, run] : p.session->runs)
                if (!run.version.empty())
                    m_versions.insert(run.version);
            const QString record = input.path.chopped(4) + QStringLiteral(".session.csv");
            const ReadResult bytes = readWholeFile(QFileInfo(record).filesystemFilePath(), kMaxDataFileBytes);
            const session::ReadResult rows = session::readSessionRecord(bytes.bytes);
            if (!bytes.ok() || !rows.ok()) {
                m_report(QStringLiteral("\"%1\" changed while the dataset was written").arg(record));
                return false;
            }
            std::string table(session::kHeader);
            for (const session::Row &row : rows.rows)
                table += session::formatRow(row);
            if (!writeFile(name + QStringLiteral("_description-session_data.csv"), table)
                || !copyRaw(record, QFileInfo(record).fileName()))
                return false;
        }
        return true;
    }

    bool finish()
    {
        if (!close(m_trials) || !close(m_payments))
            return false;
        QJsonArray variables;
        for (const Variable &v : kVariables)
            variables.append(variableJson(v));
        const QJsonObject description{
            {"@context", "https://schema.org/"},
            {"@type", "Dataset"},
            {"name", "choicetask study"},
            {"description",
             "Trials, session records and payments of a repeated-choice experiment run with choicetask: each "
             "participant played eight games of a two-button choice task. Written by "
             "choicetask-report " CHOICETASK_VERSION
             " from the participants' data files and session records; see README.md."},
            {"keywords", QJsonArray{"choice task", "repeated choice", "choicetask"}},
            {"variableMeasured", variables},
        };
        return writeFile(QStringLiteral("dataset_description.json"),
                         QJsonDocument(description).toJson(QJsonDocument::Indented).toStdString())
               && writeFile(QStringLiteral("README.md"), readme());
    }

private:
    bool start(QFile &file, const QString &name, const std::string &header)
    {
        file.setFileName(QDir(m_root).filePath(name));
        if (!file.open(QIODevice::WriteOnly)) {
            m_report(fileProblem(file));
            return false;
        }
        return write(file, header);
    }
    bool write(QFile &file, const std::string &bytes)
    {
        if (file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()))
            return true;
        m_report(fileProblem(file));
        return false;
    }
    bool close(QFile &file)
    {
        if (file.flush()) {
            file.close();
            return true;
        }
        m_report(fileProblem(file));
        return false;
    }
    bool writeFile(const QString &name, const std::string &bytes)
    {
        QFile file(QDir(m_root).filePath(name));
        if (!file.open(QIODevice::WriteOnly)) {
            m_report(fileProblem(file));
            return false;
        }
        return write(file, bytes) && close(file);
    }
    bool copyRaw(const QString &from, const QString &name)
    {
        if (QFile::copy(from, QDir(m_root).filePath(QStringLiteral("data/raw_data/") + name)))
            return true;
        m_report(QStringLiteral("\"%1\" could not be copied into the dataset").arg(from));
        return false;
    }
    std::string readme() const;

    QString m_root;
    const std::function<void(const QString &)> &m_report;
    QFile m_trials;
    QFile m_payments;
    std::set<std::string> m_versions;
};

std::string DatasetBuilder::readme() const
{
    std::string versions;
    for (const std::string &v : m_versions)
        versions += (versions.empty() ? "" : ", ") + v;
    if (versions.empty())
        versions = "no version recorded";
    return "# choicetask study\n"
           "\n"
           "A psych-DS dataset written by choicetask-report " CHOICETASK_VERSION
           " from the participants' data files and session records. The sessions were recorded with choicetask "
           "(versions: "
           + versions
           + ").\n"
             "\n"
             "## Files\n"
             "\n"
             "- `dataset_description.json`: the dataset's metadata; `variableMeasured` is the codebook: every column "
             "of "
             "every table with its description, unit (`unitText`), range (`minValue`, `maxValue`) and levels "
             "(`valueReference`, each level's `termCode` and meaning).\n"
             "- `data/description-trials_data.csv`: every trial of every participant, one row each.\n"
             "- `data/description-payments_data.csv`: one row per participant: games finished, points, the money the "
             "final screens showed, and flags for what needs a look.\n"
             "- `data/subject-<ID>_data.csv`: one participant's trials (the same columns); a negative ID is written "
             "`minus3`.\n"
             "- `data/subject-<ID>_description-session_data.csv`: the participant's session record, one row per "
             "event.\n"
             "- `data/raw_data/`: the data files `<ID>.csv` and session records `<ID>.session.csv` as the program "
             "wrote them.\n"
             "\n"
             "`NA` marks what the files do not say. Numbers use `.` as the decimal point.\n"
             "\n"
             "## Times\n"
             "\n"
             "`monotonic_ms` is the program's monotonic clock: milliseconds since the program started, unaffected by "
             "changes to the computer's clock; only differences within one registration mean something. `time_utc` "
             "is the computer's clock at the same moment, in UTC. Each event's time is the moment it happened:\n"
             "\n"
             "| Event | Its time |\n"
             "|---|---|\n"
             "| `registered` | the participant's header line was written to the data file, after **Run** was clicked "
             "|\n"
             "| `instructions_shown` | the instructions window was shown |\n"
             "| `game_started` | **Go** was clicked |\n"
             "| `choice` | the press: the mouse button or key went down on the choice button |\n"
             "| `feedback_shown` | the feedback window was filled in, just before it was shown |\n"
             "| `finished` | **Exit** was clicked after the last game |\n"
             "| `closed_early` | the ending was confirmed, or a window was closed with its close box |\n"
             "| `error` | an error stopped the program, before its message was shown |\n"
             "| `end_asked`, `end_answered` | \"End the experiment now?\" was shown, and answered |\n"
             "\n"
             "The choice buttons are *shown* when the repaint that draws them has been handed to the window system; "
             "a choice is *pressed* when the mouse button or key goes down on the button (the choice is made when it "
             "is released, as with any button). `response_ms` runs from shown to pressed. The pause after a choice "
             "(`pause_planned_ms`, 330 ms per unit of cost) runs from the moment the trial's data line was written "
             "to the moment the buttons are shown again (`pause_actual_ms`).\n";
}

} // namespace

int writeDataset(const QString &folder, const std::vector<DataFileInput> &files,
                 const std::function<const Settings *()> &settings, const std::function<void(const QString &)> &report)
{
    if (QFileInfo::exists(folder) || QFileInfo(folder).isSymLink()) {
        report(QStringLiteral("\"%1\" exists already: --dataset writes a new folder and never changes an existing "
                              "one")
                   .arg(folder));
        return 2;
    }
    QSet<QString> participants;
    for (const DataFileInput &file : files) {
        if (!isDataFileName(QFileInfo(file.path).fileName())) {
            report(QStringLiteral("\"%1\" is not named as the program names data files (<ID>.csv): a dataset needs "
                                  "each participant's ID")
                       .arg(file.path));
            return 2;
        }
        if (participants.contains(file.participant)) {
            report(QStringLiteral("participant %1 is named twice (from different folders): a dataset holds each "
                                  "participant once")
                       .arg(file.participant));
            return 2;
        }
        participants.insert(file.participant);
    }
    // Every file checked first, as for the tables.
    const StudyCheck check = checkStudy(files, report);
    if (!check.ok)
        return 1;
    if (check.settingsNeeded && !settings())
        return 1;

    const QFileInfo target(folder);
    QTemporaryDir building(target.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX").arg(target.fileName())));
    if (!building.isValid()) {
        report(QStringLiteral("the folder \"%1\" could not be made: %2").arg(folder, building.errorString()));
        return 1;
    }
    DatasetBuilder builder(building.path(), report);
    if (!builder.open())
        return 1;
    for (const DataFileInput &file : files) {
        const LoadedParticipant loaded = loadParticipant(file);
        if (!loaded.participant) {
            report(loaded.error
                   + QStringLiteral("\nThe file changed while the dataset was written. Nothing was "
                                    "written; run the command again."));
            return 1;
        }
        const Settings *used = needsSettings(*loaded.participant) ? settings() : nullptr;
        if ((needsSettings(*loaded.participant) && !used) || !builder.add(file, *loaded.participant, used))
            return 1;
    }
    if (!builder.finish())
        return 1;
    if (!QDir().rename(building.path(), target.absoluteFilePath())) {
        report(QStringLiteral("the dataset could not be moved to \"%1\"").arg(folder));
        return 1;
    }
    building.setAutoRemove(false);
    return 0;
}

} // namespace ct
