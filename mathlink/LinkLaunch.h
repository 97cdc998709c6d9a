#pragma once
// Reading the open string and starting the kernel program as a child process
// with its data and control sockets on descriptors 3 and 4.
#include <string>
#include <sys/types.h>

namespace wire {

struct LaunchRequest {
    bool launch = false;
    std::string name;
};

// Throws std::invalid_argument on a malformed open string.
LaunchRequest parseOpenString(const std::string& arguments);
// The absolute path of the kernel program the name stands for, or "" when there is none.
std::string resolveKernelProgram(const std::string& name);

struct LaunchedKernel {
    pid_t pid = -1;
    int dataFd = -1;
    int controlFd = -1;
};

// Starts the program; false (errno-style text in `why`) when it cannot run.
bool launchKernel(const std::string& program, LaunchedKernel& kernel, std::string& why);
// Waits for the child to end, killing it when it has not ended within graceMs.
void reapKernel(pid_t pid, int graceMs);

} // namespace wire
