#include "rtf/list_numbering.h"

#include <algorithm>
#include <climits>

namespace ct::rtf {

namespace {

QString roman(int number)
{
    static constexpr std::pair<int, const char *> kNumerals[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"},
    };
    QString text;
    for (const auto &[value, numeral] : kNumerals) {
        while (number >= value) {
            text += QLatin1String(numeral);
            number -= value;
        }
    }
    return text;
}

// a..z, then aa..zz, as word processors count.
QString letters(int number)
{
    const int repeat = (number - 1) / 26 + 1;
    return QString(std::min(repeat, 10), QChar(u'a' + (number - 1) % 26));
}

} // namespace

QString formatListNumber(int number, int numberFormat)
{
    switch (numberFormat) {
    case 1:
        return number > 0 && number < 4000 ? roman(number).toUpper() : QString::number(number);
    case 2:
        return number > 0 && number < 4000 ? roman(number) : QString::number(number);
    case 3:
        return number > 0 ? letters(number).toUpper() : QString::number(number);
    case 4:
        return number > 0 ? letters(number) : QString::number(number);
    case 22:
        return number >= 0 && number < 10 ? QStringLiteral("0%1").arg(number) : QString::number(number);
    case 23:
    case 255:
        return {};
    default:
        return QString::number(number);
    }
}

void ListTable::addList(int listId, const ListDefinition &list)
{
    m_lists.insert(listId, list);
}

void ListTable::addOverride(int override, int listId)
{
    m_overrides.insert(override, listId);
}

const ListLevel *ListTable::level(int override, int level) const
{
    const auto list = m_lists.constFind(m_overrides.value(override, -1));
    if (list == m_lists.cend() || level < 0 || level >= list->levels.size() || level >= kMaxLevels)
        return nullptr;
    return &list->levels.at(level);
}

std::array<int, ListTable::kMaxLevels> ListTable::advance(int override, int level)
{
    const auto list = m_lists.constFind(m_overrides.value(override, -1));
    std::array<int, kMaxLevels> numbers{};
    if (list == m_lists.cend())
        return numbers;
    const auto startOf = [&](int l) { return l < list->levels.size() ? list->levels.at(l).start : 1; };
    auto counter = m_counters.find(override);
    if (counter == m_counters.end()) {
        std::array<int, kMaxLevels> fresh{};
        for (int l = 0; l < kMaxLevels; ++l)
            fresh[l] = startOf(l) - 1;
        counter = m_counters.insert(override, fresh);
    }
    std::array<int, kMaxLevels> &counts = counter.value();
    level = std::clamp(level, 0, kMaxLevels - 1);
    if (counts[level] < INT_MAX)
        ++counts[level];
    for (int l = level + 1; l < kMaxLevels; ++l)
        counts[l] = startOf(l) - 1;
    return counts;
}

} // namespace ct::rtf
