// choicetask-simulate: plays eight games with a scripted participant through
// the program's own rules and appends the data file the program would write
// for those choices, byte for byte, so that an analysis pipeline can be tested
// before the first participant.
#include "platform/files.h"
#include "rules/game/simulated_participant.h"
#include "rules/setup/participant_id.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char kUsage[] =
    "usage: choicetask-simulate [--append] ID STRATEGY [SEED | CHOICES]\n"
    "\n"
    "Writes ID.csv in the current folder: the data file the program would write\n"
    "for one registration and eight games played with STRATEGY. An existing ID.csv\n"
    "is left alone unless --append is given, so that simulated lines never mix\n"
    "with a participant's data unnoticed.\n"
    "\n"
    "  left            the left option (5 points) on every trial\n"
    "  right           the right option (10 points) on every trial\n"
    "  best            144 left-option choices, then the right option (760 points)\n"
    "  random SEED     each choice left or right with equal chance, from SEED\n"
    "                  (a whole number from 0 to 18446744073709551615)\n"
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
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool append = !arguments.empty() && arguments[0] == "--append";
    if (append)
        arguments.erase(arguments.begin());
    if (arguments.size() < 2 || arguments.size() > 3)
        return usage(nullptr);
    const ct::ParticipantId id = ct::parseParticipantId(arguments[0]);
    if (id.status != ct::IdStatus::Ok)
        return usage("ID must be a participant ID as the program takes it: a number that rounds into -32768 to 32767, not 0");

    const std::string_view name = arguments[1];
    std::uint64_t seed = 0;
    std::string_view choices;
    if (name == "random") {
        if (arguments.size() != 3)
            return usage("random needs a SEED");
        // Digits only: from_chars takes no sign and refuses a number beyond
        // the range instead of wrapping it.
        const std::string_view text = arguments[2];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
        if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
            const std::string problem = "SEED must be a whole number from 0 to 18446744073709551615, not \""
                                        + std::string(text) + "\"";
            return usage(problem.c_str());
        }
    } else if (name == "choices") {
        if (arguments.size() != 3)
            return usage("choices needs the CHOICES");
        choices = arguments[2];
    } else if (arguments.size() != 2) {
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
    const std::string where = ct::absolutePath(fileName);
    std::error_code statusError;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(fileName, statusError));
    if (exists && !append) {
        std::fprintf(stderr,
                     "choicetask-simulate: %s already exists. Nothing was written: simulated lines would mix with "
                     "the data in it. To add a simulated registration to it on purpose, give --append.\n",
                     where.c_str());
        return 1;
    }
    const ct::FileResult written = ct::appendDurably(fileName, run.bytes);
    if (!written.ok) {
        std::fprintf(stderr, "choicetask-simulate: %s\n", written.error.c_str());
        return 1;
    }
    std::printf("%s: eight simulated games %s\n", where.c_str(), exists ? "appended" : "written");
    for (std::size_t game = 0; game < run.gamePoints.size(); ++game)
        std::printf("  game %zu: %s points\n", game + 1, run.gamePoints[game].c_str());
    return 0;
}
