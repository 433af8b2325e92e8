#include "rules/feedback/session_facts.h"

#include "rules/session_record.h"

#include <charconv>

namespace ct {

bool SessionFacts::covers(int registration) const
{
    if (registrations.contains(registration))
        return true;
    const auto first = choices.lower_bound({registration, 0, 0});
    return first != choices.end() && std::get<0>(first->first) == registration;
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
                if (session.choices.contains({registration, game, t.trial}))
                    ++matched;
                else if (&g == &r.games.back() && &t == &g.trials.back())
                    check.missingLastChoiceRow = true;
                else
                    check.mismatch = true;
            }
        }
    }
    if (matched != session.choices.size() || session.duplicateChoiceRows)
        check.mismatch = true; // choice rows without a data line
    return check;
}

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
    for (const session::Row &row : read.rows) {
        facts.registrations.insert(row.registration);
        switch (row.event) {
        case session::Event::Choice:
            if (row.game && row.trial) {
                const bool added = facts.choices
                                       .insert_or_assign({row.registration, *row.game, *row.trial},
                                                         SessionFacts::Choice{
                                                             row.button ? std::string(session::buttonName(*row.button))
                                                                        : std::string(),
                                                             row.responseMs})
                                       .second;
                facts.duplicateChoiceRows = facts.duplicateChoiceRows || !added;
            }
            break;
        case session::Event::FeedbackShown:
            if (row.game) {
                Settings shown;
                const std::string rate = row.detailValue("rate").value_or("0");
                const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), shown.exchangeRate);
                if (error != std::errc() || end != rate.data() + rate.size() || !(shown.exchangeRate >= 0)) {
                    result.error.message = "the rate \"" + rate + "\" of the feedback after game "
                                           + std::to_string(*row.game) + " of registration "
                                           + std::to_string(row.registration) + " is not a number";
                    return result;
                }
                shown.currencySymbol = QString::fromStdString(row.detailValue("currency").value_or(""));
                facts.rates[{row.registration, *row.game}] = shown;
            }
            break;
        case session::Event::ClosedEarly:
            facts.endedEarly[row.registration] = "closed_early";
            break;
        case session::Event::Error:
            facts.endedEarly[row.registration] = "error";
            break;
        default:
            break;
        }
    }
    result.facts = std::move(facts);
    return result;
}

} // namespace ct
