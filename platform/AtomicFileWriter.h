#pragma once
// Replaces a file without ever leaving it half written: the new content goes
// into a temporary file beside the target, and only when all of it has been
// written and synced to the disk is the temporary renamed over the target.
// A failure at any step removes the temporary, leaves the old file exactly as
// it was and throws CFileException saying why. Only a regular file is
// replaced: a folder, a named pipe or a device of the name is refused and
// left as it is.
#include <cstdint>
#include <string>

#include "platform/CFile.h"

class AtomicFileWriter {
public:
    // Creates the temporary file beside the target (symbolic links are
    // followed, so the file they name is the one replaced). Throws
    // CFileException when the target is no regular file or the folder is
    // gone or cannot take a new file (its reason then names the folder).
    // Failures of writing name the target as the caller gave it, never the
    // hidden temporary.
    explicit AtomicFileWriter(const std::string& targetPath);
    // Discards the temporary unless Commit succeeded.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The temporary file, for the byte streams to write into.
    CFile& File() { return m_file; }
    void Write(const void* buffer, uint32_t count) { m_file.Write(buffer, count); }

    // Syncs the temporary, gives it the old file's permissions and renames it
    // over the target. Throws on failure, after discarding the temporary.
    void Commit();
    // Removes the temporary; the target is untouched.
    void Discard();

    bool IsCommitted() const { return m_committed; }
    const std::string& TargetPath() const { return m_target; }
    const std::string& TemporaryPath() const { return m_temporary; }

private:
    void CreateTemporary();

    std::string m_target;
    std::string m_chosen;
    std::string m_temporary;
    CFile m_file;
    bool m_committed = false;
};
