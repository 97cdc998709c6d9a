#pragma once
// A file opened by path, with the operations the byte streams and the
// document commands use. Failures are thrown as CFileException with the cause
// mapped from the operating system's error; a read that returns fewer bytes
// than asked for has met the end of the file.
#include <cstdint>
#include <string>

#include "platform/Exceptions.h"

class CFile {
public:
    // Open flags: one access mode, optionally combined with modeCreate
    // (create the file, or truncate it unless modeNoTruncate is given).
    // The share flags are accepted for callers that pass them; POSIX files
    // are not locked.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };

    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens the file or throws CFileException.
    CFile(const std::string& path, unsigned flags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file quietly when it is still open.
    virtual ~CFile();

    // Opens the file; on failure returns false and, when error is given,
    // stores the cause there. Only a regular file opens: a folder, a named
    // pipe or a device is refused at once (accessDenied), never waited on.
    bool Open(const std::string& path, unsigned flags, CFileException::Cause* error = nullptr);
    // What the path names when that is no regular file ("a folder", "a named
    // pipe", "a device", ...); empty for a regular file or nothing at all.
    static std::string NonFileKind(const std::string& path);

    // Takes over an open descriptor (closing any file open before).
    void Attach(int descriptor, const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }

    // Reads up to count bytes and returns how many were read; fewer than
    // count means the end of the file was reached.
    uint32_t Read(void* buffer, uint32_t count);
    // Writes all count bytes or throws (diskFull when the disk is full).
    void Write(const void* buffer, uint32_t count);
    // Moves the position and returns the new one.
    uint64_t Seek(int64_t offset, SeekPosition from);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    uint64_t GetPosition() const;
    uint64_t GetLength() const;
    void SetLength(uint64_t length);
    // Writes the file's data through to the disk.
    void Flush();
    // Closes the file; a failure to close throws.
    void Close();
    // Closes the file and ignores any failure.
    void Abort();

    const std::string& GetFilePath() const { return m_path; }

    // The cause for an operating-system error number.
    static CFileException::Cause CauseFromErrno(int error);

protected:
    [[noreturn]] void ThrowErrno(int error, const char* operation) const;
    void RequireOpen(const char* operation) const;

    int m_fd = -1;
    std::string m_path;
};
