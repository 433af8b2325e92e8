// libFuzzer entry for the data-file reader of choicetask-report: any bytes
// give the registrations and games read, or a refusal naming a line.
#include "rules/game/data_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ct::DataFileResult result = ct::readDataFile(std::string_view(reinterpret_cast<const char *>(data), size));
    if (!result.ok() && result.error.line < 1)
        __builtin_trap();
    if (result.ok())
        for (const ct::Registration &registration : result.file.registrations)
            for (std::size_t i = 0; i < registration.games.size(); ++i) {
                // A game starts with trial 1, but for the first game of a file
                // started again in the middle of a game.
                const int first = i == 0 && registration.restartedAtTrial > 1 ? registration.restartedAtTrial : 1;
                const ct::RecordedGame &game = registration.games[i];
                if (game.trials.empty() || game.trials.front().trial != first)
                    __builtin_trap();
            }
    return 0;
}
