#include "tools/study_tables.h"

#include "rules/experiment.h"
#include "rules/feedback/money.h"
#include "rules/number_text.h"
#include "rules/quoted_text.h"

#include <set>

namespace ct {
namespace {

constexpr std::string_view kMissing = "NA";

void appendNumber(std::string &out, double value)
{
    out += shortestText(value);
}

void appendNumber(std::string &out, long long value)
{
    out += std::to_string(value);
}

void appendOptional(std::string &out, const std::optional<double> &value)
{
    if (value)
        appendNumber(out, *value);
    else
        out += kMissing;
}

// Text from a file: control characters written out, NA when empty.
void appendText(std::string &out, std::string_view text)
{
    out += text.empty() ? std::string(kMissing) : csvField(visibleText(text));
}

void appendText(std::string &out, const QString &text)
{
    out += csvField(visibleText(text.toStdString()));
}

std::string centsText(long long cents)
{
    const std::string digits = std::to_string(cents < 0 ? -cents : cents);
    const std::string padded = digits.size() < 3 ? std::string(3 - digits.size(), '0') + digits : digits;
    return (cents < 0 ? "-" : "") + padded.substr(0, padded.size() - 2) + "." + padded.substr(padded.size() - 2);
}

// The cents of an amount as a money text shows it: an optional "-", digits,
// the decimal separator (whatever it is) and exactly two digits. Nullopt for
// anything else.
std::optional<long long> centsOf(std::string_view amount)
{
    const bool negative = amount.starts_with('-');
    if (negative)
        amount.remove_prefix(1);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t whole = 0;
    while (whole < amount.size() && isDigit(amount[whole]))
        ++whole;
    if (whole == 0 || whole > 15 || amount.size() < whole + 3)
        return std::nullopt;
    const std::string_view hundredths = amount.substr(amount.size() - 2);
    if (!isDigit(hundredths[0]) || !isDigit(hundredths[1]))
        return std::nullopt;
    const std::string_view separator = amount.substr(whole, amount.size() - 2 - whole);
    for (char c : separator)
        if (isDigit(c))
            return std::nullopt;
    long long cents = std::stoll(std::string(amount.substr(0, whole))) * 100 + std::stoll(std::string(hundredths));
    return negative ? -cents : cents;
}

// A money amount in one currency, or several currencies that cannot be added.
class MoneySum {
public:
    void add(long long cents, const QString &currency)
    {
        if (m_currency && *m_currency != currency)
            m_mixed = true;
        m_currency = currency;
        m_cents += cents;
        m_any = true;
    }
    void spoil() { m_unreadable = true; }
    bool any() const { return m_any; }
    bool mixed() const { return m_mixed; }
    const std::optional<QString> &currency() const { return m_currency; }
    void append(std::string &out, bool zeroWhenEmpty) const
    {
        if (m_mixed || m_unreadable || (!m_any && !zeroWhenEmpty))
            out += kMissing;
        else
            out += centsText(m_cents);
    }

private:
    long long m_cents = 0;
    std::optional<QString> m_currency;
    bool m_any = false;
    bool m_mixed = false;
    bool m_unreadable = false;
};

} // namespace

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string trialTableHeader()
{
    return "participant,registration,game,trial,choice,payoff,winnings,history_left,game_units_remaining,button,"
           "response_ms,complete,time_utc,input,pause_planned_ms,pause_actual_ms,left_option_button,version,"
           "instructions_sha256,registration_end,simulated\r\n";
}

void appendTrialRows(std::string &out, const ParticipantData &p)
{
    std::string participant;
    appendText(participant, p.participant);
    int registration = 0;
    for (const Registration &r : p.data.registrations) {
        ++registration;
        // The registration's own columns, the same on each of its rows.
        std::string runColumns;
        if (p.session && p.session->run(registration).registeredRow) {
            const SessionFacts::Run &run = p.session->run(registration);
            for (const std::string *text : {&run.leftOptionButton, &run.version, &run.instructionsSha256, &run.ended}) {
                runColumns += ',';
                appendText(runColumns, *text);
            }
            runColumns += run.simulated ? ",TRUE" : ",FALSE";
        } else {
            runColumns = ",NA,NA,NA,";
            appendText(runColumns, p.session ? p.session->run(registration).ended : std::string());
            runColumns += ",NA";
        }
        int game = 0;
        for (const RecordedGame &g : r.games) {
            ++game;
            for (const RecordedTrial &t : g.trials) {
                out += participant;
                for (long long number : {registration, game, t.trial, t.choice}) {
                    out += ',';
                    appendNumber(out, number);
                }
                out += ',';
                out += plainText(t.payoff);
                out += ',';
                out += plainText(t.winnings);
                out += ',';
                appendNumber(out, t.historyLeft);
                out += ',';
                appendNumber(out, t.unitsBefore);
                const SessionFacts::Choice *choice = p.session ? p.session->fittingChoice(registration, game, t)
                                                               : nullptr;
                out += ',';
                appendText(out, choice ? std::string_view(choice->button) : std::string_view());
                out += ',';
                appendOptional(out, choice ? choice->responseMs : std::nullopt);
                out += g.complete ? ",TRUE," : ",FALSE,";
                appendText(out, choice ? std::string_view(choice->timeUtc) : std::string_view());
                out += ',';
                appendText(out, choice ? std::string_view(choice->input) : std::string_view());
                out += ',';
                appendOptional(out, choice ? choice->pausePlannedMs : std::nullopt);
                out += ',';
                appendOptional(out, choice ? choice->pauseActualMs : std::nullopt);
                out += runColumns;
                out += "\r\n";
            }
        }
    }
}

bool needsSettings(const ParticipantData &p)
{
    int registration = 0;
    for (const Registration &r : p.data.registrations) {
        ++registration;
        for (int game = 1; game <= static_cast<int>(r.games.size()); ++game)
            if (r.games[game - 1].complete && (!p.session || !p.session->rates.contains({registration, game})))
                return true;
    }
    return false;
}

std::string paymentsHeader()
{
    return "participant,registrations,games_finished,points,rate,money,currency,flags,session_date,shown_total\r\n";
}

void appendPaymentRow(std::string &out, const ParticipantData &p, const Settings *settings)
{
    std::set<std::string> flags;
    int gamesFinished = 0;
    bool allEight = false;
    Points points;
    MoneySum money;
    MoneySum shown;
    std::optional<Settings> rateInForce;
    std::optional<QString> currencyWithMoney;
    int registration = 0;
    for (const Registration &r : p.data.registrations) {
        ++registration;
        Points registrationPoints;
        int finishedHere = 0;
        std::optional<Settings> registrationRate;
        int game = 0;
        for (const RecordedGame &g : r.games) {
            ++game;
            if (!g.complete) {
                flags.insert("incomplete_game");
                continue;
            }
            ++finishedHere;
            registrationPoints += g.points();
            Settings rate = settings ? *settings : Settings{};
            if (p.session) {
                const auto found = p.session->rates.find({registration, game});
                if (found != p.session->rates.end())
                    rate = found->second;
            }
            if (rateInForce && rateInForce->exchangeRate != rate.exchangeRate)
                flags.insert("rate_changed");
            // The currency matters only where money was shown.
            if (rate.exchangeRate != 0) {
                if (currencyWithMoney && *currencyWithMoney != rate.currencySymbol)
                    flags.insert("currency_changed");
                currencyWithMoney = rate.currencySymbol;
            }
            registrationRate = rate;
            rateInForce = rate;
        }
        gamesFinished += finishedHere;
        allEight = allEight || finishedHere == kGamesPerExperiment;
        points += registrationPoints;
        // As the final screen showed it: the points at the last rate read,
        // to the cent.
        if (registrationRate && registrationRate->exchangeRate != 0) {
            const std::string amount = formatFixed(
                moneyFor(registrationPoints.toDouble(), registrationRate->exchangeRate), 2);
            money.add(*centsOf(amount), registrationRate->currencySymbol);
        }
        if (p.session) {
            const auto ended = p.session->endedEarly.find(registration);
            if (ended != p.session->endedEarly.end())
                flags.insert(ended->second);
            const auto total = p.session->totalsShown.find({registration, kGamesPerExperiment});
            if (total != p.session->totalsShown.end()) {
                const QString currency = p.session->rates.at({registration, kGamesPerExperiment}).currencySymbol;
                const std::string currencyText = currency.toStdString();
                const std::optional<long long> cents = total->second.starts_with(currencyText) ? centsOf(
                                                           std::string_view(total->second).substr(currencyText.size()))
                                                                                               : std::nullopt;
                if (cents)
                    shown.add(*cents, currency);
                else
                    shown.spoil();
            }
        }
    }
    if (p.data.registrations.size() > 1)
        flags.insert("several_registrations");
    if (!allEight)
        flags.insert("fewer_than_8_games");
    if (money.mixed())
        flags.insert("currency_changed");
    std::string dates;
    if (!p.session) {
        flags.insert("no_session_record");
    } else {
        const SessionCheck check = checkSession(p.data, *p.session);
        if (check.missingLastChoiceRow)
            flags.insert("missing_last_choice_row");
        if (check.mismatch)
            flags.insert("session_mismatch");
        if (check.uncoveredRegistration)
            flags.insert("registration_without_session_rows");
        std::set<std::string> seen;
        for (const auto &[number, run] : p.session->runs) {
            if (run.simulated)
                flags.insert("simulated");
            const std::string date = run.timeUtc.substr(0, 10);
            if (run.registeredRow && date.size() == 10 && seen.insert(date).second)
                dates += (dates.empty() ? "" : ";") + date;
        }
    }

    appendText(out, p.participant);
    out += ',';
    appendNumber(out, static_cast<long long>(p.data.registrations.size()));
    out += ',';
    appendNumber(out, static_cast<long long>(gamesFinished));
    out += ',';
    out += plainText(points);
    out += ',';
    if (rateInForce)
        appendNumber(out, rateInForce->exchangeRate);
    else
        out += kMissing;
    out += ',';
    money.append(out, true);
    out += ',';
    // The currency of the money added up; without money, the one in force.
    const std::optional<QString> currency = money.currency() ? money.currency()
                                                             : (rateInForce ? std::optional(rateInForce->currencySymbol)
                                                                            : std::nullopt);
    if (currency && !money.mixed())
        appendText(out, *currency);
    else
        out += kMissing;
    out += ',';
    std::string joined;
    for (const std::string &flag : flags)
        joined += (joined.empty() ? "" : ";") + flag;
    out += joined;
    out += ',';
    appendText(out, dates);
    out += ',';
    shown.append(out, false);
    out += "\r\n";
}

std::string tidyTrialTable(const std::vector<ParticipantData> &participants)
{
    std::string out = trialTableHeader();
    for (const ParticipantData &p : participants)
        appendTrialRows(out, p);
    return out;
}

std::string paymentsTable(const std::vector<ParticipantData> &participants, const Settings &settings)
{
    std::string out = paymentsHeader();
    for (const ParticipantData &p : participants)
        appendPaymentRow(out, p, &settings);
    return out;
}

} // namespace ct
