#include "export/LaTeXExport.h"

#include "export/LaTeXFileWriter.h"
#include "export/StringByteStream.h"
#include "export/TechExplorerWriter.h"

#include "foundation/ParagraphList.h"

#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace {

ExportOutcome SaveText(const std::string& path, const std::string& text)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return {false, "The file " + path + " could not be created: " + file.errorString().toStdString()};
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.commit())
        return {false, "The file " + path + " could not be written: " + file.errorString().toStdString()};
    return {true, {}};
}

}  // namespace

ExportOutcome ExportLaTeXFile(const ParagraphList& list, const std::string& path, bool techExplorer)
{
    const QFileInfo info(QString::fromStdString(path));
    const std::string folder = info.absolutePath().toStdString() + "/";
    const std::string base = info.completeBaseName().toStdString();
    StringByteStream text;
    std::unique_ptr<LaTeXFileWriter> writer = techExplorer
                                                  ? std::make_unique<TechExplorerWriter>(text, folder, base)
                                                  : std::make_unique<LaTeXFileWriter>(text, folder, base);
    list.WriteLaTeX(*writer);
    ExportOutcome outcome = SaveText(path, text.Text());
    if (outcome.written && !writer->PicturesWritten())
        outcome.message = writer->PictureError();
    return outcome;
}

ExportOutcome ExportNotebookFile(const ParagraphList& list, const std::string& path,
                                 NotebookFileWriter::BoxText boxText, NotebookFileWriter::ParseFailure* parseFailure)
{
    StringByteStream text;
    NotebookFileWriter writer(text, std::move(boxText));
    list.WriteNotebook(writer);
    if (parseFailure) {
        *parseFailure = writer.FirstParseFailure();
        if (parseFailure->row)
            return {false, {}};
    }
    return SaveText(path, text.Text());
}
