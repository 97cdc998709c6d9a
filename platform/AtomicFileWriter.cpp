#include "platform/AtomicFileWriter.h"

#include "platform/FileFaults.h"
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

// Only a regular file is ever replaced: a folder, a pipe or a device of the
// name is left as it is, and the user is told what has the name.
void RequireRegularOrAbsent(const std::string& path)
{
    const std::string kind = CFile::NonFileKind(path);
    if (!kind.empty())
        throw CFileException::Explained(CFileException::accessDenied, path,
                                        "That name belongs to " + kind + ", not to a file, and it was left as it was");
}

// The folder, not the file, stops the writing: it is gone (moved or deleted
// since it was chosen) or takes no new file. Empty for other errors.
std::string FolderFault(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return " does not exist (it may have been moved or deleted)";
    case EROFS: return " is on a disk that cannot be written";
    case EACCES:
    case EPERM: return " does not let new files be made in it";
    default: return {};
    }
}

CFileException FolderRefusal(int error, const std::string& target, const std::string& folder)
{
    return CFileException::Explained(CFile::CauseFromErrno(error), target,
                                     "The folder \"" + folder + "\"" + FolderFault(error) + "; choose another folder");
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

AtomicFileWriter::AtomicFileWriter(const std::string& targetPath)
    : m_target(ResolvedTarget(targetPath)), m_chosen(targetPath)
{
    RequireRegularOrAbsent(m_target);
    CreateTemporary();
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!m_committed)
        Discard();
}

void AtomicFileWriter::CreateTemporary()
{
    const std::string folder = FolderOf(m_target);
    const bool denied = FileFaults::DeniesNewFilesIn(folder);
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate =
            folder + "/" + TemporaryNameFor(NameOf(m_target), std::to_string(random() % 1000000) + ".tmp");
        int fd = denied ? -1 : ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // The temporary is hidden: what goes wrong while it is written is
            // told of the file the user chose.
            m_temporary = candidate;
            m_file.Attach(fd, m_chosen);
            return;
        }
        const int error = denied ? EACCES : errno;
        if (!FolderFault(error).empty())
            throw FolderRefusal(error, m_target, folder);
        if (error != EEXIST)
            throw CFileException(CFile::CauseFromErrno(error), m_target, std::strerror(error));
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
        // Something else may have taken the name while the file was written.
        RequireRegularOrAbsent(m_target);
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
