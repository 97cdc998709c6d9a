#pragma once
// The processor time a process has used. Tests that bound the cost of an
// operation measure it, not the wall clock, so that other tests and builds
// sharing the machine cannot fail them.
#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <unistd.h>

inline double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The processor time another process (a kernel the test started) has used so
// far; 0 when it cannot be read.
inline double CpuSecondsOf(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the command's closing parenthesis, from the state (3rd) on.
    std::istringstream fields(text.substr(std::min(text.size(), text.rfind(')') + 1)));
    std::string field;
    unsigned long long userTicks = 0, systemTicks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14)
            userTicks = std::stoull(field);
        if (number == 15)
            systemTicks = std::stoull(field);
    }
    return double(userTicks + systemTicks) / double(sysconf(_SC_CLK_TCK));
}
