#include "rules/feedback/session_facts.h"

#include "rules/session_record.h"

#include <charconv>
#include <cmath>

namespace ct {

bool SessionFacts::covers(int registration) const
{
    if (registrations.contains(registration))
        return true;
    const auto first = choices.lower_bound({registration, 0, 0});
    return first != choices.end() && std::get<0>(first->first) == registration;
}

const SessionFacts::Run &SessionFacts::run(int registration) const
{
    static const Run kNone;
    const auto found = runs.find(registration);
    return found == runs.end() ? kNone : found->second;
}

const SessionFacts::Choice *SessionFacts::fittingChoice(int registration, int game, const RecordedTrial &trial) const
{
    const auto found = choices.find({registration, game, trial.trial});
    if (found == choices.end())
        return nullptr;
    const Choice &choice = found->second;
    if (choice.option != trial.choice || choice.button.empty())
        return nullptr;
    const std::string &leftOption = run(registration).leftOptionButton;
    if (!leftOption.empty()) {
        const bool onLeftButton = (trial.choice == 1) == (leftOption == "left");
        if (choice.button != (onLeftButton ? "left" : "right"))
            return nullptr;
    }
    return &choice;
}

SessionCheck checkSession(const DataFile &data, const SessionFacts &session)
{
    SessionCheck check;
    std::size_t matched = 0;
    int registration = 0;
    for (const Registration &r : data.registrations) {
        ++registration;
        if (!session.covers(registration)) {
            check.uncoveredRegistration = check.uncoveredRegistration || !r.games.empty();
            continue;
        }
        int game = 0;
        for (const RecordedGame &g : r.games) {
            ++game;
            for (const RecordedTrial &t : g.trials) {
                if (session.choices.contains({registration, game, t.trial})) {
                    ++matched;
                    if (!session.fittingChoice(registration, game, t))
                        check.mismatch = true; // a row that says something else
                } else if (&g == &r.games.back() && &t == &g.trials.back()) {
                    check.missingLastChoiceRow = true;
                } else {
                    check.mismatch = true;
                }
            }
        }
    }
    if (matched != session.choices.size() || session.duplicateChoiceRows)
        check.mismatch = true; // choice rows without a data line
    return check;
}

namespace {

std::string feedbackProblem(const session::Row &row, const std::string &what)
{
    return "the feedback after game " + std::to_string(*row.game) + " of registration "
           + std::to_string(row.registration) + " " + what;
}

} // namespace

SessionFactsResult readSessionFacts(std::string_view bytes)
{
    SessionFactsResult result;
    const session::ReadResult read = session::readSessionRecord(bytes);
    if (!read.ok()) {
        result.error = read.error;
        return result;
    }
    SessionFacts facts;
    facts.cutLines = read.cutLines;
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const session::Row &row = read.rows[i];
        const int line = read.rowLines[i];
        facts.registrations.insert(row.registration);
        SessionFacts::Run &run = facts.runs[row.registration];
        switch (row.event) {
        case session::Event::Registered:
            run.registeredRow = true;
            run.timeUtc = row.timeUtc;
            run.version = row.detailValue("version").value_or("");
            run.leftOptionButton = row.detailValue("left_option_button").value_or("");
            if (run.leftOptionButton != "left" && run.leftOptionButton != "right")
                run.leftOptionButton.clear();
            run.instructionsSha256 = row.detailValue("instructions_sha256").value_or("");
            run.simulated = row.detailValue("simulated") == "1";
            break;
        case session::Event::Choice:
            if (row.game && row.trial) {
                SessionFacts::Choice choice{row.button ? std::string(session::buttonName(*row.button)) : std::string(),
                                            row.option,
                                            row.responseMs,
                                            row.timeUtc,
                                            row.pausePlannedMs,
                                            row.pauseActualMs,
                                            row.detailValue("input").value_or("")};
                const bool added =
                    facts.choices.insert_or_assign({row.registration, *row.game, *row.trial}, std::move(choice)).second;
                facts.duplicateChoiceRows = facts.duplicateChoiceRows || !added;
            }
            break;
        case session::Event::FeedbackShown:
            if (row.game) {
                Settings shown;
                const std::string rate = row.detailValue("rate").value_or("0");
                const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), shown.exchangeRate);
                if (error != std::errc() || end != rate.data() + rate.size() || !std::isfinite(shown.exchangeRate)
                    || shown.exchangeRate < 0 || shown.exchangeRate > kMaxExchangeRate) {
                    result.error = {feedbackProblem(row, "has the rate \"" + rate.substr(0, 40)
                                                             + "\", not a number from 0 to 1000000000"),
                                    line};
                    return result;
                }
                shown.currencySymbol = QString::fromStdString(row.detailValue("currency").value_or(""));
                facts.rates[{row.registration, *row.game}] = shown;
                if (const auto total = row.detailValue("total_money"); total && !total->empty())
                    facts.totalsShown[{row.registration, *row.game}] = *total;
            }
            break;
        case session::Event::Finished:
            run.ended = "finished";
            break;
        case session::Event::ClosedEarly:
            facts.endedEarly[row.registration] = "closed_early";
            run.ended = "closed_early";
            break;
        case session::Event::Error:
            facts.endedEarly[row.registration] = "error";
            run.ended = "error";
            break;
        default:
            break;
        }
    }
    result.facts = std::move(facts);
    return result;
}

} // namespace ct
