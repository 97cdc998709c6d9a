#include "export/HtmlExport.h"

#include "export/HTMLExportWriter.h"
#include "foundation/ByteStream.h"
#include "foundation/ParagraphList.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include <unistd.h>


namespace {

// The page's bytes go into the temporary file in blocks of 64 KB.
class TemporaryFileStream : public ByteStream {
public:
    static constexpr std::size_t kBlock = 64 * 1024;
    explicit TemporaryFileStream(AtomicFileWriter& file) : m_file(file) { m_block.reserve(kBlock); }
    void Write(const void* buf, int32_t n) override
    {
        if (n <= 0)
            return;
        const char* bytes = static_cast<const char*>(buf);
        m_block.insert(m_block.end(), bytes, bytes + n);
        m_length += n;
        if (m_block.size() >= kBlock)
            Flush();
    }
    void Flush() override
    {
        if (!m_block.empty())
            m_file.Write(m_block.data(), uint32_t(m_block.size()));
        m_block.clear();
    }
    int32_t GetPosition() override { return m_length; }
    int32_t GetLength() override { return m_length; }

private:
    AtomicFileWriter& m_file;
    std::vector<char> m_block;
    int32_t m_length = 0;
};

int16_t ClampWidth(int width)
{
    return int16_t(std::clamp(width, 0, int(std::numeric_limits<int16_t>::max())));
}

void RemovePictures(const std::vector<HTMLExportWriter::PictureFile>& pictures)
{
    for (const HTMLExportWriter::PictureFile& picture : pictures)
        std::remove(picture.temporaryPath.c_str());
}

// Moves every picture to its name; on a failure the pictures already moved
// are taken away again, as the page that names them is not written.
void PlacePictures(const std::vector<HTMLExportWriter::PictureFile>& pictures)
{
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        // A picture of an earlier export goes first: renaming over it would
        // make the file system write the new one out at once.
        ::unlink(pictures[i].finalPath.c_str());
        if (std::rename(pictures[i].temporaryPath.c_str(), pictures[i].finalPath.c_str()) != 0) {
            std::string why = std::strerror(errno);
            for (std::size_t j = 0; j < i; ++j)
                std::remove(pictures[j].finalPath.c_str());
            throw CFileException(CFileException::genericException, pictures[i].finalPath,
                                 "the picture could not be given its name: " + why);
        }
    }
}

}  // namespace

std::string ExportFolderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExportFileTitleOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

HtmlExportResult WriteHtmlExport(const ParagraphList& paragraphs, const HtmlExportSettings& settings)
{
    HtmlExportResult result;
    std::vector<HTMLExportWriter::PictureFile> pictures;
    try {
        AtomicFileWriter file(settings.path);
        TemporaryFileStream stream(file);
        HTMLExportWriter writer(stream, settings.title, ExportFileTitleOf(settings.path),
                                ExportFolderOf(settings.path), ClampWidth(settings.firstCellWidth),
                                ClampWidth(settings.secondCellWidth));
        try {
            paragraphs.WriteHTML(writer);
        } catch (...) {
            pictures = writer.Pictures();
            throw;
        }
        stream.Flush();
        pictures = writer.Pictures();
        PlacePictures(pictures);
        pictures.clear();
        try {
            file.Commit();
        } catch (...) {
            for (const HTMLExportWriter::PictureFile& picture : writer.Pictures())
                std::remove(picture.finalPath.c_str());
            throw;
        }
        result.pictureCount = int(writer.Pictures().size());
    } catch (const CException& e) {
        RemovePictures(pictures);
        result.ok = false;
        result.message = e.what();
    } catch (const std::bad_alloc&) {
        RemovePictures(pictures);
        result.ok = false;
        result.message = CMemoryException().what();
    }
    return result;
}
