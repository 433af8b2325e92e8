#include "rules/feedback/earnings_report.h"

#include "rules/feedback/feedback_texts.h"
#include "rules/feedback/money.h"
#include "rules/feedback/score_store.h"

namespace ct {
namespace {

QString moneyPart(double amount, const Settings &settings, const QLocale &locale)
{
    if (settings.exchangeRate == 0.0)
        return {};
    return QStringLiteral(", ") + FormatMoney(amount, settings.currencySymbol, locale);
}

QString registrationReport(int number, const Registration &registration, const Settings &settings,
                           const QLocale &locale)
{
    QString text = QStringLiteral("Registration %1 (header on line %2)\n").arg(number).arg(registration.headerLine);
    if (registration.games.empty())
        return text + QStringLiteral("  no trials\n");

    // The score store as the feedback windows would have left it.
    Module1 state;
    Points total;
    int game = 0;
    for (const RecordedGame &recorded : registration.games) {
        ++game;
        const QString points = pointsText(recorded.points(), locale);
        if (!recorded.complete) {
            const auto trials = recorded.trials.size();
            text += QStringLiteral("  Game %1: %2 points after %3 %4, INCOMPLETE: the program ended during this game; "
                                   "not counted\n")
                        .arg(game)
                        .arg(points)
                        .arg(trials)
                        .arg(trials == 1 ? QStringLiteral("trial") : QStringLiteral("trials"));
            continue;
        }
        state.winnings = recorded.points();
        RecordFinishedGame(state);
        total += recorded.points();
        text += QStringLiteral("  Game %1: %2 points%3\n")
                    .arg(game)
                    .arg(points, moneyPart(gameMoney(recorded.points(), settings.exchangeRate), settings, locale));
    }
    const double money = moneyFor(state.totalEarnings, settings.exchangeRate);
    const bool finished = state.gameNumber == kGamesPerExperiment;
    text += QStringLiteral("  %1: %2 points%3%4\n")
                .arg(finished ? QStringLiteral("Total") : QStringLiteral("Total so far"))
                .arg(pointsText(total, locale), moneyPart(money, settings, locale),
                     finished ? QString()
                              : QStringLiteral(" (%1 of %2 games finished)").arg(state.gameNumber).arg(kGamesPerExperiment));
    return text;
}

} // namespace

QString earningsReport(const QString &fileName, const DataFile &file, const Settings &settings, const QLocale &locale)
{
    QString text = fileName + QStringLiteral(": ");
    if (settings.exchangeRate == 0.0)
        text += QStringLiteral("no exchange rate set, points only\n");
    else
        text += QStringLiteral("exchange rate %1 per 10000 points\n").arg(locale.toString(settings.exchangeRate, 'g', 15));
    if (file.registrations.empty())
        return text + QStringLiteral("no registrations\n");
    int number = 0;
    for (const Registration &registration : file.registrations)
        text += registrationReport(++number, registration, settings, locale);
    return text;
}

} // namespace ct
