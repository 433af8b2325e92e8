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
            for (const ct::RecordedGame &game : registration.games)
                if (game.trials.empty() || game.trials.front().trial != 1)
                    __builtin_trap();
    return 0;
}
