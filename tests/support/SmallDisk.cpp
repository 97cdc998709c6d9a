#include "SmallDisk.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <vector>

namespace {
constexpr const char* kFiller = "/.filler";
}

SmallDisk::SmallDisk(std::string folder, int64_t bytes) : m_folder(std::move(folder))
{
    std::filesystem::create_directories(m_folder);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    m_mounted = ::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!m_mounted)
        m_why = std::string("no memory disk could be mounted on ") + m_folder + ": " + std::strerror(errno);
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(m_folder.c_str(), MNT_DETACH);
}

int64_t SmallDisk::Free() const
{
    struct statvfs info {};
    if (::statvfs(m_folder.c_str(), &info) != 0)
        return 0;
    return int64_t(info.f_bavail) * int64_t(info.f_frsize);
}

bool SmallDisk::LeaveRoom(int64_t room)
{
    std::filesystem::remove(m_folder + kFiller);
    const int64_t fill = Free() - room;
    if (fill < 0)
        return false;
    std::ofstream(m_folder + kFiller, std::ios::binary).write(std::vector<char>(std::size_t(fill), 'f').data(), fill);
    return Free() <= room;
}
