#include "export/XhtmlWriter.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawValueComp.h"
#include "export/CWebImageDC.h"
#include "export/ExportPictureFiles.h"
#include "export/ItemNumber.h"
#include "export/MathRunText.h"
#include "export/RowRuns.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/FontIds.h"
#include "foundation/StyleKinds.h"
#include "foundation/IntPoint.h"
#include "foundation/LongWork.h"
#include "foundation/Rect.h"
#include "foundation/Str255.h"
#include "foundation/TextComp.h"
#include "kernel/MathParser.h"
#include "math/CrossRefComp.h"
#include "math/HyperlinkComp.h"
#include "math/PictureComp.h"
#include "math/TableComp.h"
#include "platform/draw/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr int kRunText = 0;
constexpr int kRunItalic = 1;
constexpr int kRunBold = 2;
constexpr int kRunMath = 3;
constexpr int kRunCode = 4;

// A blank at this column or later ends the output line.
constexpr int kLineColumn = 81;
// The text buffer is written out before it would overflow.
constexpr int kBufferLimit = 254;

bool IsCharacter(const TextComp& comp)
{
    return comp.Tag() == tag_Char;
}

// The text a reference or a value display shows.
Str255 ShownText(TextComp& comp)
{
    if (comp.Tag() == tag_Ref)
        return static_cast<CrossRefComp&>(comp).GetTextString();
    return static_cast<DrawValueComp&>(comp).GetText();
}

// The characters components [first, end) show, links by their text.
std::u32string ShownText(CompList& row, int first, int end)
{
    std::u32string text;
    const auto append = [&text](const Str255& shown) {
        for (int i = 0; i < shown.GetLength(); ++i)
            text += TextCodec::ToUnicode(static_cast<unsigned char>(shown.GetAt(i)), ANSI_CHARSET);
    };
    for (int i = first; i < end; ++i) {
        TextComp& comp = *row.GetAt(i);
        const TypeTag tag = comp.Tag();
        if (tag == tag_Ref || tag == tag_VDsp)
            append(ShownText(comp));
        else if (tag == tag_Link)
            append(static_cast<HyperlinkComp&>(comp).GetDisplayText());
        else if (tag == tag_Char)
            text += MathRunText::Shown(comp);
    }
    return text;
}

} // namespace

XhtmlWriter::XhtmlWriter(ByteStream& stream, const std::string& title, const std::string& baseName,
                         ExportPictureFiles* pictures)
    : XMLCoreWriter(stream), m_prefixSvg(true), m_baseName(baseName), m_title(title), m_pictureFiles(pictures)
{
    gSyntaxError = false;
}

XhtmlWriter::XhtmlWriter(ByteStream& stream) : XMLCoreWriter(stream), m_baseName("Clipboard")
{
    gSyntaxError = false;
}

// ---- elements ----

std::string XhtmlWriter::Qualified(const char* name) const
{
    static const char* const kSvgNames[] = {"svg", "circle", "line", "path", "polygon", "polyline",
                                            "text", "tspan", "foreignObject", "g"};
    if (m_prefixSvg)
        for (const char* svgName : kSvgNames)
            if (std::strcmp(name, svgName) == 0)
                return std::string("svg:") + name;
    return name;
}

void XhtmlWriter::StartElement(const char* name, bool indent)
{
    XMLCoreWriter::StartElement(Qualified(name).c_str(), indent);
}

void XhtmlWriter::StartEmptyElement(const char* name)
{
    XMLCoreWriter::StartEmptyElement(Qualified(name).c_str());
}

void XhtmlWriter::WriteStartTag(const char* name, bool indent)
{
    XMLCoreWriter::WriteStartTag(Qualified(name).c_str(), indent);
}

void XhtmlWriter::EndElement(const char* name, bool indent)
{
    XMLCoreWriter::EndElement(Qualified(name).c_str(), indent);
    // Writing a long formula is a step of the long work under way (a copy
    // as MathML): each element written counts.
    LongWork::Step();
}

void XhtmlWriter::WriteAttribute(const char* name, const char* value)
{
    const bool svgNamespace = m_prefixSvg && std::strcmp(name, "xmlns") == 0 && value &&
                              std::strcmp(value, kSvgNamespace) == 0;
    XMLCoreWriter::WriteAttribute(svgNamespace ? "xmlns:svg" : name, value);
}

// ---- the page ----

void XhtmlWriter::WriteProlog()
{
    WriteString("<?xml version=\"1.0\"?>\n");
    WriteString("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1 plus MathML 2.0 plus SVG 1.1//EN\" "
                "\"http://www.w3.org/2002/04/xhtml-math-svg/xhtml-math-svg.dtd\">\n");
    WriteString("<html xmlns=\"");
    WriteString(kXhtmlNamespace);
    WriteString("\">\n");
    WriteString("<head>\n<title>");
    WriteUtf8Text(m_title);
    WriteString("</title>\n");
    WriteString("<style type=\"text/css\">\n");
    WriteString("p.eqn {text-align: center}\n");
    WriteString("table.eqn, table.picture {margin-left: auto; margin-right: auto}\n");
    WriteString("table.numbered {width: 100%}\n");
    WriteString("a:link {color: #0000ff}\n");
    WriteString("</style>\n");
    WriteString("<style type=\"text/css\">\n");
    WriteString("h1.title {text-align: center}\n");
    WriteString("</style>\n");
    WriteString("</head>\n");
    WriteString("<body style=\"background-color: #ffffff; color: #000000\">\n");
}

void XhtmlWriter::WriteTail()
{
    CloseOpenBlocks();
    Close("body");
    NewLine();
    Close("html");
    Flush();
}

// ---- open blocks ----

void XhtmlWriter::CloseItem(ListLevel level)
{
    if (m_lists[level].itemOpen) {
        Close("li");
        m_lists[level].itemOpen = false;
    }
}

void XhtmlWriter::CloseList(ListLevel level)
{
    if (!m_lists[level].name)
        return;
    CloseItem(level);
    Close(m_lists[level].name);
    NewLine();
    m_lists[level].name = nullptr;
}

void XhtmlWriter::CloseSubLists()
{
    CloseList(kSecond);
}

void XhtmlWriter::CloseLists()
{
    CloseSubLists();
    CloseList(kFirst);
}

void XhtmlWriter::ClosePre()
{
    if (m_preOpen) {
        Close("pre");
        m_preOpen = false;
    }
}

void XhtmlWriter::CloseOpenBlocks()
{
    CloseLists();
    ClosePre();
}

// A picture, plot or drawing alone in a list's item stands in the item, so
// that the list counts it as the screen does; alone in an Equation paragraph
// it stands in the open item as an equation does, and the list counts on.
void XhtmlWriter::StartObject(CompList& row, int styleKind)
{
    switch (styleKind) {
    case StyleKind::kNumbered: StartItem(kFirst, "ol"); break;
    case StyleKind::kItemized: StartItem(kFirst, "ul"); break;
    case StyleKind::kSubEnumerated: StartItem(kSecond, "ol", ItemNumber(row)); break;
    case StyleKind::kSubItemized: StartItem(kSecond, "ul"); break;
    case StyleKind::kEquation: ClosePre(); break;
    default: CloseOpenBlocks(); break;
    }
}

// An item stays open until the next item or the end of its list, so that a
// sub-list, or an equation between it and the next item, is written inside it.
// A sub-item shows the screen's number ("2.1."), which a page's list has no
// marker for: its list shows none and the number starts the item's text.
void XhtmlWriter::StartItem(ListLevel level, const char* name, const std::string& number)
{
    ListState& list = m_lists[level];
    if (list.name && std::string(list.name) != name)
        CloseList(level);
    if (!list.name) {
        ClosePre();
        if (level == kFirst)
            CloseLists();
        list.name = name;
        if (number.empty())
            Open(name);
        else
            OpenWithAttribute(name, "style", "list-style-type: none");
    } else {
        if (level == kFirst)
            CloseSubLists();
        CloseItem(level);
    }
    Open("li");
    list.itemOpen = true;
    if (!number.empty()) {
        WriteIndent();
        WriteEscapedText(Str255((number + " ").c_str()));
    }
}

void XhtmlWriter::OpenWithAttribute(const char* name, const char* attribute, const char* value)
{
    StartElement(name, true);
    WriteAttribute(attribute, value);
    EndPendingTag(true);
}

void XhtmlWriter::OpenMath()
{
    OpenWithAttribute("math", "xmlns", kMathMLNamespace);
}

// ---- the paragraph styles ----

void XhtmlWriter::WriteTitle(CompList& row)
{
    CloseOpenBlocks();
    WriteIndent();
    StartElement("h1", false);
    WriteAttribute("class", "title");
    EndPendingTag(false);
    WriteRuns(row, kRunBold);
    EndElement("h1", false);
    NewLine();
    NewLine();
}

void XhtmlWriter::WriteHeading2(CompList& row)
{
    CloseOpenBlocks();
    WriteIndent();
    WriteStartTag("h2", false);
    WriteRuns(row, kRunBold);
    EndElement("h2", false);
    NewLine();
    NewLine();
}

void XhtmlWriter::WriteHeading3(CompList& row)
{
    CloseOpenBlocks();
    WriteIndent();
    WriteStartTag("h3", false);
    WriteRuns(row, kRunBold);
    EndElement("h3", false);
    NewLine();
    NewLine();
}

void XhtmlWriter::WriteParagraph(CompList& row)
{
    CloseOpenBlocks();
    Open("p");
    WriteRuns(row, kRunText);
    NewLine();
    Close("p");
    NewLine();
}

void XhtmlWriter::WriteEnumeratedItem(CompList& row)
{
    StartItem(kFirst, "ol");
    WriteRuns(row, kRunText);
    NewLine();
}

void XhtmlWriter::WriteItemizedItem(CompList& row)
{
    StartItem(kFirst, "ul");
    WriteRuns(row, kRunText);
    NewLine();
}

void XhtmlWriter::WriteSubEnumeratedItem(CompList& row)
{
    StartItem(kSecond, "ol", ItemNumber(row));
    WriteRuns(row, kRunText);
    NewLine();
}

void XhtmlWriter::WriteSubItemizedItem(CompList& row)
{
    StartItem(kSecond, "ul");
    WriteRuns(row, kRunText);
    NewLine();
}

void XhtmlWriter::WritePlainEquation(CompList& row)
{
    ClosePre();
    OpenWithAttribute("p", "class", "eqn");
    WriteEquationRow(row);
    Close("p");
    NewLine();
}

// An equation is one formula; one that holds links, references or values
// is a sentence, its text written as text and its formulas as formulas.
void XhtmlWriter::WriteEquationRow(CompList& row)
{
    const std::vector<RowRuns::Run> runs = RowRuns::Split(row, RowRuns::kMath);
    if (RowRuns::IsOneFormula(runs)) {
        OpenMath();
        WriteMathRow(row);
        Close("math");
        return;
    }
    WriteIndent();
    WriteRuns(row, runs, kRunText);
    NewLine();
}

// A table of three cells: an empty margin, the centred formula and the
// label, after the open lists (the screen counts items from 1 again after
// a numbered equation).
void XhtmlWriter::WriteNumberedEquation(CompList& row, const Str255& labelText)
{
    CloseOpenBlocks();
    OpenWithAttribute("table", "class", "numbered");
    Open("tr");
    OpenWithAttribute("td", "style", "width: 10%");
    Open("p");
    WriteIndent();
    WriteEntity("nbsp");
    NewLine();
    Close("p");
    Close("td");
    OpenWithAttribute("td", "style", "width: 80%");
    OpenWithAttribute("p", "class", "eqn");
    WriteEquationRow(row);
    Close("p");
    Close("td");
    OpenWithAttribute("td", "style", "width: 10%");
    Open("p");
    WriteIndent();
    WriteEscapedText(labelText);
    NewLine();
    Close("p");
    Close("td");
    Close("tr");
    Close("table");
    NewLine();
}

// Consecutive source paragraphs share one block.
void XhtmlWriter::WriteSourceCode(CompList& row)
{
    if (!m_preOpen) {
        CloseOpenBlocks();
        m_preOpen = true;
        // The block's text starts right after the tag: a line feed there
        // would be dropped by the reader anyway, an indent would not.
        WriteIndent();
        WriteString("<pre>");
        Indent();
    }
    WriteRuns(row, kRunCode);
    NewLine();
}

// ---- math ----

// The range shown selected leaves out the blanks around the formula; a
// formula read again is named once.
void XhtmlWriter::RecordError(const CompList& row, int first, int last)
{
    const auto [from, end] = MathRunText::WithoutOuterBlanks(row, first, last + 1);
    const BadFormula bad{const_cast<CompList*>(&row), from, end};
    if (std::find(m_errors.begin(), m_errors.end(), bad) == m_errors.end())
        m_errors.push_back(bad);
}

// An empty row, or one of blanks, is an empty formula, not a failure.
void XhtmlWriter::WriteMathRange(CompList& row, int first, int last)
{
    if (first > last || MathRunText::IsBlank(row, first, last + 1))
        return;
    if (TableComp* table = RowRuns::TableOfSentences(row, first, last + 1)) {
        WriteTableOfSentences(*table);
        return;
    }
    gSyntaxError = false;
    ShownReferences shown;
    std::unique_ptr<ExprNode> node(MathParser(row, first, last + 1).Parse());
    if (node)
        node->WriteMathML(*this);
    if (gSyntaxError)
        RecordError(row, first, last);
}

// A table as the kernel's table form writes it (a frame, lines between the
// columns and under the first row), each cell divided as a row of mathematics.
void XhtmlWriter::WriteTableOfSentences(TableComp& table)
{
    StartElement("mtable", true);
    WriteAttribute("columnlines", "solid");
    if (table.GetRowCount() > 1)
        WriteAttribute("rowlines", "solid none");
    WriteAttribute("frame", "solid");
    EndPendingTag(true);
    for (int r = 1; r <= table.GetRowCount(); ++r) {
        Open("mtr");
        for (int c = 1; c <= table.GetColumnCount(); ++c) {
            Open("mtd");
            if (CompList* cell = table.GetCell(c, r)) {
                const std::vector<RowRuns::Run> runs = RowRuns::Split(*cell, RowRuns::kMath);
                if (RowRuns::IsOneFormula(runs))
                    WriteMathRow(*cell);
                else
                    WriteMathOfRuns(*cell, runs);
            }
            Close("mtd");
        }
        Close("mtr");
    }
    Close("mtable");
}

void XhtmlWriter::WriteMathRow(CompList& row)
{
    WriteMathRange(row, 1, row.GetCount());
}

void XhtmlWriter::WriteMathBlock(CompList& row)
{
    OpenMath();
    WriteMathRow(row);
    Close("math");
}

void XhtmlWriter::StartMath(CompList& row)
{
    WriteMathBlock(row);
    Flush();
}

// A row, or part of one, that is no single formula, as MathML: text as text
// ("mtext"; blanks at its ends as no-break spaces, which MathML would trim),
// formulas as formulas, a drawing as SVG inside text.
void XhtmlWriter::WriteMathOfRuns(CompList& row, const std::vector<RowRuns::Run>& runs)
{
    if (runs.size() > 1)
        Open("mrow");
    for (const RowRuns::Run& run : runs) {
        if (run.IsFormula()) {
            WriteMathRange(row, run.first, run.end - 1);
            continue;
        }
        WriteIndent();
        WriteStartTag("mtext", false);
        if (run.kind == RowRuns::Kind::kObject) {
            NewLine();
            Indent();
            static_cast<DiagramComp&>(*row.GetAt(run.first)).WriteSVG(*this);
            Outdent();
            WriteIndent();
        } else {
            const std::u32string text = ShownText(row, run.first, run.end);
            for (std::size_t i = 0; i < text.size(); ++i) {
                const bool end = i == 0 || i + 1 == text.size();
                WriteEscapedChar(uint16_t(end && text[i] == U' ' ? 0xA0 : text[i] <= 0xFFFF ? text[i] : 0xFFFD));
            }
        }
        EndElement("mtext", false);
        NewLine();
    }
    if (runs.size() > 1)
        Close("mrow");
}

// ---- runs ----

void XhtmlWriter::FlushText(Str255& buffer)
{
    WriteEscapedText(buffer);
    buffer.Clear();
}

void XhtmlWriter::WriteRuns(CompList& row, int outerStyle)
{
    WriteRuns(row, RowRuns::Split(row, outerStyle), outerStyle);
}

// Formulas and drawings stand between the text runs; the column counts every
// component of the row, so that long lines of text break at a blank.
void XhtmlWriter::WriteRuns(CompList& row, const std::vector<RowRuns::Run>& runs, int outerStyle)
{
    int column = 0;
    for (const RowRuns::Run& run : runs) {
        switch (run.kind) {
        case RowRuns::Kind::kObject:
            NewLine();
            static_cast<DiagramComp&>(*row.GetAt(run.first)).WriteSVG(*this);
            column += run.end - run.first;
            break;
        case RowRuns::Kind::kFormula:
            WriteFormulaOfRun(row, run);
            column += run.end - run.first;
            break;
        case RowRuns::Kind::kText: WriteTextOfRun(row, run, outerStyle, column); break;
        }
    }
}

// The formulas of a run, and the pictures among them as pictures (the
// formula reader knows a picture by its name only), as the other formats
// show them.
void XhtmlWriter::WriteFormulaOfRun(CompList& row, const RowRuns::Run& run)
{
    int from = run.first;
    for (int i = run.first; i <= run.end; ++i) {
        auto* picture = i < run.end ? dynamic_cast<PictureComp*>(row.GetAt(i)) : nullptr;
        if (i < run.end && !picture)
            continue;
        if (from < i && !MathRunText::IsBlank(row, from, i)) {
            // The text around the formula touches it: a blank there is the
            // row's own, and punctuation after it stays beside it.
            StartElement("math", false);
            WriteAttribute("xmlns", kMathMLNamespace);
            EndPendingTag(true);
            Indent();
            WriteMathRange(row, from, i - 1);
            Outdent();
            WriteIndent();
            EndElement("math", false);
        }
        if (picture) {
            NewLine();
            const Rect drawn = picture->GetDrawRect();
            WriteEquationImage(picture->GetMetafile(false), Rect(0, 0, drawn.Width(), drawn.Height()));
        }
        from = i + 1;
    }
}

// A text run in another style than its place's stands in its element; links
// the editor would follow are anchors, references and values their text.
void XhtmlWriter::WriteTextOfRun(CompList& row, const RowRuns::Run& run, int outerStyle, int& column)
{
    const char* element = nullptr;
    if (run.style != outerStyle)
        element = run.style == kRunItalic ? "i"
            : run.style == kRunBold       ? "b"
            : run.style == kRunCode       ? "code"
                                          : nullptr;
    if (element)
        WriteStartTag(element, false);
    Str255 buffer;
    for (int i = run.first; i < run.end; ++i) {
        TextComp& comp = *row.GetAt(i);
        ++column;
        const TypeTag tag = comp.Tag();
        if (tag == tag_Ref || tag == tag_VDsp) {
            const Str255 text = ShownText(comp);
            if (buffer.GetLength() + text.GetLength() >= kBufferLimit)
                FlushText(buffer);
            buffer.Append(text);
            column += text.GetLength();
        } else if (tag == tag_Link) {
            auto& link = static_cast<HyperlinkComp&>(comp);
            FlushText(buffer);
            const std::optional<std::string> address = link.WebAddress();
            if (address) {
                StartElement("a", false);
                WriteAttribute("href", address->c_str());
                EndPendingTag(false);
            }
            WriteEscapedText(link.GetDisplayText());
            if (address)
                EndElement("a", false);
        } else {
            if (buffer.GetLength() >= kBufferLimit)
                FlushText(buffer);
            const int code = comp.GetFontId() == FontId::kMath ? MathRunText::TextCode(comp) : comp.GetChar();
            if (code < 0) {
                // A sign of the mathematics face that the text faces lack.
                FlushText(buffer);
                const char32_t shown = MathRunText::Shown(comp);
                WriteEscapedChar(uint16_t(shown != 0 ? shown : 0xFFFD));
                continue;
            }
            buffer.AppendChar(char(code));
            // Source lines are kept whole.
            if (code == ' ' && column >= kLineColumn && outerStyle != kRunCode) {
                FlushText(buffer);
                NewLine();
                column = 0;
            }
        }
    }
    FlushText(buffer);
    if (element)
        EndElement(element, false);
}

// ---- pictures ----

// A picture with nothing recorded, or left out of the export (see
// ExportPictureFiles), shows as text.
void XhtmlWriter::WriteEquationImage(HENHMETAFILE picture, const Rect& rect)
{
    if (!picture || picture->IsNull()) {
        WriteEscapedCString("(empty picture)");
        return;
    }
    const std::string name =
        m_pictureFiles ? m_pictureFiles->NextName(".png") : m_baseName + std::to_string(m_pictureCounter++) + ".png";
    const int width = std::max(1, rect.right - rect.left);
    const int height = std::max(1, rect.bottom - rect.top);
    if (m_pictureFiles && !m_pictureFiles->Admit(width, height, name)) {
        WriteEscapedCString("(picture left out)");
        return;
    }
    StartEmptyElement("img");
    WriteAttribute("src", RelativeUrlOfName(name).c_str());
    WriteAttribute("alt", name.substr(0, name.size() - 4).c_str());
    EndPendingTag(true);
    if (m_pictureFiles)
        SavePicture(picture, width, height, name);
}

// The picture is played centred in an image of the rectangle's size on white.
void XhtmlWriter::SavePicture(HENHMETAFILE picture, int width, int height, const std::string& name)
{
    CWebImageDC image;
    if (!image.Create(CSize(width, height))) {
        m_pictureFiles->NoteError("Could not make a picture of " + std::to_string(width) + " by " +
                                  std::to_string(height) + " pixels for " + name);
        return;
    }
    const CRect bounds = picture->GetBounds();
    const int left = (width - bounds.Width()) / 2;
    const int top = (height - bounds.Height()) / 2;
    image.PlayEnhMetaFile(*picture, CRect(left, top, left + bounds.Width(), top + bounds.Height()));
    m_pictureFiles->SavePng(image, name);
}

// ---- drawing labels ----

void XhtmlWriter::OpenForeignObject(const IntPoint& topLeft, const IntPoint& bottomRight)
{
    StartElement("foreignObject", true);
    WriteIntAttribute("x", topLeft.x);
    WriteIntAttribute("y", topLeft.y);
    WriteIntAttribute("width", std::max(1, bottomRight.x - topLeft.x));
    WriteIntAttribute("height", std::max(1, bottomRight.y - topLeft.y));
    EndPendingTag(true);
}

void XhtmlWriter::WriteLabelRow(const IntPoint& topLeft, const IntPoint& bottomRight, CompList& row, int pointSize)
{
    bool structured = false;
    bool text = false;
    for (int i = 1; i <= row.GetCount(); ++i) {
        const TextComp& comp = *row.GetAt(i);
        if (comp.Tag() == tag_VDsp)
            text = true;
        else if (!IsCharacter(comp))
            structured = true;
        else if (comp.GetFontId() != FontId::kMath && comp.GetFontId() != FontId::kRomanOther)
            text = true;
    }
    if (!structured) {
        // Text stands on its baseline: the frame's bottom less its margin of
        // three pixels and the descent (a fifth of the type's size in pixels).
        const int baseline = bottomRight.y - svg::kFactor * 3 - svg::kFactor * pointSize * 4 / 15;
        WriteTextRun(IntPoint(topLeft.x, std::max(topLeft.y, baseline)), row, pointSize);
        return;
    }
    // The foreign content is scaled with the picture: its type is set at
    // the picture's scale.
    const std::string size = svg::FontSize(pointSize);
    OpenForeignObject(topLeft, bottomRight);
    if (text) {
        StartElement("body", true);
        WriteAttribute("xmlns", kXhtmlNamespace);
        WriteAttribute("style", size.c_str());
        EndPendingTag(true);
        WriteIndent();
        WriteStartTag("p", false);
        WriteRuns(row, kRunText);
        EndElement("p", false);
        NewLine();
        Close("body");
    } else {
        StartElement("math", true);
        WriteAttribute("xmlns", kMathMLNamespace);
        WriteAttribute("style", size.c_str());
        EndPendingTag(true);
        WriteMathRow(row);
        Close("math");
    }
    Close("foreignObject");
}

// Characters only: math characters are set in italics.
void XhtmlWriter::WriteTextRun(const IntPoint& position, CompList& row, int pointSize)
{
    WriteIndent();
    StartElement("text", false);
    WriteIntAttribute("x", position.x);
    WriteIntAttribute("y", position.y);
    WriteAttribute("style", svg::FontSize(pointSize).c_str());
    EndPendingTag(false);
    int current = kRunText;
    Str255 buffer;
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp& comp = *row.GetAt(i);
        int style = comp.Tag() == tag_VDsp ? kRunText : RowRuns::StyleOf(comp);
        if (style == kRunMath)
            style = kRunItalic;
        else if (style == kRunCode)
            style = kRunText;
        if (style != current) {
            FlushText(buffer);
            if (current != kRunText)
                EndElement("tspan", false);
            current = style;
            if (current != kRunText) {
                StartElement("tspan", false);
                WriteAttribute("style", current == kRunItalic ? "font-style: italic" : "font-weight: bold");
                EndPendingTag(false);
            }
        }
        if (comp.Tag() == tag_VDsp) {
            FlushText(buffer);
            WriteEscapedText(ShownText(comp));
            continue;
        }
        if (buffer.GetLength() >= 255)
            FlushText(buffer);
        buffer.AppendChar(char(comp.GetChar()));
    }
    FlushText(buffer);
    if (current != kRunText)
        EndElement("tspan", false);
    EndElement("text", false);
    NewLine();
}
