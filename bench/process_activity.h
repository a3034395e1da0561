#pragma once

// What a process costs while it waits: CPU time and wake-ups, counted over every thread it has
// (Linux; read from /proc/self). A thread that blocks and is woken again makes one voluntary
// context switch, so the sum over the threads counts the process's wake-ups; the involuntary ones
// (preemption) depend on what else the machine runs and are left out.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace quillo::bench {

struct Activity {
    double cpuSeconds = 0;
    long long contextSwitches = 0;
    long long mainThreadSwitches = 0;  // the part of the main thread (the event loop)
};

inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline void CountSwitches(Activity& activity) {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.starts_with("voluntary_ctxt_switches:")) {
                const long long switches = std::stoll(line.substr(line.find(':') + 1));
                activity.contextSwitches += switches;
                if (task.path().filename() == std::to_string(getpid())) {
                    activity.mainThreadSwitches = switches;
                }
            }
        }
    }
}

// Reading /proc costs about a millisecond of CPU: the start takes the CPU time after it and the
// end before it, so neither reading is counted.
inline Activity ProcessActivity() {
    Activity activity;
    CountSwitches(activity);
    activity.cpuSeconds = CpuSeconds();
    return activity;
}

inline Activity ActivityAtEnd() {
    Activity activity;
    activity.cpuSeconds = CpuSeconds();
    CountSwitches(activity);
    return activity;
}

// Prints the activity since `before` over `seconds` of wall time.
inline void PrintIdle(const char* what, const Activity& before, double seconds) {
    const Activity after = ActivityAtEnd();
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    const auto wakeUps = static_cast<double>(after.contextSwitches - before.contextSwitches);
    const auto mainWakeUps =
        static_cast<double>(after.mainThreadSwitches - before.mainThreadSwitches);
    std::printf(
        "idle, %s, %.1f s: %.1f wake-ups/s (main thread %.1f, other threads %.1f), CPU %.4f s = "
        "%.4f %% of one core\n",
        what, seconds, wakeUps / seconds, mainWakeUps / seconds, (wakeUps - mainWakeUps) / seconds,
        cpu, 100.0 * cpu / seconds);
}

}  // namespace quillo::bench
