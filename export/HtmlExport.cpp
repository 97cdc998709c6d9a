#include "export/HtmlExport.h"

#include "export/ExportFailure.h"
#include "export/HTMLExportWriter.h"
#include "export/PageFileStream.h"
#include "foundation/ByteStream.h"
#include "foundation/ParagraphList.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

int16_t ClampWidth(int width)
{
    return int16_t(std::clamp(width, 0, int(std::numeric_limits<int16_t>::max())));
}

}  // namespace

std::string ExportFolderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

HtmlExportResult WriteHtmlExport(const ParagraphList& paragraphs, const HtmlExportSettings& settings)
{
    HtmlExportResult result;
    try {
        AtomicFileWriter file(settings.path);
        PageFileStream stream(file);
        const PictureStem stem = PictureStemOf(settings.path, ".htm");
        HTMLExportWriter writer(stream, settings.title, stem.stem, ExportFolderOf(settings.path),
                                ClampWidth(settings.firstCellWidth), ClampWidth(settings.secondCellWidth));
        writer.Pictures().MarkWholeName(stem.wholeName);
        paragraphs.WriteHTML(writer);
        stream.Flush();
        // The pictures take their names before the page, which names them;
        // should the page fail, the writer's pictures put back what they
        // replaced.
        if (!writer.Pictures().Place())
            throw CFileException::Explained(CFileException::genericException, settings.path, writer.Pictures().Error());
        file.Commit();
        writer.Pictures().Finish();
        result.pictureCount = int(writer.Pictures().PlacedPaths().size());
        result.notice = writer.Pictures().LeftOutMessage();
    } catch (const CException& e) {
        result.ok = false;
        result.message = ExportFailureText(e, settings.path);
    } catch (const std::bad_alloc&) {
        result.ok = false;
        result.message = CMemoryException().what();
    }
    return result;
}
