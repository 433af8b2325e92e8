#pragma once

#include "rules/points.h"

#include <QLocale>
#include <QString>

namespace ct {

// The money value of an amount of points: points x rate / 10000 in double
// precision.
double moneyFor(double points, double exchangeRate);
// The money value of one game, shown after it.
double gameMoney(Points winnings, double exchangeRate);

// The currency text followed by the amount in the pattern "0.00": at least one
// digit before the user's decimal separator and exactly two after it, the
// hundredths rounded with exact halves away from zero (the amount is read as
// its 15-significant-digit decimal, so 1.005 gives 1.01), "-" for a negative
// amount and no thousands separator.
QString FormatMoney(double amount, const QString &currencySymbol, const QLocale &locale = QLocale());

} // namespace ct
