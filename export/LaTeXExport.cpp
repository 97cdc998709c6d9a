#include "export/LaTeXExport.h"

#include "export/ExportFailure.h"
#include "export/LaTeXFileWriter.h"
#include "export/StringByteStream.h"
#include "export/TechExplorerWriter.h"

#include "foundation/ParagraphList.h"

#include "platform/AtomicFileWriter.h"
#include "platform/Exceptions.h"

#include <QFileInfo>

#include <memory>

namespace {

// Replaces the file at path with the text in one step; a temporary beside it
// is created new, never through a link.
ExportOutcome SaveText(const std::string& path, const std::string& text, ExportPictureFiles* pictures = nullptr)
{
    try {
        AtomicFileWriter file(path);
        file.Write(text.data(), static_cast<uint32_t>(text.size()));
        if (pictures && !pictures->Place())
            return {false, pictures->Error()};
        file.Commit();
        if (pictures)
            pictures->Finish();
    } catch (const CException& e) {
        return {false, ExportFailureText(e, path)};
    }
    return {true, {}};
}

}  // namespace

// The source and its pictures are written whole or not at all: a picture
// that cannot be written stops the export before the source is placed, and
// the pictures of a failed export are removed.
ExportOutcome ExportLaTeXFile(const ParagraphList& list, const std::string& path, bool techExplorer)
{
    const QFileInfo info(QString::fromStdString(path));
    const std::string folder = info.absolutePath().toStdString() + "/";
    const PictureStem stem = PictureStemOf(path, techExplorer ? ".tcx" : ".tex");
    StringByteStream text;
    std::unique_ptr<LaTeXFileWriter> writer = techExplorer
        ? std::make_unique<TechExplorerWriter>(text, folder, stem.stem)
        : std::make_unique<LaTeXFileWriter>(text, folder, stem.stem);
    writer->Pictures().MarkWholeName(stem.wholeName);
    list.WriteLaTeX(*writer);
    ExportPictureFiles& pictures = writer->Pictures();
    if (!pictures.Error().empty())
        return {false, pictures.Error()};
    ExportOutcome outcome = SaveText(path, text.Text(), &pictures);
    if (outcome.written)
        outcome.message = pictures.LeftOutMessage();
    return outcome;
}

ExportOutcome ExportNotebookFile(const ParagraphList& list, const std::string& path,
                                 NotebookFileWriter::BoxText boxText, std::vector<BadFormula>* parseFailures,
                                 const std::function<bool()>& stopped)
{
    StringByteStream text;
    NotebookFileWriter writer(text, std::move(boxText));
    list.WriteNotebook(writer);
    if (stopped && stopped())
        return {false, {}};
    if (parseFailures) {
        *parseFailures = writer.ParseFailures();
        if (!parseFailures->empty())
            return {false, {}};
    }
    return SaveText(path, text.Text());
}
