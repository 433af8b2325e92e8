// choicetask-simulate: plays eight games with a scripted participant through
// the program's own rules and appends the data file the program would write
// for those choices, byte for byte, so that an analysis pipeline can be tested
// before the first participant.
#include "platform/files.h"
#include "rules/game/simulated_participant.h"
#include "rules/setup/participant_id.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr char kUsage[] =
    "usage: choicetask-simulate ID STRATEGY [SEED | CHOICES]\n"
    "\n"
    "Appends to ID.csv in the current folder the data file the program would write\n"
    "for one registration and eight games played with STRATEGY:\n"
    "  left            the left option (5 points) on every trial\n"
    "  right           the right option (10 points) on every trial\n"
    "  best            144 left-option choices, then the right option (760 points)\n"
    "  random SEED     each choice left or right with equal chance, from SEED\n"
    "  choices CHOICES the choices of all eight games in order, as L and R letters\n";

int usage(const char *problem)
{
    if (problem)
        std::fprintf(stderr, "choicetask-simulate: %s\n\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc < 3 || argc > 4)
        return usage(nullptr);
    const ct::ParticipantId id = ct::parseParticipantId(argv[1]);
    if (id.status != ct::IdStatus::Ok)
        return usage("ID must be a participant ID as the program takes it: a number that rounds into -32768 to 32767, not 0");

    const std::string_view name = argv[2];
    std::uint64_t seed = 0;
    std::string_view choices;
    if (name == "random") {
        if (argc != 4)
            return usage("random needs a SEED");
        char *end = nullptr;
        seed = std::strtoull(argv[3], &end, 10);
        if (*argv[3] == '\0' || *end != '\0')
            return usage("SEED must be a whole number");
    } else if (name == "choices") {
        if (argc != 4)
            return usage("choices needs the CHOICES");
        choices = argv[3];
    } else if (argc != 3) {
        return usage("only random and choices take a further argument");
    }
    const auto strategy = ct::strategyNamed(name, seed, choices);
    if (!strategy)
        return usage("unknown STRATEGY, or CHOICES with letters other than L and R");

    const ct::SimulatedRun run = ct::simulate(*strategy);
    if (!run.ok) {
        std::fprintf(stderr, "choicetask-simulate: %s\n", run.error.c_str());
        return 1;
    }
    const std::string fileName = ct::dataFileNameFor(id.id);
    const ct::FileResult written = ct::appendDurably(fileName, run.bytes);
    if (!written.ok) {
        std::fprintf(stderr, "choicetask-simulate: %s\n", written.error.c_str());
        return 1;
    }
    std::printf("%s: eight games appended\n", fileName.c_str());
    for (std::size_t game = 0; game < run.gamePoints.size(); ++game)
        std::printf("  game %zu: %s points\n", game + 1, run.gamePoints[game].c_str());
    return 0;
}
