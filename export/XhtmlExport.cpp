#include "export/XhtmlExport.h"

#include "drawing/DiagramComp.h"
#include "export/ExportFailure.h"
#include "export/ExportPictureFiles.h"
#include "export/HtmlExport.h"
#include "export/PageFileStream.h"
#include "export/RowRuns.h"
#include "export/XhtmlWriter.h"
#include "foundation/ByteStream.h"
#include "foundation/CompList.h"
#include "foundation/CountingStream.h"
#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/ParagraphList.h"
#include "foundation/TCopyAsActions.h"
#include "kernel/MathParser.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Exceptions.h"

#include <memory>
#include <new>
#include <string_view>
#include <utility>

namespace {

// Collects what a pass writes.
class StringStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

// Clipboard text stands alone, without the page's document type that names
// the MathML entities: they are written as character references instead, in
// one pass over the text (a long formula holds hundreds of thousands).
std::string WithoutNamedEntities(const std::string& text)
{
    static const std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&int;", "&#x222B;"},           {"&PlusMinus;", "&#xB1;"},       {"&InvisibleTimes;", "&#x2062;"},
        {"&ImaginaryI;", "&#x2148;"},    {"&ExponentialE;", "&#x2147;"},  {"&ApplyFunction;", "&#x2061;"},
        {"&nbsp;", "&#xA0;"},
    };
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 1)) {
        const std::string_view rest = std::string_view(text).substr(at);
        for (const auto& [name, reference] : kEntities)
            if (rest.substr(0, name.size()) == name) {
                out.append(text, done, at - done).append(reference);
                done = at + name.size();
                break;
            }
    }
    out.append(text, done);
    return out;
}

} // namespace

XhtmlExportResult WriteXhtmlExport(const ParagraphList& paragraphs, const std::string& path, const std::string& title,
                                   bool writeBadRows)
{
    XhtmlExportResult result;
    const PictureStem stem = PictureStemOf(path, ".xml");
    const std::string& baseName = stem.stem;
    {
        CountingStream counter;
        XhtmlWriter measure(counter, title, baseName, nullptr);
        paragraphs.WriteMathML(measure);
        if (measure.HasParseError()) {
            result.badRow = measure.GetErrorRow();
            result.badFirst = measure.GetErrorFirst();
            result.badLast = measure.GetErrorLast();
            result.badFormulas = measure.GetErrors();
            if (!writeBadRows)
                return result;
        }
    }
    ExportPictureFiles pictures(ExportFolderOf(path), baseName, "xhtml");
    pictures.MarkWholeName(stem.wholeName);
    try {
        AtomicFileWriter file(path);
        PageFileStream stream(file);
        {
            XhtmlWriter writer(stream, title, baseName, &pictures);
            paragraphs.WriteMathML(writer);
            writer.Flush();
        }
        stream.Flush();
        if (!pictures.Error().empty()) {
            result.message = "A picture could not be saved: " + pictures.Error();
            return result;
        }
        if (!pictures.Place()) {
            result.message = pictures.Error();
            return result;
        }
        file.Commit();
        pictures.Finish();
    } catch (const CException& e) {
        result.message = ExportFailureText(e, path);
        return result;
    } catch (const std::bad_alloc&) {
        result.message = CMemoryException().what();
        return result;
    }
    result.ok = true;
    result.pictures = pictures.PlacedPaths();
    result.notice = pictures.LeftOutMessage();
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

// The place a row stands in: a text paragraph's row is text with formulas
// in it, any other row mathematics.
int OuterStyleOf(const CompList& row)
{
    const auto* paragraph = dynamic_cast<const ParagraphComp*>(row.GetOwner());
    const ParagraphStyle* style = paragraph && paragraph->GetRow() == &row ? paragraph->GetStyle() : nullptr;
    return style && style->GetFontId() != FontId::kMath ? RowRuns::kPlain : RowRuns::kMath;
}

// The MathML of components [first, end) of a row, divided as the page
// divides it: a formula (blanks alone an empty one), or text with formulas
// and drawings in it. Nothing when a formula does not read, rather than a
// formula of the parser's error.
std::string MathMLOfRange(CompList& row, int first, int end)
{
    StringStream text;
    {
        XhtmlWriter writer(text);
        writer.StartElement("math", true);
        writer.WriteAttribute("xmlns", XhtmlWriter::kMathMLNamespace);
        writer.EndPendingTag(true);
        const std::vector<RowRuns::Run> runs = RowRuns::Split(row, first, end, OuterStyleOf(row));
        if (RowRuns::IsOneFormula(runs))
            writer.WriteMathRange(row, first, end - 1);
        else
            writer.WriteMathOfRuns(row, runs);
        writer.Close("math");
        if (writer.HasParseError())
            return {};
        writer.Flush();
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
        writer.Flush();
    }
    return WithoutNamedEntities(text.text);
}

void InstallCopyWriters()
{
    TCopyMathMLAction::SetWriter(&MathMLOfSelection);
    TCopySVGAction::SetWriter(&SvgOfSelection);
}
