#include "platform/CFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileFaults.h"

CFile::CFile(const std::string& path, unsigned flags)
{
    CFileException::Cause cause = CFileException::none;
    if (!Open(path, flags, &cause))
        throw CFileException(cause, path);
}

void CFile::Attach(int descriptor, const std::string& path)
{
    Abort();
    m_fd = descriptor;
    m_path = path;
}

CFile::~CFile()
{
    Abort();
}

namespace {

bool IsRegular(const struct stat& info)
{
    return S_ISREG(info.st_mode);
}

} // namespace

bool CFile::Open(const std::string& path, unsigned flags, CFileException::Cause* error)
{
    Abort();
    auto fail = [error](CFileException::Cause cause) {
        if (error)
            *error = cause;
        return false;
    };
    // Only regular files are opened. Opening a named pipe waits for a writer
    // and a device may never end, so anything else is refused before it is
    // opened, and opening does not wait: a pipe put in the file's place
    // since is seen on the open descriptor and refused too.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !IsRegular(info))
        return fail(CFileException::accessDenied);
    int access = O_RDONLY;
    if ((flags & 0x3) == modeWrite)
        access = O_WRONLY;
    else if ((flags & 0x3) == modeReadWrite)
        access = O_RDWR;
    int osFlags = access | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (flags & modeCreate) {
        osFlags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            osFlags |= O_TRUNC;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), osFlags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno == ENXIO ? CFileException::accessDenied : CauseFromErrno(errno));
    if (::fstat(fd, &info) != 0 || !IsRegular(info)) {
        ::close(fd);
        return fail(CFileException::accessDenied);
    }
    // Reads and writes of a regular file block as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_path = path;
    return true;
}

std::string CFile::NonFileKind(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || IsRegular(info))
        return {};
    if (S_ISDIR(info.st_mode))
        return "a folder";
    if (S_ISFIFO(info.st_mode))
        return "a named pipe";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return "a device";
    if (S_ISSOCK(info.st_mode))
        return "a socket";
    return "something other than a file";
}

uint32_t CFile::Read(void* buffer, uint32_t count)
{
    RequireOpen("read");
    auto* out = static_cast<char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        ssize_t got = ::read(m_fd, out + done, count - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno, "read");
        }
        if (got == 0)
            break;
        done += static_cast<uint32_t>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, uint32_t count)
{
    RequireOpen("write");
    const uint32_t allowed = FileFaults::TakeAllowance(count);
    const auto* in = static_cast<const char*>(buffer);
    uint32_t done = 0;
    while (done < allowed) {
        ssize_t put = ::write(m_fd, in + done, allowed - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno, "write");
        }
        done += static_cast<uint32_t>(put);
    }
    if (allowed < count)
        throw CFileException(CFileException::diskFull, m_path, "write");
}

uint64_t CFile::Seek(int64_t offset, SeekPosition from)
{
    RequireOpen("seek");
    int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
    off_t result = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (result < 0)
        throw CFileException(CFileException::badSeek, m_path, std::strerror(errno));
    return static_cast<uint64_t>(result);
}

uint64_t CFile::GetPosition() const
{
    RequireOpen("position");
    off_t result = ::lseek(m_fd, 0, SEEK_CUR);
    if (result < 0)
        ThrowErrno(errno, "position");
    return static_cast<uint64_t>(result);
}

uint64_t CFile::GetLength() const
{
    RequireOpen("length");
    struct stat info {};
    if (::fstat(m_fd, &info) != 0)
        ThrowErrno(errno, "length");
    return static_cast<uint64_t>(info.st_size);
}

void CFile::SetLength(uint64_t length)
{
    RequireOpen("set length");
    int result;
    do {
        result = ::ftruncate(m_fd, static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        ThrowErrno(errno, "set length");
}

void CFile::Flush()
{
    RequireOpen("flush");
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        ThrowErrno(errno, "flush");
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        ThrowErrno(errno, "close");
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

CFileException::Cause CFile::CauseFromErrno(int error)
{
    switch (error) {
    case ENOENT: return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return CFileException::badPath;
    case EMFILE:
    case ENFILE: return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return CFileException::accessDenied;
    case EBADF: return CFileException::invalidFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return CFileException::diskFull;
    case EIO: return CFileException::hardIO;
    case ESPIPE:
    case EOVERFLOW: return CFileException::badSeek;
    case EBUSY:
    case ETXTBSY: return CFileException::sharingViolation;
    default: return CFileException::genericException;
    }
}

void CFile::ThrowErrno(int error, const char* operation) const
{
    throw CFileException(CauseFromErrno(error), m_path, std::string(operation) + ": " + std::strerror(error));
}

void CFile::RequireOpen(const char* operation) const
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, m_path, std::string(operation) + " on a closed file");
}
