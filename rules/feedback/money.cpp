#include "rules/feedback/money.h"

#include "rules/number_text.h"

namespace ct {

double moneyFor(double points, double exchangeRate)
{
    return points * exchangeRate / 10000.0;
}

double gameMoney(Points winnings, double exchangeRate)
{
    return moneyFor(winnings.toDouble(), exchangeRate);
}

QString FormatMoney(double amount, const QString &currencySymbol, const QLocale &locale)
{
    const std::string amountText = formatFixed(amount, 2, locale.decimalPoint().toStdString());
    return currencySymbol + QString::fromStdString(amountText);
}

} // namespace ct
