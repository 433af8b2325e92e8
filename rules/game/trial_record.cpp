#include "rules/game/trial_record.h"

#include "rules/number_text.h"

namespace ct {

std::string dataLine(const TrialResult &trial)
{
    std::string line;
    for (const std::string &number :
         {dataFileNumber(std::int64_t{trial.trial}), dataFileNumber(std::int64_t{trial.choice}),
          dataFileNumber(trial.payoff), dataFileNumber(trial.winnings), dataFileNumber(trial.historyLeft),
          dataFileNumber(trial.unitsBefore)}) {
        line += number;
        line += " ,";
    }
    line += "\r\n";
    return line;
}

} // namespace ct
