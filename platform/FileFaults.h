#pragma once
// A test hook for file writing: after a given number of further bytes every
// write made through CFile fails as if the disk were full. Writes that
// straddle the limit store the bytes that fit and then fail, as a real full
// disk does. Off unless a test turns it on.
#include <cstdint>

class FileFaults {
public:
    // The next `bytes` bytes written succeed; every byte after them fails.
    static void SetDiskFullAfter(int64_t bytes);
    static void Clear();
    static bool Active();

    // How many of `count` bytes may still be written (all of them when the
    // hook is off), and charges them against the remaining budget.
    static uint32_t TakeAllowance(uint32_t count);
};

// Turns the full-disk simulation on for one scope.
class ScopedDiskFull {
public:
    explicit ScopedDiskFull(int64_t bytesBeforeFull) { FileFaults::SetDiskFullAfter(bytesBeforeFull); }
    ~ScopedDiskFull() { FileFaults::Clear(); }
    ScopedDiskFull(const ScopedDiskFull&) = delete;
    ScopedDiskFull& operator=(const ScopedDiskFull&) = delete;
};
