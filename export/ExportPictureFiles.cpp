#include "export/ExportPictureFiles.h"

#include "export/CWebImageDC.h"
#include "platform/CFile.h"
#include "platform/TemporaryName.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string RandomTag()
{
    static std::mt19937_64 random{std::random_device{}()};
    char text[20];
    std::snprintf(text, sizeof text, "%012llx", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return text;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The longest file name the folder takes.
std::size_t NameLimit(const std::string& folder)
{
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? std::size_t(limit) : 255;
}

} // namespace

std::string RelativeUrlOfName(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string url;
    for (unsigned char c : name) {
        if ((c < 128 && std::isalnum(c)) || c == '-' || c == '.' || c == '_' || c == '~')
            url += char(c);
        else
            url += {'%', hex[c >> 4], hex[c & 15]};
    }
    return url;
}

PictureStem PictureStemOf(const std::string& path, std::string_view usualExtension)
{
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > usualExtension.size() && name.ends_with(usualExtension))
        return {name.substr(0, name.size() - usualExtension.size()), false};
    return {name, true};
}

ExportPictureFiles::ExportPictureFiles(std::string folder, std::string stem, std::string format, int first,
                                       int64_t pixelBudget)
    : m_folder(std::move(folder)), m_stem(std::move(stem)), m_format(std::move(format)), m_next(first),
      m_nameLimit(NameLimit(m_folder)), m_budget(pixelBudget)
{}

ExportPictureFiles::~ExportPictureFiles()
{
    if (!m_finished)
        Restore();
}

std::string ExportPictureFiles::NextName(std::string_view extension)
{
    ++m_count;
    const std::string tail =
        "-" + m_format + (m_wholeName ? "-" : "") + std::to_string(m_next++) + std::string(extension);
    return FittedStem(tail.size()) + tail;
}

// A stem cut short ends in "-x" and a digest of the whole stem, so that
// long names that start alike still name their pictures apart.
std::string ExportPictureFiles::FittedStem(std::size_t tail) const
{
    if (m_stem.size() + tail <= m_nameLimit)
        return m_stem;
    const QByteArray whole = QByteArray::fromStdString(m_stem);
    const std::string digest =
        "-x" + QCryptographicHash::hash(whole, QCryptographicHash::Sha256).toHex().left(16).toStdString();
    const std::size_t room = m_nameLimit > tail + digest.size() ? m_nameLimit - tail - digest.size() : 0;
    return m_stem.substr(0, WholeCharactersWithin(m_stem, room)) + digest;
}

bool ExportPictureFiles::Admit(int64_t width, int64_t height, const std::string& name)
{
    const int64_t pixels = std::max<int64_t>(width, 1) * std::max<int64_t>(height, 1);
    if (pixels > m_budget - m_rendered) {
        m_leftOut.push_back(name);
        return false;
    }
    m_rendered += pixels;
    return true;
}

// A name nobody can have prepared: the picture's name, a random tag.
std::string ExportPictureFiles::NewTemporary(const std::string& name)
{
    m_files.push_back({m_folder + TemporaryNameFor(name, RandomTag() + ".part"), m_folder + name, {}, false});
    return m_files.back().temporary;
}

void ExportPictureFiles::NoteError(const std::string& message)
{
    if (m_error.empty())
        m_error = message;
}

bool ExportPictureFiles::SavePng(CWebImageDC& image, const std::string& name)
{
    const std::string temporary = NewTemporary(name);
    if (image.WritePNGFile(temporary, true, false, RGB(255, 255, 255)))
        return true;
    m_files.pop_back();
    NoteError("The picture " + name + " could not be written: " + image.LastMessage());
    return false;
}

bool ExportPictureFiles::SaveBytes(std::string_view bytes, const std::string& name)
{
    const std::string temporary = NewTemporary(name);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    std::string why = fd < 0 ? std::strerror(errno) : "";
    if (fd >= 0) {
        CFile file;
        file.Attach(fd, m_folder + name);
        try {
            file.Write(bytes.data(), uint32_t(bytes.size()));
            file.Close();
            return true;
        } catch (const CFileException& e) {
            why = e.Reason();
        }
        file.Abort();
        ::unlink(temporary.c_str());
    }
    m_files.pop_back();
    NoteError("The picture " + name + " could not be written: " + why);
    return false;
}

bool ExportPictureFiles::Place()
{
    for (File& file : m_files) {
        // The earlier file is kept under a second name until the page is in
        // place: a second link, so that renaming over it replaces it in one
        // step, or, where the folder takes no links, the file moved aside.
        // A folder under the name is never moved.
        if (Exists(file.final)) {
            const std::string kept =
                m_folder + TemporaryNameFor(file.final.substr(m_folder.size()), RandomTag() + ".kept");
            if (::linkat(AT_FDCWD, file.final.c_str(), AT_FDCWD, kept.c_str(), 0) != 0 &&
                (IsFolder(file.final) || std::rename(file.final.c_str(), kept.c_str()) != 0)) {
                NoteError("The picture " + file.final + " could not be replaced: " + std::strerror(errno));
                Restore();
                return false;
            }
            file.kept = kept;
        }
        if (std::rename(file.temporary.c_str(), file.final.c_str()) != 0) {
            NoteError("The picture " + file.final + " could not be given its name: " + std::strerror(errno));
            Restore();
            return false;
        }
        file.placed = true;
    }
    return true;
}

void ExportPictureFiles::Finish()
{
    for (File& file : m_files) {
        if (!file.kept.empty())
            ::unlink(file.kept.c_str());
        file.kept.clear();
    }
    m_finished = true;
}

void ExportPictureFiles::Restore()
{
    for (File& file : m_files) {
        if (file.placed && file.kept.empty())
            ::unlink(file.final.c_str());
        if (!file.placed)
            ::unlink(file.temporary.c_str());
        // The kept file goes back under its name, unless a link of it is
        // still there.
        if (!file.kept.empty() && (file.placed || !Exists(file.final)))
            std::rename(file.kept.c_str(), file.final.c_str());
        else if (!file.kept.empty())
            ::unlink(file.kept.c_str());
    }
    m_files.clear();
}

std::string ExportPictureFiles::LeftOutMessage() const
{
    if (m_leftOut.empty())
        return {};
    std::string names;
    for (std::size_t i = 0; i < m_leftOut.size(); ++i) {
        if (i > 0)
            names += i + 1 == m_leftOut.size() ? " and " : ", ";
        names += m_leftOut[i];
    }
    const bool one = m_leftOut.size() == 1;
    return std::string(one ? "The picture " : "The pictures ") + names + (one ? " was" : " were") +
        " left out: an export renders at most " + std::to_string(m_budget >> 20) + " million pixels of pictures.";
}

std::vector<std::string> ExportPictureFiles::PlacedPaths() const
{
    std::vector<std::string> paths;
    for (const File& file : m_files)
        paths.push_back(file.final);
    return paths;
}
