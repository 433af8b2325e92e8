#include "tools/study_tables.h"

#include "rules/feedback/money.h"
#include "rules/number_text.h"

#include <charconv>
#include <set>

namespace ct {
namespace {

constexpr int kGamesPerExperiment = 8;
constexpr std::string_view kMissing = "NA";

// The shortest text that reads back as the same double: "0.9", "148.8", "150".
void appendNumber(std::string &out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    out.append(buffer, result.ptr);
}

void appendNumber(std::string &out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendField(std::string &out, const QString &text)
{
    out += csvField(text.toStdString());
}

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

std::string tidyTrialTable(const std::vector<ParticipantData> &participants)
{
    std::string out = "participant,registration,game,trial,choice,payoff,winnings,history_left,game_units_remaining,"
                      "button,response_ms,complete\r\n";
    for (const ParticipantData &p : participants) {
        const std::string participant = csvField(p.participant.toStdString());
        int registration = 0;
        for (const Registration &r : p.data.registrations) {
            ++registration;
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
                    const SessionFacts::Choice *choice = nullptr;
                    if (p.session) {
                        const auto found = p.session->choices.find({registration, game, t.trial});
                        if (found != p.session->choices.end() && !found->second.button.empty())
                            choice = &found->second;
                    }
                    out += ',';
                    out += choice ? std::string_view(choice->button) : kMissing;
                    out += ',';
                    if (choice && choice->responseMs)
                        appendNumber(out, *choice->responseMs);
                    else
                        out += kMissing;
                    out += g.complete ? ",TRUE\r\n" : ",FALSE\r\n";
                }
            }
        }
    }
    return out;
}

std::string paymentsTable(const std::vector<ParticipantData> &participants, const Settings &settings)
{
    std::string out = "participant,registrations,games_finished,points,rate,money,currency,flags\r\n";
    for (const ParticipantData &p : participants) {
        std::set<std::string> flags;
        int gamesFinished = 0;
        bool allEight = false;
        Points points;
        double money = 0;
        std::optional<Settings> rateInForce;
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
                Settings rate = registrationRate.value_or(settings);
                if (p.session) {
                    const auto found = p.session->rates.find({registration, game});
                    if (found != p.session->rates.end())
                        rate = found->second;
                }
                if (rateInForce && rateInForce->exchangeRate != rate.exchangeRate)
                    flags.insert("rate_changed");
                registrationRate = rate;
                rateInForce = rate;
            }
            gamesFinished += finishedHere;
            allEight = allEight || finishedHere == kGamesPerExperiment;
            points += registrationPoints;
            // As the final screen computes it: the points at the last rate read.
            money += moneyFor(registrationPoints.toDouble(), registrationRate.value_or(settings).exchangeRate);
            if (p.session) {
                const auto ended = p.session->endedEarly.find(registration);
                if (ended != p.session->endedEarly.end())
                    flags.insert(ended->second);
            }
        }
        if (p.data.registrations.size() > 1)
            flags.insert("several_registrations");
        if (!allEight)
            flags.insert("fewer_than_8_games");
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
        }
        const Settings rate = rateInForce.value_or(settings);

        out += csvField(p.participant.toStdString());
        out += ',';
        appendNumber(out, static_cast<long long>(p.data.registrations.size()));
        out += ',';
        appendNumber(out, static_cast<long long>(gamesFinished));
        out += ',';
        out += plainText(points);
        out += ',';
        appendNumber(out, rate.exchangeRate);
        out += ',';
        out += formatFixed(money, 2);
        out += ',';
        appendField(out, rate.currencySymbol);
        out += ',';
        std::string joined;
        for (const std::string &flag : flags)
            joined += (joined.empty() ? "" : ";") + flag;
        out += joined;
        out += "\r\n";
    }
    return out;
}

} // namespace ct
