#include "SmallDisk.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <vector>

namespace {
int64_t FreeIn(const std::string& folder)
{
    struct statvfs info {};
    return ::statvfs(folder.c_str(), &info) == 0 ? int64_t(info.f_bavail) * int64_t(info.f_frsize) : 0;
}
}  // namespace

SmallDisk::SmallDisk(std::string folder, int64_t bytes) : m_folder(std::move(folder))
{
    std::filesystem::create_directories(m_folder);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
        m_why = "no memory disk could be mounted on " + m_folder + ": " + std::strerror(errno);
}

SmallDisk::~SmallDisk()
{
    if (Mounted())
        ::umount2(m_folder.c_str(), MNT_DETACH);
}

bool SmallDisk::LeaveRoom(int64_t room)
{
    const std::string filler = m_folder + "/.filler";
    std::filesystem::remove(filler);
    const int64_t fill = FreeIn(m_folder) - room;
    if (fill < 0)
        return false;
    std::ofstream(filler, std::ios::binary).write(std::vector<char>(std::size_t(fill), 'f').data(), fill);
    return FreeIn(m_folder) <= room;
}
