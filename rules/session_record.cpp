#include "rules/session_record.h"

#include "rules/experiment.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace ct::session {
namespace {

constexpr std::array<std::string_view, 10> kEventNames = {
    "registered", "instructions_shown", "game_started", "choice",    "feedback_shown",
    "finished",   "closed_early",       "error",        "end_asked", "end_answered",
};
constexpr std::size_t kColumns = 12;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string escapeValue(std::string_view value)
{
    std::string out;
    for (char c : value) {
        switch (c) {
        case '%':
            out += "%25";
            break;
        case ';':
            out += "%3B";
            break;
        case '\r':
            out += "%0D";
            break;
        case '\n':
            out += "%0A";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescapeValue(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        const int high = i + 1 < value.size() ? hexDigit(value[i + 1]) : -1;
        const int low = i + 2 < value.size() ? hexDigit(value[i + 2]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

template <typename T> std::optional<T> number(std::string_view text)
{
    T value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// An empty field is "no value"; anything else must read as a number.
template <typename T> bool optionalNumber(std::string_view text, std::optional<T> &out)
{
    if (text.empty())
        return true;
    out = number<T>(text);
    return out.has_value();
}

std::string optionalText(const std::optional<int> &value)
{
    return value ? std::to_string(*value) : std::string();
}

std::string optionalMs(const std::optional<double> &value)
{
    return value ? millisecondsText(*value) : std::string();
}

// The fields of one line (RFC 4180 quoting: quoted fields may hold commas
// and doubled quotes); nullopt when a quote is out of place. The program never
// writes a line end inside a field.
std::optional<std::vector<std::string>> fieldsOf(std::string_view line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    bool fieldStarted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = false;
                if (i + 1 < line.size() && line[i + 1] != ',')
                    return std::nullopt;
            }
        } else if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == ',') {
            fields.emplace_back();
            fieldStarted = false;
        } else if (c == '\r' || c == '\n') {
            return std::nullopt;
        } else {
            fields.back() += c;
            fieldStarted = true;
        }
    }
    if (quoted)
        return std::nullopt;
    return fields;
}

std::optional<std::string> rowProblem(const std::vector<std::string> &f, Row &row)
{
    if (f.size() != kColumns)
        return std::to_string(f.size()) + " fields where a row has " + std::to_string(kColumns);
    const auto registration = number<int>(f[0]);
    if (!registration || *registration < 1)
        return "the registration is not a number from 1 up: \"" + f[0] + "\"";
    row.registration = *registration;
    const auto event = eventFromName(f[1]);
    if (!event)
        return "an unknown event \"" + f[1] + "\"";
    row.event = *event;
    row.timeUtc = f[2];
    const auto monotonic = number<double>(f[3]);
    if (!monotonic || !std::isfinite(*monotonic))
        return "the monotonic time is not a finite number: \"" + f[3].substr(0, 40) + "\"";
    row.monotonicMs = *monotonic;
    if (!optionalNumber(f[4], row.game) || (row.game && (*row.game < 1 || *row.game > kGamesPerExperiment)))
        return "the game is not a number from 1 to " + std::to_string(kGamesPerExperiment) + ": \"" + f[4].substr(0, 40)
               + "\"";
    if (!optionalNumber(f[5], row.trial) || (row.trial && (*row.trial < 0 || *row.trial > kMaxTrialsPerGame)))
        return "the trial is not a number from 0 to " + std::to_string(kMaxTrialsPerGame) + ": \"" + f[5].substr(0, 40)
               + "\"";
    if (f[6] == "left")
        row.button = Button::Left;
    else if (f[6] == "right")
        row.button = Button::Right;
    else if (!f[6].empty())
        return "a button other than left or right: \"" + f[6] + "\"";
    if (!f[7].empty() && f[7] != "0" && f[7] != "1")
        return "an option other than 1 or 0: \"" + f[7] + "\"";
    if (!f[7].empty())
        row.option = f[7] == "1" ? 1 : 0;
    // A response time is negative when the press came before the buttons
    // were painted (an anticipation); a pause never is.
    struct Time {
        const char *name;
        std::optional<double> *value;
        double least;
    };
    const std::array<Time, 3> times = {{
        {"response time", &row.responseMs, -kMaxMilliseconds},
        {"planned pause", &row.pausePlannedMs, 0},
        {"actual pause", &row.pauseActualMs, 0},
    }};
    for (std::size_t i = 0; i < times.size(); ++i) {
        const std::string &text = f[8 + i];
        std::optional<double> &value = *times[i].value;
        if (!optionalNumber(text, value) || (value && !(*value >= times[i].least && *value <= kMaxMilliseconds)))
            return std::string("the ") + times[i].name + " is not a number of milliseconds from "
                   + millisecondsText(times[i].least) + " to " + millisecondsText(kMaxMilliseconds) + ": \""
                   + text.substr(0, 40) + "\"";
    }
    const auto detail = parseDetail(f[11]);
    if (!detail)
        return "a detail that is not key=value pairs: \"" + f[11].substr(0, 80) + "\"";
    row.detail = *detail;
    return std::nullopt;
}

} // namespace

std::string_view eventName(Event event)
{
    return kEventNames[static_cast<std::size_t>(event)];
}

std::optional<Event> eventFromName(std::string_view name)
{
    for (std::size_t i = 0; i < kEventNames.size(); ++i)
        if (kEventNames[i] == name)
            return static_cast<Event>(i);
    return std::nullopt;
}

std::string_view buttonName(Button button)
{
    return button == Button::Left ? "left" : "right";
}

std::string formatDetail(const Detail &detail)
{
    std::string text;
    for (const auto &[key, value] : detail) {
        if (!text.empty())
            text += ';';
        text += key;
        text += '=';
        text += escapeValue(value);
    }
    return text;
}

std::optional<Detail> parseDetail(std::string_view text)
{
    Detail detail;
    while (!text.empty()) {
        const auto end = text.find(';');
        const std::string_view pair = text.substr(0, end);
        const auto equals = pair.find('=');
        if (equals == std::string_view::npos || equals == 0)
            return std::nullopt;
        auto value = unescapeValue(pair.substr(equals + 1));
        if (!value)
            return std::nullopt;
        detail.emplace_back(std::string(pair.substr(0, equals)), std::move(*value));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
        if (text.empty())
            return std::nullopt; // a trailing ";"
    }
    return detail;
}

std::optional<std::string> Row::detailValue(std::string_view key) const
{
    for (const auto &[k, v] : detail)
        if (k == key)
            return v;
    return std::nullopt;
}

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string millisecondsText(double ms)
{
    // Whole tenths, half away from zero; no locale is involved.
    const long long tenths = std::llround(ms * 10.0);
    const long long magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string formatRow(const Row &row)
{
    const std::array<std::string, kColumns> fields = {
        std::to_string(row.registration),
        std::string(eventName(row.event)),
        row.timeUtc,
        millisecondsText(row.monotonicMs),
        optionalText(row.game),
        optionalText(row.trial),
        row.button ? std::string(buttonName(*row.button)) : std::string(),
        optionalText(row.option),
        optionalMs(row.responseMs),
        optionalMs(row.pausePlannedMs),
        optionalMs(row.pauseActualMs),
        formatDetail(row.detail),
    };
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += csvField(fields[i]);
    }
    line += "\r\n";
    return line;
}

ReadResult readSessionRecord(std::string_view bytes)
{
    ReadResult result;
    const std::string_view header = kHeader.substr(0, kHeader.size() - 2);
    std::vector<std::pair<int, Row>> rows;
    std::vector<Error> unread; // refused, unless a crash cut the line
    std::vector<int> cut;
    bool headerSeen = false;
    int line = 0;
    while (!bytes.empty()) {
        ++line;
        const auto end = bytes.find('\n');
        const std::string_view whole = bytes.substr(0, end == std::string_view::npos ? bytes.size() : end + 1);
        bytes.remove_prefix(whole.size());
        if (end == std::string_view::npos || whole.find('\0') != std::string_view::npos) {
            cut.push_back(line);
            continue;
        }
        if (!whole.ends_with("\r\n")) {
            unread.push_back({"not a row of a session record (a line end or quote out of place)", line});
            continue;
        }
        const std::string_view text = whole.substr(0, whole.size() - 2);
        if (text == header) {
            if (!rows.empty() || headerSeen) {
                result.error = {"a second header line", line};
                return result;
            }
            headerSeen = true;
            continue;
        }
        if (!headerSeen) {
            unread.push_back({"the file does not start with the session record's header line", line});
            continue;
        }
        const auto fields = fieldsOf(text);
        Row row;
        if (!fields) {
            unread.push_back({"not a row of a session record (a line end or quote out of place)", line});
        } else if (const auto problem = rowProblem(*fields, row)) {
            unread.push_back({*problem, line});
        } else {
            if (row.event == Event::Registered)
                if (const auto ended = row.detailValue(kEndedCutLineKey))
                    if (const auto named = number<int>(*ended); named && *named > 0 && *named < line)
                        cut.push_back(*named);
            rows.emplace_back(line, std::move(row));
        }
    }
    std::sort(cut.begin(), cut.end());
    cut.erase(std::unique(cut.begin(), cut.end()), cut.end());
    const auto isCut = [&cut](int number) { return std::binary_search(cut.begin(), cut.end(), number); };
    for (const Error &error : unread) {
        if (!isCut(error.line)) {
            result.error = error;
            return result;
        }
    }
    for (auto &[number, row] : rows) {
        if (!isCut(number)) {
            result.rows.push_back(std::move(row));
            result.rowLines.push_back(number);
        }
    }
    result.cutLines = std::move(cut);
    return result;
}

bool headerNeeded(std::string_view recordBytes)
{
    // A last line cut after its CR is made whole by the next append's LF.
    const std::string_view header = kHeader.substr(0, kHeader.size() - 1);
    for (std::size_t start = 0; start < recordBytes.size();) {
        if (recordBytes.substr(start).starts_with(header))
            return false;
        const auto end = recordBytes.find('\n', start);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return true;
}

int cutLastLine(std::string_view recordBytes)
{
    if (recordBytes.empty() || recordBytes.ends_with('\n') || recordBytes.ends_with('\r'))
        return 0;
    return static_cast<int>(std::count(recordBytes.begin(), recordBytes.end(), '\n')) + 1;
}

std::string sessionFileNameFor(std::string_view dataFileName)
{
    std::string_view stem = dataFileName;
    if (stem.ends_with(".csv"))
        stem.remove_suffix(4);
    return std::string(stem) + ".session.csv";
}

int registrationNumber(std::string_view dataFileBytes)
{
    int count = 0;
    std::size_t start = 0;
    while (start < dataFileBytes.size()) {
        if (dataFileBytes.substr(start).starts_with(kHeaderLine))
            ++count;
        const auto end = dataFileBytes.find('\n', start);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return count;
}

} // namespace ct::session
