#pragma once

#include "rules/experiment.h"
#include "rules/feedback/settings_file.h"
#include "rules/points.h"
#include "rules/rgb.h"

#include <QLocale>
#include <QString>

#include <cstdint>

namespace ct {

enum class Face { Surprised, Wretched, Neutral, Happy };

// The texts the feedback window shows in its layout state, in the language
// the program runs in (English unless a translation is installed).
QString wellDoneCaption();
QString maximumCaption();
QString breakCaption();
QString continueCaption();
QString exitCaption();

// The message box that ends the experiment.
QString endTitle();
QString endText();

// Points and point differences in the texts: the shortest plain decimal text
// with the user's decimal separator (523, 523.5).
QString pointsText(Points points, const QLocale &locale = QLocale());

// "Well done, you got: 760 points!", followed by " That's the equivalent of "
// and the game's money when an exchange rate is set.
QString pointsMessage(Points winnings, const Settings &settings, const QLocale &locale = QLocale());

// How a game compares with the one before: the sentence (ending with a space),
// the colour of its text and the face shown beside it.
struct Comparison {
    QString sentence;
    Rgb colour;
    Face face = Face::Surprised;
};
Comparison compareGames(Points current, Points last, const QLocale &locale = QLocale());

// The remark about the best possible score of 760 points.
QString maximumRemark(Points current);

// The end-of-experiment text. Sets state.totalEarnings to the money value of
// the recorded games' points (0 when no rate is set): the amount comes from the
// total points, not from adding up the amounts shown after each game. It works
// from the recorded scores, so calling it again gives the same text and money.
QString FinalEarningsText(Module1 &state, const Settings &settings, const QLocale &locale = QLocale());

} // namespace ct
