#pragma once
// Test hooks for file writing: after a given number of further bytes every
// write made through CFile fails as if the disk were full (writes that
// straddle the limit store the bytes that fit and then fail, as a real full
// disk does); and one folder refuses the new files that replacing a file
// makes beside it, as a folder the user may not write does (which tests run
// as root could not see otherwise). Off unless a test turns them on.
#include <cstdint>
#include <string>

class FileFaults {
public:
    // The next `bytes` bytes written succeed; every byte after them fails.
    static void SetDiskFullAfter(int64_t bytes);
    static void Clear();
    static bool Active();

    // How many of `count` bytes may still be written (all of them when the
    // hook is off), and charges them against the remaining budget.
    static uint32_t TakeAllowance(uint32_t count);

    // New files made in the folder fail with the error EACCES; an empty
    // folder turns the hook off.
    static void SetFolderDenied(const std::string& folder);
    static bool DeniesNewFilesIn(const std::string& folder);
};

// Turns the full-disk simulation on for one scope.
class ScopedDiskFull {
public:
    explicit ScopedDiskFull(int64_t bytesBeforeFull) { FileFaults::SetDiskFullAfter(bytesBeforeFull); }
    ~ScopedDiskFull() { FileFaults::Clear(); }
    ScopedDiskFull(const ScopedDiskFull&) = delete;
    ScopedDiskFull& operator=(const ScopedDiskFull&) = delete;
};

// Makes one folder refuse new files for one scope.
class ScopedFolderDenied {
public:
    explicit ScopedFolderDenied(const std::string& folder) { FileFaults::SetFolderDenied(folder); }
    ~ScopedFolderDenied() { FileFaults::SetFolderDenied({}); }
    ScopedFolderDenied(const ScopedFolderDenied&) = delete;
    ScopedFolderDenied& operator=(const ScopedFolderDenied&) = delete;
};
