#include "rules/feedback/earnings_report.h"

#include "rules/feedback/feedback_texts.h"
#include "rules/feedback/money.h"
#include "rules/feedback/score_store.h"
#include "rules/number_text.h"
#include "rules/quoted_text.h"

#include <algorithm>
#include <vector>

namespace ct {
namespace {

// The rate as a settings file would hold it: the shortest decimal that reads
// back as the same number, the locale's decimal separator, no thousands
// separators and no exponent.
QString rateText(double rate, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(rate, 'f', QLocale::FloatingPointShortest);
}

QString moneyPart(double amount, const Settings &settings, const QLocale &locale)
{
    if (settings.exchangeRate == 0.0)
        return {};
    return QStringLiteral(", ") + FormatMoney(amount, settings.currencySymbol, locale);
}

QString milliseconds(double ms, const QLocale &locale)
{
    return QString::fromStdString(formatFixed(ms, 1, locale.decimalPoint().toStdString()));
}

// "; response times median 412.3 ms, 250.1 to 1203.4 ms" for one game.
QString responseTimesPart(const SessionFacts &session, int registration, int game, const QLocale &locale)
{
    std::vector<double> times;
    for (auto it = session.choices.lower_bound({registration, game, 0});
         it != session.choices.end() && std::get<0>(it->first) == registration && std::get<1>(it->first) == game; ++it)
        if (it->second.responseMs)
            times.push_back(*it->second.responseMs);
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    return QStringLiteral("; response times median %1 ms, %2 to %3 ms")
        .arg(milliseconds(median, locale), milliseconds(times.front(), locale), milliseconds(times.back(), locale));
}

QString registrationReport(int number, const Registration &registration, const Settings &settings,
                           const QLocale &locale, const SessionFacts *session)
{
    QString text = QStringLiteral("Registration %1 (header on line %2)\n").arg(number).arg(registration.headerLine);
    if (registration.restartedAtTrial > 1)
        text += QStringLiteral("  The data file was started again at trial %1 of the game below: it was deleted or "
                               "moved away while the program ran. Trials 1 to %2 of that game, and everything "
                               "written before them, are not in this file; the games are counted from that one. The "
                               "session record is not read for this file: its rows cannot be matched with it.\n")
                    .arg(registration.restartedAtTrial)
                    .arg(registration.restartedAtTrial - 1);
    if (registration.games.empty())
        text += QStringLiteral("  no trials\n");

    // The score store as the feedback windows would have left it.
    Module1 state;
    Points total;
    Settings inForce = settings;
    int game = 0;
    for (const RecordedGame &recorded : registration.games) {
        ++game;
        const QString points = pointsText(recorded.points(), locale);
        const QString times = session ? responseTimesPart(*session, number, game, locale) : QString();
        if (!recorded.complete) {
            const auto trials = recorded.trials.size();
            text += QStringLiteral("  Game %1: %2 points after %3 %4, INCOMPLETE: the program ended during this game; "
                                   "not counted%5\n")
                        .arg(game)
                        .arg(points)
                        .arg(trials)
                        .arg(trials == 1 ? QStringLiteral("trial") : QStringLiteral("trials"), times);
            continue;
        }
        // With a session record, the rate read at this game's feedback.
        QString rate;
        if (session) {
            const auto read = session->rates.find({number, game});
            inForce = read != session->rates.end() ? read->second : settings;
            rate = read != session->rates.end()
                       ? QStringLiteral(" at %1 per 10000 points").arg(rateText(inForce.exchangeRate, locale))
                       : QStringLiteral(" at %1 per 10000 points from config.ini (the session record has no feedback "
                                        "for this game)")
                             .arg(rateText(inForce.exchangeRate, locale));
        }
        state.winnings = recorded.points();
        RecordFinishedGame(state);
        total += recorded.points();
        text += QStringLiteral("  Game %1: %2 points%3%4%5\n")
                    .arg(game)
                    .arg(points, moneyPart(gameMoney(recorded.points(), inForce.exchangeRate), inForce, locale), rate,
                         times);
    }
    if (!registration.games.empty()) {
        // The final screen uses the rate read at the last feedback.
        const double money = moneyFor(state.totalEarnings, inForce.exchangeRate);
        const bool finished = state.gameNumber == kGamesPerExperiment;
        text +=
            QStringLiteral("  %1: %2 points%3%4\n")
                .arg(finished ? QStringLiteral("Total") : QStringLiteral("Total so far"))
                .arg(pointsText(total, locale), moneyPart(money, inForce, locale),
                     finished
                         ? QString()
                         : QStringLiteral(" (%1 of %2 games finished)").arg(state.gameNumber).arg(kGamesPerExperiment));
    }
    if (session && !session->covers(number) && !registration.games.empty())
        text += QStringLiteral("  The session record has no rows for this registration.\n");
    if (session) {
        const auto ended = session->endedEarly.find(number);
        if (ended != session->endedEarly.end())
            text += ended->second == "error" ? QStringLiteral(
                        "  The program stopped on an error during this registration (see the session record).\n")
                                             : QStringLiteral("  The experimenter ended this registration early.\n");
    }
    return text;
}

} // namespace

QString earningsReport(const QString &fileName, const DataFile &file, const Settings &settings, const QLocale &locale,
                       const SessionFacts *session)
{
    QString text = fileName + QStringLiteral(": ");
    if (session)
        text += QStringLiteral("exchange rate as read at each feedback (from the session record)\n");
    else if (settings.exchangeRate == 0.0)
        text += QStringLiteral("no exchange rate set, points only\n");
    else
        text += QStringLiteral("exchange rate %1 per 10000 points\n").arg(rateText(settings.exchangeRate, locale));
    if (file.lineFeedsOnly)
        text += QStringLiteral("Note: the lines end with LF alone, not with the CR LF the program writes: the file was "
                               "converted after the session. Read all the same.\n");
    if (session) {
        const SessionCheck check = checkSession(file, *session);
        if (check.missingLastChoiceRow)
            text += QStringLiteral("Note: the session record lacks the choice row of a registration's last trial: the "
                                   "program stopped after writing the trial's data line.\n");
        if (check.mismatch)
            text += QStringLiteral("Note: the session record's choice rows do not match the data file's trials (a row "
                                   "missing, left over, or saying another option or button than its data line); its "
                                   "response times may belong to other trials.\n");
        for (const int line : session->cutLines)
            text += QStringLiteral("Note: line %1 of the session record was cut off by a crash and is skipped.\n")
                        .arg(line);
    }
    for (const CutLine &cut : file.cutLines)
        text += (cut.nulBytes
                     ? QStringLiteral("Note: line %1 was damaged by a crash (it holds NUL bytes where the disk "
                                      "never received the data) and is skipped: %2\n")
                     : QStringLiteral("Note: line %1 was cut off by a crash and is skipped: %2\n"))
                    .arg(cut.line)
                    .arg(QString::fromStdString(quotedForMessage(cut.bytes)));
    if (file.registrations.empty())
        return text + QStringLiteral("no registrations\n");
    int number = 0;
    for (const Registration &registration : file.registrations)
        text += registrationReport(++number, registration, settings, locale, session);
    return text;
}

} // namespace ct
