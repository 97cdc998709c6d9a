#include "export/XhtmlExport.h"

#include "drawing/DiagramComp.h"
#include "export/XhtmlWriter.h"
#include "foundation/ByteStream.h"
#include "foundation/CompList.h"
#include "foundation/CountingStream.h"
#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphList.h"
#include "foundation/TCopyAsActions.h"
#include "kernel/MathParser.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>

namespace {

// Collects what a pass writes.
class StringStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

// A file written through the C library; the first failure is kept.
class CheckedFileStream : public ByteStream {
public:
    explicit CheckedFileStream(const std::string& path) : m_file(std::fopen(path.c_str(), "wb"))
    {
        if (!m_file)
            m_error = std::strerror(errno);
    }
    ~CheckedFileStream() override
    {
        if (m_file)
            std::fclose(m_file);
    }
    void Write(const void* buf, int32_t n) override
    {
        if (m_file && m_error.empty() && n > 0 && std::fwrite(buf, 1, std::size_t(n), m_file) != std::size_t(n))
            m_error = std::strerror(errno);
        m_length += n;
    }
    int32_t GetLength() override { return m_length; }
    bool IsOpen() const { return m_file != nullptr; }
    // Closes the file; answers the first failure (empty when none).
    std::string Close()
    {
        if (m_file) {
            if (std::fflush(m_file) != 0 && m_error.empty())
                m_error = std::strerror(errno);
            if (std::fclose(m_file) != 0 && m_error.empty())
                m_error = std::strerror(errno);
            m_file = nullptr;
        }
        return m_error;
    }

private:
    std::FILE* m_file;
    std::string m_error;
    int32_t m_length = 0;
};

// Clipboard text stands alone, without the page's document type that names
// the MathML entities: they are written as character references instead.
std::string WithoutNamedEntities(std::string text)
{
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&int;", "&#x222B;"},           {"&PlusMinus;", "&#xB1;"},       {"&InvisibleTimes;", "&#x2062;"},
        {"&ImaginaryI;", "&#x2148;"},    {"&ExponentialE;", "&#x2147;"},  {"&ApplyFunction;", "&#x2061;"},
        {"&nbsp;", "&#xA0;"},
    };
    for (const auto& [name, reference] : kEntities) {
        const std::string from = name;
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
            text.replace(at, from.size(), reference);
    }
    return text;
}

std::string FolderOf(const std::filesystem::path& path)
{
    const std::string folder = path.parent_path().string();
    return folder.empty() ? std::string() : folder + "/";
}

} // namespace

XhtmlExportResult WriteXhtmlExport(const ParagraphList& paragraphs, const std::string& writePath,
                                   const std::string& finalPath, const std::string& title, bool writeBadRows)
{
    XhtmlExportResult result;
    const std::filesystem::path final(finalPath);
    const std::string baseName = final.stem().string();
    const std::string folder = FolderOf(final);
    {
        CountingStream counter;
        XhtmlWriter measure(counter, title, baseName, folder, false);
        paragraphs.WriteMathML(measure);
        if (measure.HasParseError()) {
            result.badRow = measure.GetErrorRow();
            result.badFirst = measure.GetErrorFirst();
            result.badLast = measure.GetErrorLast();
            if (!writeBadRows)
                return result;
        }
    }
    CheckedFileStream file(writePath);
    if (!file.IsOpen()) {
        result.message = "The file " + writePath + " could not be written: " + file.Close();
        return result;
    }
    std::string error;
    {
        XhtmlWriter writer(file, title, baseName, folder, true);
        paragraphs.WriteMathML(writer);
        writer.Flush();
        result.pictures = writer.GetSavedPictures();
        if (!writer.GetPictureError().empty())
            error = "A picture could not be saved: " + writer.GetPictureError();
    }
    const std::string fileError = file.Close();
    if (!fileError.empty())
        error = "The file " + writePath + " could not be written: " + fileError;
    result.ok = error.empty();
    result.message = error;
    // A failed export leaves no pictures behind.
    if (!result.ok) {
        for (const std::string& picture : result.pictures) {
            std::error_code ignored;
            std::filesystem::remove(picture, ignored);
        }
        result.pictures.clear();
    }
    return result;
}

std::string MathMLOfRow(CompList& row)
{
    StringStream text;
    {
        XhtmlWriter writer(text);
        writer.StartMath(row);
    }
    return WithoutNamedEntities(text.text);
}

namespace {

// The MathML of components [first, end) of a row.
std::string MathMLOfRange(CompList& row, int first, int end)
{
    StringStream text;
    {
        XhtmlWriter writer(text);
        writer.StartElement("math", true);
        writer.WriteAttribute("xmlns", XhtmlWriter::kMathMLNamespace);
        writer.EndPendingTag(true);
        gSyntaxError = false;
        std::unique_ptr<ExprNode> node(MathParser(row, first, end).Parse());
        if (node)
            node->WriteMathML(writer);
        writer.Close("math");
    }
    return WithoutNamedEntities(text.text);
}

} // namespace

std::string MathMLOfSelection(const DocSelection& selection)
{
    const DocPosition& first = selection.First();
    const DocPosition& second = selection.Second();
    CompList* row = first.GetList();
    if (first.GetKind() == DocPosition::kWholeObject || !row || row != second.GetList())
        return {};
    const int from = first.GetIndex();
    const int end = second.GetIndex();
    if (from < 1 || end <= from || end - 1 > row->GetCount())
        return {};
    return MathMLOfRange(*row, from, end);
}

std::string SvgOfSelection(const DocSelection& selection)
{
    TextComp* single = selection.GetSingleObject();
    auto* drawing = dynamic_cast<DiagramComp*>(single);
    if (!drawing)
        return {};
    StringStream text;
    {
        XhtmlWriter writer(text);
        drawing->WriteSVG(writer);
    }
    return WithoutNamedEntities(text.text);
}

void InstallCopyWriters()
{
    TCopyMathMLAction::SetWriter(&MathMLOfSelection);
    TCopySVGAction::SetWriter(&SvgOfSelection);
}
