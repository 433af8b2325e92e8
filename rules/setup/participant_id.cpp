#include "rules/setup/participant_id.h"

#include "rules/quoted_text.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <random>
#include <system_error>

namespace ct {
namespace {

// The messages go through the translation installed, if any.
class ParticipantIdTexts {
    Q_DECLARE_TR_FUNCTIONS(ParticipantIdTexts)
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// [+-] (digits [. digits] | . digits) [(e|E) [+-] digits]
bool isDecimalNumber(std::string_view s)
{
    std::size_t i = 0;
    auto digitsFrom = [&](std::size_t &pos) {
        const std::size_t start = pos;
        while (pos < s.size() && isDigit(s[pos]))
            ++pos;
        return pos - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissaDigits = digitsFrom(i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissaDigits += digitsFrom(i);
    }
    if (mantissaDigits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digitsFrom(i) == 0)
            return false;
    }
    return i == s.size();
}

// For a syntactically valid unsigned decimal number: is its value below 1?
bool isBelowOne(std::string_view s)
{
    const auto e = s.find_first_of("eE");
    const std::string_view mantissa = s.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view exponentText = s.substr(e + 1);
        const bool negative = exponentText.front() == '-';
        if (exponentText.front() == '+' || exponentText.front() == '-')
            exponentText.remove_prefix(1);
        for (char c : exponentText) {
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL); // saturate
        }
        if (negative)
            exponent = -exponent;
    }
    // Place of the first significant digit relative to the point.
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return true;
    const long long place = first < point ? static_cast<long long>(point - first)
                                          : -static_cast<long long>(first - point - 1);
    return place + exponent <= 0;
}

// The message for an ID that cannot be used, with the typed text quoted.
QString problemText(IdStatus status, const QString &shown, bool empty)
{
    QString message;
    switch (status) {
    case IdStatus::NotANumber:
        if (empty)
            message = ParticipantIdTexts::tr("Please type the participant ID number before pressing Run.");
        else
            message = ParticipantIdTexts::tr("%1 is not a participant ID number. Please type a number such as 7.")
                          .arg(shown);
        break;
    case IdStatus::OutOfRange:
        message = ParticipantIdTexts::tr("%1 is outside the range of participant ID numbers (-32768 to 32767).")
                      .arg(shown);
        break;
    case IdStatus::Ok:
    case IdStatus::Zero:
        break;
    }
    return message;
}

} // namespace

ParticipantId parseParticipantId(std::string_view text)
{
    const std::string_view number = trimmed(text);
    if (!isDecimalNumber(number))
        return {IdStatus::NotANumber, 0};

    // from_chars takes no leading '+'.
    std::string_view unsignedPart = number;
    bool negative = false;
    if (unsignedPart.front() == '+' || unsignedPart.front() == '-') {
        negative = unsignedPart.front() == '-';
        unsignedPart.remove_prefix(1);
    }
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(unsignedPart.data(), unsignedPart.data() + unsignedPart.size(),
                                              magnitude);
    if (error == std::errc::result_out_of_range) {
        // Too large for a double, or so small that it reads as 0.
        if (!isBelowOne(unsignedPart))
            return {IdStatus::OutOfRange, 0};
        magnitude = 0.0;
    } else if (error != std::errc() || end != unsignedPart.data() + unsignedPart.size()) {
        return {IdStatus::NotANumber, 0};
    }

    if (magnitude == 0.0)
        return {IdStatus::Zero, 0};
    const double rounded = std::nearbyint(negative ? -magnitude : magnitude); // halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return {IdStatus::OutOfRange, 0};
    return {IdStatus::Ok, static_cast<std::int16_t>(rounded)};
}

std::string participantIdProblem(IdStatus status, std::string_view text)
{
    return problemText(status, QString::fromStdString(quotedForMessage(trimmed(text))), trimmed(text).empty())
        .toStdString();
}

double timeSeededUniformDraw()
{
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto sinceMidnight = now % days(1);
    std::random_device entropy;
    std::seed_seq seed{static_cast<std::uint64_t>(duration_cast<nanoseconds>(sinceMidnight).count()),
                       static_cast<std::uint64_t>(duration_cast<nanoseconds>(now).count()),
                       static_cast<std::uint64_t>(entropy())};
    std::mt19937_64 generator(seed);
    // The top 53 bits as a fraction: uniform on [0, 1), never 1.
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

} // namespace ct
