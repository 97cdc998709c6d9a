#pragma once
// The processor time this test process has used. Tests that bound the cost of
// an operation measure it, not the wall clock, so that other tests and builds
// sharing the machine cannot fail them.
#include <ctime>

inline double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}
