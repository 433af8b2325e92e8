#include "rules/feedback/session_facts.h"

namespace ct {

SessionCheck checkSession(const DataFile &data, const SessionFacts &session)
{
    SessionCheck check;
    std::size_t matched = 0;
    int registration = 0;
    for (const Registration &r : data.registrations) {
        ++registration;
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
    if (matched != session.choices.size())
        check.mismatch = true; // choice rows without a data line
    return check;
}

} // namespace ct
