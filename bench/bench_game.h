// What the game benchmarks share: a registered participant's game in a
// temporary working folder (data file with its header, session record), a
// window flow that only notes the end of the game, and a summary of timings.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "rules/experiment.h"
#include "windows/window_flow.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <string>
#include <vector>

namespace ct::bench {

class BenchFlow final : public WindowFlow {
public:
    void openInstructions() override {}
    void openGame() override {}
    void openFeedback() override { ++feedbacks; }
    int feedbacks = 0;
};

// Participant 1, first registration, left option on the left button; the
// files go where the system keeps temporary files, on its disk. The working
// folder is the temporary one for as long as this lives.
struct BenchGame {
    QTemporaryDir folder;
    QString previous = QDir::currentPath();
    Module1 state;
    BenchFlow flow;
    AppContext context{state, systemClock(), flow, [] { return 0.25; }, QDir(folder.path()).filesystemPath()};

    BenchGame()
    {
        QDir::setCurrent(folder.path());
        state.dataFileName = "1.csv";
        state.sessionFileName = "1.session.csv";
        state.registration = 1;
        state.leftOptionOnLeft = true;
        (void)appendDurably(state.dataFileName, std::string(kHeaderLine));
    }
    ~BenchGame() { QDir::setCurrent(previous); }
    BenchGame(const BenchGame &) = delete;
    BenchGame &operator=(const BenchGame &) = delete;
};

struct Summary {
    std::size_t count = 0;
    double median = 0, mean = 0, best = 0, worst = 0;
};

inline Summary summarise(std::vector<double> values)
{
    Summary s;
    s.count = values.size();
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.best = values.front();
    s.worst = values.back();
    for (double v : values)
        s.mean += v / static_cast<double>(n);
    return s;
}

} // namespace ct::bench
