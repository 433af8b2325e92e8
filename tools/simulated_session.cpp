#include "tools/simulated_session.h"

#include "rules/feedback/money.h"
#include "rules/number_text.h"
#include "rules/session_record.h"

#include <QSysInfo>

#include <chrono>
#include <cstdio>
#include <random>

namespace ct {
namespace {

constexpr double kReadingInstructionsMs = 60000;
constexpr double kBeforeGoMs = 2000;
constexpr double kAtFeedbackMs = 8000;
constexpr double kPausePerUnitMs = 330;

std::string utcText(std::chrono::system_clock::time_point start, double elapsedMs)
{
    using namespace std::chrono;
    const auto at = time_point_cast<milliseconds>(start) + milliseconds(static_cast<long long>(elapsedMs));
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss time{at - day};
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return text;
}

} // namespace

std::string simulatedSessionRows(const SimulatedRun &run, int registration, std::uint64_t seed,
                                 const Settings &settings, std::chrono::system_clock::time_point start)
{
    // A stream of its own, so that the choices of a seed stay as they were.
    std::mt19937_64 draws(seed ^ 0x5e5510'4ec0'4dULL);
    const bool leftOptionOnLeft = (draws() >> 63) == 0;
    double clock = 0;
    std::string rows;
    const auto add = [&](session::Event event, std::optional<int> game = {}, session::Detail detail = {}) {
        session::Row row;
        row.registration = registration;
        row.event = event;
        row.timeUtc = utcText(start, clock);
        row.monotonicMs = clock;
        row.game = game;
        row.detail = std::move(detail);
        return row;
    };
    // The keys of the program's registered row; what a simulation has no
    // screen or instruction file for stays empty.
    rows += session::formatRow(add(session::Event::Registered, {},
                                   {{"version", CHOICETASK_VERSION},
                                    {"computer", QSysInfo::machineHostName().toStdString()},
                                    {"os", QSysInfo::prettyProductName().toStdString()},
                                    {"screen", ""},
                                    {"scale", ""},
                                    {"dpi", ""},
                                    {"instructions", ""},
                                    {"instructions_sha256", ""},
                                    {"left_option_button", leftOptionOnLeft ? "left" : "right"},
                                    {"simulated", "1"}}));
    clock += kReadingInstructionsMs;
    rows += session::formatRow(add(session::Event::InstructionsShown));

    const std::string rate = shortestText(settings.exchangeRate);
    const auto money = [&](double amount) {
        return settings.exchangeRate == 0 ? std::string()
                                          : FormatMoney(amount, settings.currencySymbol, QLocale::c()).toStdString();
    };
    Points total;
    for (std::size_t g = 0; g < run.games.size(); ++g) {
        const int game = static_cast<int>(g) + 1;
        clock += kBeforeGoMs;
        rows += session::formatRow(add(session::Event::GameStarted, game));
        for (const TrialResult &trial : run.games[g]) {
            const double response = 250 + static_cast<double>(draws() % 15000) / 10;
            clock += response;
            session::Row choice = add(session::Event::Choice, game);
            choice.trial = trial.trial;
            choice.button = (trial.choice == 1) == leftOptionOnLeft ? session::Button::Left : session::Button::Right;
            choice.option = trial.choice;
            choice.responseMs = response;
            choice.detail = {{"input", "mouse"}};
            if (!trial.gameOver) {
                choice.pausePlannedMs = trial.unitsLost * kPausePerUnitMs;
                choice.pauseActualMs = choice.pausePlannedMs;
                clock += *choice.pausePlannedMs;
            }
            rows += session::formatRow(choice);
        }
        const Points points = run.games[g].back().winnings;
        total += points;
        session::Detail detail = {{"rate", rate},
                                  {"currency", settings.currencySymbol.toStdString()},
                                  {"points", plainText(points)},
                                  {"money", money(gameMoney(points, settings.exchangeRate))}};
        if (g + 1 == run.games.size())
            detail.emplace_back("total_money", money(moneyFor(total.toDouble(), settings.exchangeRate)));
        rows += session::formatRow(add(session::Event::FeedbackShown, game, std::move(detail)));
        clock += kAtFeedbackMs;
    }
    rows += session::formatRow(add(session::Event::Finished, {}, {{"games", std::to_string(run.games.size())}}));
    return rows;
}

} // namespace ct
