#include "SmallDisk.h"

#include "platform/FileFaults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace {

int64_t FreeIn(const std::string& folder)
{
    struct statvfs info {};
    return ::statvfs(folder.c_str(), &info) == 0 ? int64_t(info.f_bavail) * int64_t(info.f_frsize) : 0;
}

// Unmounts the disk, and drops what is on it, at the end of the scope.
struct Unmount {
    std::string folder;
    ~Unmount() { ::umount2(folder.c_str(), MNT_DETACH); }
};

// Fills the disk with a file beside the rows' folder until at most room bytes are left.
bool LeaveRoom(const std::string& disk, int64_t room)
{
    const std::string filler = disk + "/filler";
    std::filesystem::remove(filler);
    const int64_t fill = FreeIn(disk) - room;
    if (fill < 0)
        return false;
    std::ofstream(filler, std::ios::binary).write(std::string(std::size_t(fill), 'f').data(), fill);
    return FreeIn(disk) <= room;
}

} // namespace

std::string OnFullDisks(const std::string& hookFolder, const std::string& diskFolder, int64_t bytes,
                        const std::vector<int64_t>& rooms, const std::function<void(const std::string&)>& prepare,
                        const std::function<void(const std::string&)>& row)
{
    std::filesystem::create_directories(hookFolder);
    prepare(hookFolder);
    for (const int64_t room : rooms) {
        SCOPED_TRACE("hook, room " + std::to_string(room));
        const ScopedDiskFull full(room);
        row(hookFolder);
    }

    std::filesystem::create_directories(diskFolder);
    const std::string size = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", diskFolder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, size.c_str()) != 0)
        return "no memory disk could be mounted on " + diskFolder + ": " + std::strerror(errno);
    const Unmount unmount{diskFolder};
    const std::string folder = diskFolder + "/files";
    std::filesystem::create_directories(folder);
    prepare(folder);
    for (const int64_t room : rooms) {
        SCOPED_TRACE("memory disk, room " + std::to_string(room));
        if (LeaveRoom(diskFolder, room))
            row(folder);
        else
            ADD_FAILURE() << "the memory disk could not be filled";
    }
    return {};
}
