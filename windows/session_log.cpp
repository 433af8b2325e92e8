#include "windows/session_log.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/program.h"
#include "rules/experiment.h"
#include "windows/window_flow.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>
#include <QWidget>

#include <cmath>

namespace ct {
namespace {

// Data files hold a few hundred kilobytes even after many registrations.
constexpr std::size_t kMaxDataFileBytes = 64 * 1024 * 1024;

// Set once the session record has failed: the error that stops the program
// then cannot go into it.
bool g_recordFailed = false;
// The record holds no whole header line yet (it is new, or a crash cut its
// first line): the first row of the run brings it.
bool g_headerNeeded = false;

std::string number(double value)
{
    return QString::number(value, 'g', 15).toStdString();
}

session::Detail registrationDetail(const AppContext &context, const QWidget *window)
{
    const QScreen *screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize();
    const std::string instructions(kInstructionFileName);
    return {
        {"version", CHOICETASK_VERSION},
        {"computer", QSysInfo::machineHostName().toStdString()},
        {"os", QSysInfo::prettyProductName().toStdString()},
        {"screen", std::to_string(size.width()) + "x" + std::to_string(size.height())},
        {"scale", number(screen ? screen->devicePixelRatio() : 1.0)},
        {"dpi", number(screen ? screen->logicalDotsPerInch() : 96.0)},
        {"instructions", instructions},
        // Of the bytes shown, read once at start.
        {"instructions_sha256", context.instructionsSha256},
        {"left_option_button", context.state.leftOptionOnLeft ? "left" : "right"},
        {"simulated", "0"},
    };
}

FileResult appendRow(const AppContext &context, session::Row row, std::optional<double> at = {})
{
    const Module1 &state = context.state;
    row.registration = state.registration;
    const double now = context.clock.seconds();
    const double moment = at.value_or(now);
    // Both clocks read together, the UTC time taken back to the moment.
    row.timeUtc = QDateTime::currentDateTimeUtc()
                      .addMSecs(-std::llround((now - moment) * 1000.0))
                      .toString(Qt::ISODateWithMs)
                      .toStdString();
    row.monotonicMs = moment * 1000.0;
    // A new (or emptied) record starts with its header, in the same append.
    const bool fresh = g_headerNeeded || QFileInfo(QString::fromStdString(state.sessionFileName)).size() == 0;
    FileResult written = appendDurably(state.sessionFileName, (fresh ? std::string(session::kHeader) : std::string())
                                                                  + session::formatRow(row));
    if (written.bytesSaved)
        g_headerNeeded = false;
    return written;
}

} // namespace

bool recordEvent(AppContext &context, session::Row row, QWidget *parent, std::optional<double> at)
{
    if (context.state.sessionFileName.empty())
        return true;
    const FileResult written = appendRow(context, std::move(row), at);
    g_recordFailed = !written.ok();
    if (written.ok())
        return true;
    fatalError(parent, "ct::SessionRecord",
               QT_TRANSLATE_NOOP("ct::SessionRecord", "The session record could not be saved, so the experiment has "
                                                      "to stop.\n\n%1\n\nThe trials played so far are in the data "
                                                      "file."),
               QString::fromStdString(written.error.message));
    return false;
}

bool recordClosedEarly(AppContext &context, const char *window, std::optional<int> game, std::optional<int> trial,
                       QWidget *parent)
{
    session::Row row;
    row.event = session::Event::ClosedEarly;
    row.game = game;
    row.trial = trial;
    row.detail = {{"window", window}};
    return recordEvent(context, std::move(row), parent);
}

bool startSessionRecord(AppContext &context, QWidget *window)
{
    Module1 &state = context.state;
    const ReadResult data = readWholeFile(state.dataFileName, kMaxDataFileBytes);
    if (!data.ok()) {
        fatalError(window, QString::fromStdString(data.error.message));
        return false;
    }
    state.registration = static_cast<std::int16_t>(session::registrationNumber(data.bytes));
    state.sessionFileName = session::sessionFileNameFor(state.dataFileName);
    g_recordFailed = false;
    // A record left by a crash: a header cut off is written again, and a
    // last line cut off is ended by the append and named in the row, since
    // only this run can tell that it was cut.
    const ReadResult record = readWholeFile(state.sessionFileName, kMaxDataFileBytes);
    const std::string_view before = record.ok() ? std::string_view(record.bytes) : std::string_view();
    g_headerNeeded = session::headerNeeded(before);
    session::Row row;
    row.event = session::Event::Registered;
    row.detail = registrationDetail(context, window);
    if (const int cut = session::cutLastLine(before))
        row.detail.emplace_back(session::kEndedCutLineKey, std::to_string(cut));
    return recordEvent(context, std::move(row), window);
}

void recordStoppingErrors(AppContext &context)
{
    setFatalErrorListener([&context](const QString &message) {
        if (g_recordFailed || context.state.sessionFileName.empty())
            return;
        session::Row row;
        row.event = session::Event::Error;
        row.detail = {{"message", message.toStdString()}};
        // The program stops anyway; a record that cannot take this row
        // changes nothing about that.
        (void)appendRow(context, std::move(row));
    });
}

} // namespace ct
