#include "rules/feedback/feedback_texts.h"

#include "rules/feedback/money.h"
#include "rules/feedback/score_store.h"
#include "rules/number_text.h"

#include <QCoreApplication>

namespace ct {
namespace {

const Points kMaximumScore = Points::fromWhole(760);

// Every text of the feedback window goes through the translation installed,
// if any; English when there is none. Sentences are whole, with their numbers
// as %1, so that a translation can put them where its language wants them.
class FeedbackTexts {
    Q_DECLARE_TR_FUNCTIONS(FeedbackTexts)
};

} // namespace

QString wellDoneCaption()
{
    return FeedbackTexts::tr("Well done, you got: points!");
}

QString maximumCaption()
{
    return FeedbackTexts::tr("It is possible to get a maximum of 760 points though...");
}

QString breakCaption()
{
    return FeedbackTexts::tr("Take a break, then play the game again to see if you can beat your score");
}

QString continueCaption()
{
    return FeedbackTexts::tr("Continue");
}

QString exitCaption()
{
    return FeedbackTexts::tr("Exit");
}

QString endTitle()
{
    return FeedbackTexts::tr("Wait!");
}

QString endText()
{
    return FeedbackTexts::tr(
        "Please let the experimenter see how much you earned before pressing OK and closing the game");
}

QString pointsText(Points points, const QLocale &locale)
{
    return QString::fromStdString(plainText(points, locale.decimalPoint().toStdString()));
}

QString pointsMessage(Points winnings, const Settings &settings, const QLocale &locale)
{
    QString message = FeedbackTexts::tr("Well done, you got: %1 points!").arg(pointsText(winnings, locale));
    if (settings.exchangeRate != 0.0)
        message += FeedbackTexts::tr(" That's the equivalent of %1")
                       .arg(FormatMoney(gameMoney(winnings, settings.exchangeRate), settings.currencySymbol, locale));
    return message;
}

Comparison compareGames(Points current, Points last, const QLocale &locale)
{
    if (current > last)
        return {
            FeedbackTexts::tr("That's %1 points more than you got last time. ").arg(pointsText(current - last, locale)),
            {0, 255, 0},
            Face::Happy};
    if (current == last)
        return {FeedbackTexts::tr("That's exactly the same as you got last time. "), {0, 0, 0}, Face::Neutral};
    return {FeedbackTexts::tr("...But that's %1 points less than you got last time. ")
                .arg(pointsText(last - current, locale)),
            {255, 0, 0},
            Face::Wretched};
}

QString maximumRemark(Points current)
{
    if (current >= kMaximumScore)
        return FeedbackTexts::tr("Well done! You got the maximum possible score of 760");
    return FeedbackTexts::tr("Although remember, the maximum possible score is 760");
}

QString FinalEarningsText(Module1 &state, const Settings &settings, const QLocale &locale)
{
    state.totalEarnings = moneyFor(recordedPointsTotal(state), settings.exchangeRate);
    QString message = FeedbackTexts::tr("That is the end of the Experiment. Thanks for taking part!");
    if (settings.exchangeRate != 0.0)
        message += FeedbackTexts::tr(
                       " You earned %1 during the experiment. Please do not exit the program until the experimenter "
                       "has noted the amount")
                       .arg(FormatMoney(state.totalEarnings, settings.currencySymbol, locale));
    return message;
}

} // namespace ct
