#include "rules/feedback/feedback_texts.h"

#include "rules/feedback/money.h"
#include "rules/feedback/score_store.h"
#include "rules/number_text.h"

namespace ct {
namespace {

const Points kMaximumScore = Points::fromWhole(760);

} // namespace

QString pointsText(Points points, const QLocale &locale)
{
    return QString::fromStdString(plainText(points, locale.decimalPoint().toStdString()));
}

QString pointsMessage(Points winnings, const Settings &settings, const QLocale &locale)
{
    QString text = QStringLiteral("Well done, you got: ") + pointsText(winnings, locale) + QStringLiteral(" points!");
    if (settings.exchangeRate != 0.0)
        text += QStringLiteral(" That's the equivalent of ")
                + FormatMoney(gameMoney(winnings, settings.exchangeRate), settings.currencySymbol, locale);
    return text;
}

Comparison compareGames(Points current, Points last, const QLocale &locale)
{
    if (current > last)
        return {QStringLiteral("That's ") + pointsText(current - last, locale)
                    + QStringLiteral(" points more than you got last time. "),
                {0, 255, 0},
                Face::Happy};
    if (current == last)
        return {QStringLiteral("That's exactly the same as you got last time. "), {0, 0, 0}, Face::Neutral};
    return {QStringLiteral("...But that's ") + pointsText(last - current, locale)
                + QStringLiteral(" points less than you got last time. "),
            {255, 0, 0},
            Face::Wretched};
}

QString maximumRemark(Points current)
{
    if (current >= kMaximumScore)
        return QStringLiteral("Well done! You got the maximum possible score of 760");
    return QStringLiteral("Although remember, the maximum possible score is 760");
}

QString FinalEarningsText(Module1 &state, const Settings &settings, const QLocale &locale)
{
    state.totalEarnings = moneyFor(recordedPointsTotal(state), settings.exchangeRate);
    QString text = QStringLiteral("That is the end of the Experiment. Thanks for taking part!");
    if (settings.exchangeRate != 0.0)
        text += QStringLiteral(" You earned ") + FormatMoney(state.totalEarnings, settings.currencySymbol, locale)
                + QStringLiteral(" during the experiment. Please do not exit the program until the experimenter has "
                                 "noted the amount");
    return text;
}

} // namespace ct
