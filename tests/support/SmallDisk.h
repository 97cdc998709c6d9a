#pragma once
// A disk that fills for real: a memory file system of a given size mounted on
// a folder for one scope, unmounted with what is on it at the end. Mounting
// needs a machine that allows it (a test run as root); where it is refused,
// Why() says so, for the test to skip. RoomLeft leaves the room a row of a
// full-disk test asks for, on such a disk or through the file layer's hook.
#include "platform/FileFaults.h"

#include <cstdint>
#include <optional>
#include <string>

class SmallDisk {
public:
    SmallDisk(std::string folder, int64_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_why.empty(); }
    const std::string& Why() const { return m_why; }
    const std::string& Folder() const { return m_folder; }
    // Fills the disk with the file ".filler" until at most room bytes are
    // left (a whole number of its blocks); false when fewer were free.
    bool LeaveRoom(int64_t room);

private:
    std::string m_folder;
    std::string m_why;
};

class RoomLeft {
public:
    RoomLeft(SmallDisk* disk, int64_t room)
    {
        if (disk)
            m_left = disk->LeaveRoom(room);
        else
            m_hook.emplace(room);
    }
    bool Left() const { return m_left; }
    static std::string Name(const SmallDisk* disk, int64_t room)
    {
        return (disk ? "memory disk, room " : "hook, room ") + std::to_string(room);
    }

private:
    std::optional<ScopedDiskFull> m_hook;
    bool m_left = true;
};
