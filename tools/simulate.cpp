// choicetask-simulate: plays eight games with a scripted participant through
// the program's own rules and writes the data file the program would write
// for those choices, byte for byte, and a matching session record, so that an
// analysis pipeline can be tested before the first participant.
#include "platform/files.h"
#include "rules/experiment.h"
#include "rules/feedback/settings_file.h"
#include "rules/game/data_file.h"
#include "rules/game/simulated_participant.h"
#include "rules/session_record.h"
#include "rules/setup/participant_id.h"
#include "tools/simulated_session.h"

#include <QCoreApplication>
#include <QDir>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char kUsage[] = "usage: choicetask-simulate [--append] [--settings FOLDER] ID STRATEGY [SEED | CHOICES]\n"
                          "\n"
                          "Writes ID.csv in the current folder: the data file the program would write\n"
                          "for one registration and eight games played with STRATEGY, and beside it the\n"
                          "session record ID.session.csv (marked simulated). Existing files are left\n"
                          "alone unless --append is given, so that simulated lines never mix with a\n"
                          "participant's data unnoticed. The feedback rows take the exchange rate from\n"
                          "config.ini in FOLDER, by default the folder of this command (as the program\n"
                          "does); without a config.ini there, the rate is 0.\n"
                          "\n"
                          "  left            the left option (5 points) on every trial\n"
                          "  right           the right option (10 points) on every trial\n"
                          "  best            144 left-option choices, then the right option (760 points)\n"
                          "  random SEED     each choice left or right with equal chance, from SEED\n"
                          "                  (a whole number from 0 to 18446744073709551615)\n"
                          "  choices CHOICES the choices of all eight games in order, as L and R letters\n";

int usage(const std::string &problem)
{
    if (!problem.empty())
        std::fprintf(stderr, "choicetask-simulate: %s\n\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "choicetask-simulate: %s\n", message.c_str());
    return 1;
}

bool existsAt(const std::filesystem::path &path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    bool append = false;
    // Folders by the bytes of their names as given: a QString may not hold a
    // name that is not in the system's encoding.
    std::optional<std::filesystem::path> settingsFolder;
    while (!arguments.empty() && arguments[0].starts_with("--")) {
        if (arguments[0] == "--append") {
            append = true;
        } else if (arguments[0] == "--settings" && arguments.size() > 1) {
            settingsFolder = std::filesystem::path(std::string(arguments[1]));
            arguments.erase(arguments.begin());
        } else {
            return usage("unknown option \"" + std::string(arguments[0]) + "\", or --settings without a FOLDER");
        }
        arguments.erase(arguments.begin());
    }
    if (arguments.size() < 2 || arguments.size() > 3)
        return usage({});
    const ct::ParticipantId id = ct::parseParticipantId(arguments[0]);
    if (id.status != ct::IdStatus::Ok)
        return usage(
            "ID must be a participant ID as the program takes it: a number that rounds into -32768 to 32767, not 0");

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
        if (text.empty() || error != std::errc() || end != text.data() + text.size())
            return usage("SEED must be a whole number from 0 to 18446744073709551615, not \"" + std::string(text)
                         + "\"");
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
    if (!run.ok())
        return fail(run.error.message);

    // The rate the feedback windows would have read.
    const auto [folder, folderRole] = ct::commandSettingsFolder(settingsFolder);
    ct::Settings settings;
    const bool haveSettings = existsAt(folder / ct::kSettingsFileName);
    if (haveSettings || settingsFolder) {
        const ct::SettingsRead read = ct::ReadSettingsFile(folder, QLocale(), folderRole);
        if (!read.ok())
            return fail(read.error.message);
        settings = read.settings;
    }

    const std::string dataFile = ct::dataFileNameFor(id.id);
    const std::string sessionFile = ct::session::sessionFileNameFor(dataFile);
    const bool dataExists = existsAt(dataFile);
    const bool sessionExists = existsAt(sessionFile);
    if (!append && (dataExists || sessionExists))
        return fail(ct::absolutePath(dataExists ? dataFile : sessionFile)
                    + " already exists. Nothing was written: simulated lines would mix with the data in it. To add a "
                      "simulated registration to it on purpose, give --append.");

    // Only regular files are appended to: a named pipe would make the
    // append wait for a reader forever.
    for (const std::string &file : {dataFile, sessionFile}) {
        std::error_code ignored;
        if (existsAt(file) && !std::filesystem::is_regular_file(file, ignored))
            return fail("\"" + file + "\" cannot take simulated data: it is not a regular file. Nothing was written.");
    }

    // The registration number counts the header lines, this run's included.
    std::string before;
    if (dataExists) {
        const ct::ReadResult read = ct::readWholeFile(dataFile, ct::kMaxDataFileBytes);
        if (!read.ok())
            return fail(read.error.message);
        before = read.bytes;
    }
    const int registration = ct::session::registrationNumber(before + std::string(ct::kHeaderLine));
    std::string rows = ct::simulatedSessionRows(run, registration, seed, settings, std::chrono::system_clock::now());
    if (!sessionExists)
        rows.insert(0, ct::session::kHeader);

    // The data file first, as the program writes it.
    const ct::FileResult written = ct::appendDurably(dataFile, run.bytes);
    if (!written.ok())
        return fail(written.error.message);
    const ct::FileResult recorded = ct::appendDurably(sessionFile, rows);
    if (!recorded.ok())
        return fail(recorded.error.message);

    std::printf("%s: eight simulated games %s (registration %d)\n", ct::absolutePath(dataFile).c_str(),
                dataExists ? "appended" : "written", registration);
    std::printf("%s: its session record, marked simulated\n", ct::absolutePath(sessionFile).c_str());
    if (!haveSettings && !settingsFolder)
        std::printf("No config.ini in %s: the feedback rows have a rate of 0.\n", ct::absolutePath(folder).c_str());
    for (std::size_t game = 0; game < run.gamePoints.size(); ++game)
        std::printf("  game %zu: %s points\n", game + 1, run.gamePoints[game].c_str());
    return 0;
}
