#include "rules/game/data_file.h"

#include "rules/experiment.h"
#include "rules/game/payoff_schedule.h"
#include "rules/game/trial_record.h"
#include "rules/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace ct {
namespace {

// One number of a data line, as " n " with the sign place: digits with at
// most one point, no exponent.
std::optional<std::string_view> numberField(std::string_view field)
{
    if (field.size() < 3 || field.back() != ' ' || (field.front() != ' ' && field.front() != '-'))
        return std::nullopt;
    std::string_view digits = field.substr(1, field.size() - 2);
    if (digits.empty())
        return std::nullopt;
    int points = 0;
    for (char c : digits) {
        if (c == '.')
            ++points;
        else if (c < '0' || c > '9')
            return std::nullopt;
    }
    if (points > 1 || digits == ".")
        return std::nullopt;
    return field.substr(0, field.size() - 1);
}

std::optional<double> toDouble(std::string_view number)
{
    std::string text(number);
    if (text.front() == ' ')
        text.erase(0, 1);
    if (text.starts_with(".") || text.starts_with("-."))
        text.insert(text.find('.'), "0");
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Exact decimal to points: at most four decimals.
std::optional<Points> toPoints(std::string_view number)
{
    const bool negative = number.front() == '-';
    number.remove_prefix(1);
    const auto point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    if (fraction.size() > 4 || whole.size() > 14)
        return std::nullopt;
    std::int64_t units = 0;
    for (char c : whole)
        units = units * 10 + (c - '0');
    for (std::size_t i = 0; i < 4; ++i)
        units = units * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    return Points::fromUnits(negative ? -units : units);
}

// Whether `text` can be the start of a header or data line with its CR LF:
// what a crash leaves of a line cut off while it was written. Of a line that
// was ended afterwards, all six numbers alone are a whole line, not a cut one.
bool startsALine(std::string_view text, bool ended)
{
    if (kHeaderLine.starts_with(text))
        return true;
    std::size_t i = 0;
    const auto at = [&](auto matches) { return i < text.size() && matches(text[i]); };
    for (int field = 0; field < 6; ++field) {
        if (i == text.size())
            return true;
        if (!at([](char c) { return c == ' ' || c == '-'; }))
            return false;
        ++i;
        while (at([](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
            ++i;
        for (const char expected : {' ', ','}) {
            if (i == text.size())
                return true;
            if (text[i++] != expected)
                return false;
        }
    }
    return ended ? text.substr(i) == "\r" : std::string_view("\r\n").starts_with(text.substr(i));
}

// Reads a data line; on failure `why` says what is wrong with it.
std::optional<RecordedTrial> parseDataLine(std::string_view line, std::string &why)
{
    const auto notADataLine = [&why, text = line] {
        why = "not a data line of this program: \"" + std::string(text.substr(0, 80)) + "\"";
        return std::nullopt;
    };
    std::array<std::string_view, 6> numbers;
    for (std::string_view &number : numbers) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos)
            return notADataLine();
        const auto field = numberField(line.substr(0, comma));
        if (!field)
            return notADataLine();
        number = *field;
        line.remove_prefix(comma + 1);
    }
    if (!line.empty())
        return notADataLine();
    RecordedTrial trial;
    static constexpr std::array<const char *, 6> kColumns = {"Trial",    "Choice",      "PayOff",
                                                             "winnings", "historyLeft", "GameUnitsRemaining"};
    const auto outOfRange = [&](std::size_t column) {
        why = std::string("the ") + kColumns[column] + " column holds a number that does not fit it: \""
              + std::string(numbers[column].substr(0, 40)) + (numbers[column].size() > 40 ? "...\"" : "\"");
        return std::nullopt;
    };
    // Trial and Choice are small whole numbers: the range is checked before
    // the conversion, so that a column of many 9s cannot overflow it.
    const auto whole = [](std::string_view n, int &out) {
        const auto value = toDouble(n);
        if (!value || !(*value >= -1000 && *value <= 1000) || *value != std::trunc(*value))
            return false;
        out = static_cast<int>(*value);
        return true;
    };
    if (!whole(numbers[0], trial.trial))
        return outOfRange(0);
    if (!whole(numbers[1], trial.choice))
        return outOfRange(1);
    const auto payoff = toPoints(numbers[2]);
    if (!payoff)
        return outOfRange(2);
    const auto winnings = toPoints(numbers[3]);
    if (!winnings)
        return outOfRange(3);
    const auto historyLeft = toDouble(numbers[4]);
    if (!historyLeft)
        return outOfRange(4);
    const auto unitsBefore = toDouble(numbers[5]);
    if (!unitsBefore)
        return outOfRange(5);
    trial.payoff = *payoff;
    trial.winnings = *winnings;
    trial.historyLeft = *historyLeft;
    trial.unitsBefore = *unitsBefore;
    return trial;
}

// Replays a game so far and checks the recorded trial against the rule.
class GameReplay {
public:
    GameReplay() = default;
    // A game whose trials before `first` are lost (the file was started
    // again in the middle of it).
    static GameReplay resumedAt(const RecordedTrial &first)
    {
        GameReplay replay;
        replay.m_trial = static_cast<std::int16_t>(first.trial);
        replay.m_firstKnown = first.trial;
        replay.m_winnings = first.winnings - first.payoff;
        replay.m_schedule.resumeWithUnits(first.unitsBefore);
        return replay;
    }

    std::string check(const RecordedTrial &recorded)
    {
        if (m_over)
            return "a trial after the game's units were used up";
        if (recorded.trial != m_trial)
            return "trial " + std::to_string(recorded.trial) + " where trial " + std::to_string(m_trial)
                   + " was expected";
        if (recorded.choice != 0 && recorded.choice != 1)
            return "a choice other than 1 (left option) or 0 (right option)";
        if (!fillLostChoices(recorded))
            return "a share of left-option choices (historyLeft) that no choices before it can give";
        const TrialResult expected = playChoice(m_schedule, m_trial, m_winnings, recorded.choice == 1);
        // The same numbers give the same line; only when they differ are the
        // lines compared, as two doubles can share their 15-digit text.
        const bool sameNumbers = expected.payoff == recorded.payoff && expected.winnings == recorded.winnings
                                 && expected.historyLeft == recorded.historyLeft
                                 && expected.unitsBefore == recorded.unitsBefore;
        if (!sameNumbers && dataLine(expected) != dataLineOf(recorded))
            return "numbers that do not follow from the choices (expected \"" + withoutLineEnd(dataLine(expected))
                   + "\")";
        m_over = expected.gameOver;
        return {};
    }
    bool over() const { return m_over; }

private:
    static std::string dataLineOf(const RecordedTrial &t)
    {
        TrialResult r;
        r.trial = static_cast<std::int16_t>(t.trial);
        r.choice = t.choice;
        r.payoff = t.payoff;
        r.winnings = t.winnings;
        r.historyLeft = t.historyLeft;
        r.unitsBefore = t.unitsBefore;
        return dataLine(r);
    }
    static std::string withoutLineEnd(std::string line)
    {
        line.resize(line.size() - 2);
        return line;
    }

    // The share of left-option choices covers the last ten choices. Of a
    // game read from its middle, the lost ones still among them are given the
    // values the recorded share asks for (only their number matters), as long
    // as the shares so far fit one set of choices: each lost choice that
    // drops out of the ten was 0 or 1.
    bool fillLostChoices(const RecordedTrial &recorded)
    {
        const int trial = recorded.trial;
        const int firstLost = std::max(1, trial - 9);
        const int lastLost = m_firstKnown - 1;
        if (firstLost > lastLost)
            return true;
        const int beforeTrialOne = std::max(0, 10 - trial); // counted as left-option choices
        int known = recorded.choice;
        for (int t = m_firstKnown; t < trial; ++t)
            known += m_schedule.choice(t);
        // A share that no number of them gives fails in the replay.
        const long lost = std::lround(std::clamp(recorded.historyLeft, -1.0, 2.0) * 10.0) - beforeTrialOne - known;
        if (m_lostLeft >= 0) {
            const long dropped = m_lostLeft - lost; // the lost choice that left the ten
            if (dropped < 0 || dropped > (trial - 10 >= 1 ? 1 : 0))
                return false;
        }
        m_lostLeft = lost;
        for (int slot = firstLost; slot <= lastLost; ++slot)
            m_schedule.storeChoice(static_cast<std::int16_t>(slot), slot - firstLost < lost);
        return true;
    }

    PayoffSchedule m_schedule;
    std::int16_t m_trial = 1;
    Points m_winnings;
    bool m_over = false;
    int m_firstKnown = 1;
    long m_lostLeft = -1; // left-option choices among the lost ones of the last ten
};

} // namespace

DataFileResult readDataFile(std::string_view bytes)
{
    DataFileResult result;
    const std::string_view header = kHeaderLine.substr(0, kHeaderLine.size() - 2);
    std::optional<GameReplay> replay;
    int lineNumber = 0;
    auto refuse = [&](const std::string &why) {
        result.error = {why, lineNumber};
        return result;
    };

    // The program writes CR LF. A file whose line ends were all changed to LF
    // (by a copy or an editor) is read as well, and the result says so; a
    // file that mixes the two is refused.
    const auto firstLineEnd = bytes.find('\n');
    result.file.lineFeedsOnly = firstLineEnd != std::string_view::npos
                                && (firstLineEnd == 0 || bytes[firstLineEnd - 1] != '\r');

    int lastCut = 0; // since the last header line
    while (!bytes.empty()) {
        ++lineNumber;
        const auto end = bytes.find('\n');
        const std::string_view whole = bytes.substr(0, end == std::string_view::npos ? bytes.size() : end + 1);
        bytes.remove_prefix(whole.size());
        const bool crBefore = whole.ends_with("\r\n");
        const std::string_view line = whole.substr(0, whole.size()
                                                          - (crBefore                        ? 2
                                                             : end == std::string_view::npos ? 0
                                                                                             : 1));
        const auto cut = [&](bool nulBytes) {
            result.file.cutLines.push_back({lineNumber, std::string(line), nulBytes});
            lastCut = lineNumber;
        };
        if (line.find('\0') != std::string_view::npos) {
            cut(true);
            continue;
        }
        if (end == std::string_view::npos) {
            if (startsALine(line, false)) {
                cut(false);
                continue;
            }
            return refuse(std::string("the line does not end with ") + (result.file.lineFeedsOnly ? "LF" : "CR LF")
                          + " (the file may have been cut off)");
        }
        if (crBefore == result.file.lineFeedsOnly)
            return refuse(crBefore ? "the line ends with CR LF, the lines before it with LF alone"
                                   : "the line ends with LF alone, not with CR LF like the lines before it");

        if (line == header) {
            result.file.registrations.push_back({lineNumber, {}, 0});
            replay.reset();
            lastCut = 0;
            continue;
        }
        std::string why;
        const auto trial = parseDataLine(line, why);
        if (!trial) {
            if (startsALine(line, true)) {
                cut(false);
                continue;
            }
            return refuse(why);
        }
        if (lastCut > 0)
            return refuse("a data line after line " + std::to_string(lastCut)
                          + ", which a crash cut off: only a new registration's header line can follow that");
        if (result.file.registrations.empty())
            return refuse("a data line before the first header line");
        Registration &registration = result.file.registrations.back();
        auto &games = registration.games;
        if (trial->trial == 1) {
            if (!games.empty() && !games.back().complete)
                return refuse("a new game starts before the previous one used up its units");
            games.emplace_back();
            replay.emplace();
        } else if (!replay && games.empty() && result.file.registrations.size() == 1 && trial->trial > 1
                   && trial->unitsBefore > 0 && trial->unitsBefore <= 151 - trial->trial) {
            // The file was started again in the middle of a game: every trial
            // before cost a unit at least.
            registration.restartedAtTrial = trial->trial;
            games.emplace_back();
            replay = GameReplay::resumedAt(*trial);
        }
        if (!replay)
            return refuse("trial " + std::to_string(trial->trial) + " where a game should start with trial 1");
        const std::string problem = replay->check(*trial);
        if (!problem.empty())
            return refuse(problem);
        RecordedTrial recorded = *trial;
        recorded.line = lineNumber;
        games.back().trials.push_back(recorded);
        games.back().complete = replay->over();
    }
    return result;
}

} // namespace ct
