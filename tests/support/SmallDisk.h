#pragma once
// A real disk that fills: a memory file system of a few blocks mounted on a
// folder for one scope, and unmounted (with whatever is on it) at its end.
// Mounting needs a machine that allows it (a test run as root); where it is
// refused, Mounted() is false and Why() says why, for the test to skip.
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

    bool Mounted() const { return m_mounted; }
    const std::string& Why() const { return m_why; }
    const std::string& Folder() const { return m_folder; }

    // The bytes still free.
    int64_t Free() const;
    // Fills the disk with a file of its own until room bytes are left (fewer
    // when room is not a whole number of its blocks); an earlier filling is
    // removed first. False when the disk has less room than that.
    bool LeaveRoom(int64_t room);

private:
    std::string m_folder;
    bool m_mounted = false;
    std::string m_why;
};

// The room one row of a full-disk test leaves, for its scope: through the
// file layer's hook without a memory disk, else by filling the memory disk.
class RoomLeft {
public:
    RoomLeft(SmallDisk* disk, int64_t room)
    {
        if (disk)
            m_left = disk->LeaveRoom(room);
        else
            m_hook.emplace(room);
    }
    // False when the memory disk had less room than that.
    bool Left() const { return m_left; }
    static std::string Name(const SmallDisk* disk, int64_t room)
    {
        return (disk ? "memory disk, room " : "hook, room ") + std::to_string(room);
    }

private:
    std::optional<ScopedDiskFull> m_hook;
    bool m_left = true;
};
