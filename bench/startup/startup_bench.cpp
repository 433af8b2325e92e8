// Start-up of the program: from the moment the process is spawned to its
// registration window first painted, and the resident memory at that point;
// then from Run pressed (participant 1) to the instructions first painted.
// Runs the probe (the program ending at that moment) many times in a folder
// with the input files the program checks for, and prints the figures.
//
//   startup_bench [runs] [instruction file] [ms]   (under X, or with QT_QPA_PLATFORM=offscreen)
// Without a file, a one-line instruction file is used. Run is pressed as soon as
// the registration window is painted, or that many milliseconds later.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    const fs::path probe = fs::canonical("/proc/self/exe").parent_path() / "startup_probe";
    // The probe looks for the settings file beside itself.
    std::ofstream(probe.parent_path() / "config.ini") << "50\r\n$\r\n";
    const fs::path folder = fs::temp_directory_path() / ("ct-startup-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path instructions = folder / "instructions_condition_1.rtf";
    if (argc > 2)
        fs::copy_file(argv[2], instructions);
    else
        std::ofstream(instructions) << "{\\rtf1\\ansi Instructions.\\par}";
    fs::current_path(folder);

    std::vector<double> milliseconds;
    std::vector<double> megabytes;
    std::vector<double> runMilliseconds;
    for (int i = 0; i < runs; ++i) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return 1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const std::string path = probe.string();
        std::string run = "--run";
        if (argc > 3)
            run += std::string("=") + argv[3];
        char *childArgv[] = {const_cast<char *>(path.c_str()), run.data(), nullptr};
        pid_t pid = 0;
        const long long spawned = monotonicNanoseconds();
        if (posix_spawn(&pid, path.c_str(), &actions, nullptr, childArgv, environ) != 0) {
            std::fprintf(stderr, "cannot start %s\n", path.c_str());
            return 1;
        }
        close(pipeFds[1]);
        std::string output;
        char buffer[256];
        ssize_t n = 0;
        while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            output.append(buffer, static_cast<std::size_t>(n));
        close(pipeFds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        posix_spawn_file_actions_destroy(&actions);
        long long shown = 0;
        long rss = 0;
        long long runToPainted = 0;
        if (std::sscanf(output.c_str(), "%lld %ld %lld", &shown, &rss, &runToPainted) != 3) {
            std::fprintf(stderr, "run %d: the probe reported nothing (status %d)\n", i, status);
            return 1;
        }
        milliseconds.push_back(static_cast<double>(shown - spawned) / 1e6);
        megabytes.push_back(static_cast<double>(rss) / 1024.0);
        runMilliseconds.push_back(static_cast<double>(runToPainted) / 1e6);
        // The next run registers participant 1 afresh.
        for (const fs::directory_entry &entry : fs::directory_iterator(folder))
            if (entry.path() != instructions)
                fs::remove_all(entry.path());
    }
    fs::remove_all(folder);

    std::printf("start-up to registration window painted, %d runs\n", runs);
    std::printf("  median %.1f ms, best %.1f ms, worst %.1f ms\n", median(milliseconds),
                *std::min_element(milliseconds.begin(), milliseconds.end()),
                *std::max_element(milliseconds.begin(), milliseconds.end()));
    std::printf("  resident memory at that point: median %.1f MB, worst %.1f MB\n", median(megabytes),
                *std::max_element(megabytes.begin(), megabytes.end()));
    std::printf("Run pressed to instructions painted\n");
    std::printf("  median %.1f ms, best %.1f ms, worst %.1f ms\n", median(runMilliseconds),
                *std::min_element(runMilliseconds.begin(), runMilliseconds.end()),
                *std::max_element(runMilliseconds.begin(), runMilliseconds.end()));
    return 0;
}
