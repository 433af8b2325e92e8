// libFuzzer entry for the ID typed at registration: any text gives an ID in
// range, the quiet zero, or a refusal with a message of bounded length.
#include "rules/experiment.h"
#include "rules/setup/participant_id.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const ct::ParticipantId parsed = ct::parseParticipantId(text);
    const std::string message = ct::participantIdProblem(parsed.status, text);
    switch (parsed.status) {
    case ct::IdStatus::Ok:
        if (!message.empty() || ct::dataFileNameFor(parsed.id).empty())
            __builtin_trap();
        break;
    case ct::IdStatus::Zero:
        if (!message.empty())
            __builtin_trap();
        break;
    case ct::IdStatus::NotANumber:
    case ct::IdStatus::OutOfRange:
        // The quote is cut short: a message never grows with what was typed
        // (60 characters of at most 4 bytes, and a byte that is not UTF-8
        // shown as U+FFFD, 3 bytes).
        if (message.empty() || message.size() > 900)
            __builtin_trap();
        break;
    }
    return 0;
}
