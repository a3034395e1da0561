#pragma once

// What a process costs while it waits: CPU time and wake-ups, counted over every thread it has
// (Linux; read from /proc/self). A thread that blocks and is woken again makes one voluntary
// context switch, so the sum over the threads counts the process's wake-ups; the involuntary ones
// (preemption) depend on what else the machine runs and are left out.
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace quillo::bench {

struct Activity {
    double cpuSeconds = 0;
    long long contextSwitches = 0;
};

inline Activity ProcessActivity() {
    Activity activity;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    activity.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.starts_with("voluntary_ctxt_switches:")) {
                activity.contextSwitches += std::stoll(line.substr(line.find(':') + 1));
            }
        }
    }
    return activity;
}

// Prints the activity since `before` over `seconds` of wall time.
inline void PrintIdle(const char* what, const Activity& before, double seconds) {
    const Activity after = ProcessActivity();
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    const auto wakeUps = static_cast<double>(after.contextSwitches - before.contextSwitches);
    std::printf("idle, %s, %.1f s: %.1f wake-ups/s, CPU %.4f s = %.4f %% of one core\n", what,
                seconds, wakeUps / seconds, cpu, 100.0 * cpu / seconds);
}

}  // namespace quillo::bench
