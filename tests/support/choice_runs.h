#pragma once

#include <string>
#include <string_view>

// A game's choices written as runs of options: "L145 R4" is 145 left-option
// choices, then 4 right-option choices; "(L2 R1)x31" repeats a pattern.
inline std::string expandRuns(std::string_view runs)
{
    int repeat = 1;
    if (runs.starts_with('(')) {
        const auto close = runs.find(")x");
        repeat = std::stoi(std::string(runs.substr(close + 2)));
        runs = runs.substr(1, close - 1);
    }
    std::string pattern;
    std::size_t i = 0;
    while (i < runs.size()) {
        const char option = runs[i++];
        std::size_t end = runs.find(' ', i);
        if (end == std::string_view::npos)
            end = runs.size();
        pattern.append(std::stoul(std::string(runs.substr(i, end - i))), option);
        i = end + 1;
    }
    std::string choices;
    for (int k = 0; k < repeat; ++k)
        choices += pattern;
    return choices;
}
