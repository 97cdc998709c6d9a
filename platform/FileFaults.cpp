#include "platform/FileFaults.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <mutex>

namespace {
// Bytes that may still be written; negative while the hook is off.
std::atomic<int64_t> remainingBytes{-1};

// The folder that refuses new files (its resolved path), empty while off.
std::mutex deniedLock;
std::string deniedFolder;

std::string Resolved(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}
}

void FileFaults::SetDiskFullAfter(int64_t bytes)
{
    remainingBytes = std::max<int64_t>(bytes, 0);
}

void FileFaults::Clear()
{
    remainingBytes = -1;
}

bool FileFaults::Active()
{
    return remainingBytes.load() >= 0;
}

uint32_t FileFaults::TakeAllowance(uint32_t count)
{
    int64_t remaining = remainingBytes.load();
    while (remaining >= 0) {
        int64_t granted = std::min<int64_t>(remaining, count);
        if (remainingBytes.compare_exchange_weak(remaining, remaining - granted))
            return static_cast<uint32_t>(granted);
    }
    return count;
}

void FileFaults::SetFolderDenied(const std::string& folder)
{
    std::lock_guard lock(deniedLock);
    deniedFolder = folder.empty() ? std::string() : Resolved(folder);
}

bool FileFaults::DeniesNewFilesIn(const std::string& folder)
{
    std::lock_guard lock(deniedLock);
    return !deniedFolder.empty() && Resolved(folder) == deniedFolder;
}
