#include "platform/AtomicFileWriter.h"

#include "platform/TemporaryName.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a path names, with symbolic links resolved; the path itself when
// it does not exist yet.
std::string ResolvedTarget(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

std::string FolderOf(const std::string& path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& targetPath) : m_target(ResolvedTarget(targetPath))
{
    CreateTemporary();
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!m_committed)
        Discard();
}

void AtomicFileWriter::CreateTemporary()
{
    const std::string folder = FolderOf(m_target) + "/";
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate =
            folder + TemporaryNameFor(NameOf(m_target), std::to_string(random() % 1000000) + ".tmp");
        int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_temporary = candidate;
            m_file.Attach(fd, candidate);
            return;
        }
        if (errno != EEXIST)
            throw CFileException(CFile::CauseFromErrno(errno), m_target, std::strerror(errno));
    }
    throw CFileException(CFileException::genericException, m_target, "no free temporary name");
}

void AtomicFileWriter::Commit()
{
    if (m_committed)
        return;
    try {
        struct stat old {};
        if (::stat(m_target.c_str(), &old) == 0)
            ::fchmod(m_file.Descriptor(), old.st_mode & 07777);
        m_file.Flush();
        m_file.Close();
        if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
            throw CFileException(CFile::CauseFromErrno(errno), m_target, std::string("rename: ") + std::strerror(errno));
    } catch (...) {
        Discard();
        throw;
    }
    m_committed = true;
    SyncFolder(FolderOf(m_target));
}

void AtomicFileWriter::Discard()
{
    m_file.Abort();
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
