#include "export/XhtmlWriter.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawValueComp.h"
#include "export/CWebImageDC.h"
#include "export/ExportPictureFiles.h"
#include "export/MathRunText.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/FontIds.h"
#include "foundation/StyleKinds.h"
#include "foundation/IntPoint.h"
#include "foundation/Rect.h"
#include "foundation/Str255.h"
#include "foundation/TextComp.h"
#include "kernel/MathParser.h"
#include "math/CrossRefComp.h"
#include "math/HyperlinkComp.h"

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

// Whether a formula's run takes the component.
bool InMathRun(const TextComp& comp)
{
    return !comp.IsDiagram() && !MathRunText::IsTextStructure(comp) && XhtmlWriter::RunStyleOf(comp) == kRunMath;
}

// The text a reference or a value display shows.
Str255 ShownText(TextComp& comp)
{
    if (comp.Tag() == tag_Ref)
        return static_cast<CrossRefComp&>(comp).GetTextString();
    return static_cast<DrawValueComp&>(comp).GetText();
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

int XhtmlWriter::RunStyleOf(const TextComp& comp)
{
    if (!IsCharacter(comp))
        return kRunMath;
    switch (comp.GetFontId()) {
    case FontId::kItalic: return kRunItalic;
    case FontId::kBold:
    case FontId::kRomanBold: return kRunBold;
    case FontId::kMath:
    case FontId::kRomanOther: return kRunMath;
    case FontId::kCode: return kRunCode;
    default: return kRunText;
    }
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
// that the list counts it as the screen does.
void XhtmlWriter::StartObject(int styleKind)
{
    switch (styleKind) {
    case StyleKind::kNumbered: StartItem(kFirst, "ol"); break;
    case StyleKind::kItemized: StartItem(kFirst, "ul"); break;
    case StyleKind::kSubEnumerated: StartItem(kSecond, "ol"); break;
    case StyleKind::kSubItemized: StartItem(kSecond, "ul"); break;
    default: CloseOpenBlocks(); break;
    }
}

// An item stays open until the next item or the end of its list, so that a
// sub-list, or an equation between it and the next item, is written inside it.
void XhtmlWriter::StartItem(ListLevel level, const char* name)
{
    ListState& list = m_lists[level];
    if (list.name && std::string(list.name) != name)
        CloseList(level);
    if (!list.name) {
        ClosePre();
        if (level == kFirst)
            CloseLists();
        list.name = name;
        Open(name);
    } else {
        if (level == kFirst)
            CloseSubLists();
        CloseItem(level);
    }
    Open("li");
    list.itemOpen = true;
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
    StartItem(kSecond, "ol");
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
    OpenMath();
    WriteMathRow(row);
    Close("math");
    Close("p");
    NewLine();
}

// A table of three cells: an empty margin, the centred formula and the label.
void XhtmlWriter::WriteNumberedEquation(CompList& row, const Str255& labelText)
{
    ClosePre();
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
    OpenMath();
    WriteMathRow(row);
    Close("math");
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

// The range shown selected leaves out the blanks around the formula.
void XhtmlWriter::RecordError(const CompList& row, int first, int last)
{
    if (m_errorRow)
        return;
    const auto [from, end] = MathRunText::WithoutOuterBlanks(row, first, last + 1);
    m_errorRow = &row;
    m_errorFirst = from;
    m_errorLast = end - 1;
}

// An empty row, or one of blanks, is an empty formula, not a failure.
void XhtmlWriter::WriteMathRange(CompList& row, int first, int last)
{
    if (first > last || MathRunText::IsBlank(row, first, last + 1))
        return;
    gSyntaxError = false;
    std::unique_ptr<ExprNode> node(MathParser(row, first, last + 1).Parse());
    if (node)
        node->WriteMathML(*this);
    if (gSyntaxError)
        RecordError(row, first, last);
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

// ---- runs ----

void XhtmlWriter::FlushText(Str255& buffer)
{
    WriteEscapedText(buffer);
    buffer.Clear();
}

// The run that started out as the row's outer style was opened by the
// paragraph's own element and ends with it.
void XhtmlWriter::CloseRun(CompList& row, int style, bool opened, int mathFirst, int last, Str255& buffer)
{
    if (style == kRunMath) {
        if (opened) {
            if (mathFirst <= last)
                WriteMathRange(row, mathFirst, last);
            Close("math");
        }
        buffer.Clear();
        return;
    }
    FlushText(buffer);
    if (!opened)
        return;
    switch (style) {
    case kRunItalic: EndElement("i", false); break;
    case kRunBold: EndElement("b", false); break;
    case kRunCode: EndElement("code", false); break;
    default: break;
    }
}

void XhtmlWriter::WriteRuns(CompList& row, int outerStyle)
{
    int current = outerStyle;
    bool opened = false;
    int mathFirst = 0;
    int column = 0;
    MathRunText::Run run;    // the run of mathematics in text the component belongs to
    int textStyle = current; // the style of the text around that run
    Str255 buffer;
    if (outerStyle == kRunMath) {
        NewLine();
        OpenMath();
        opened = true;
        mathFirst = 1;
    }
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp& comp = *row.GetAt(i);
        ++column;
        // A drawing in a line shows as its picture between the runs around
        // it (a formula holds no picture); the line goes on in its own style.
        if (comp.IsDiagram()) {
            CloseRun(row, current, opened, mathFirst, i - 1, buffer);
            NewLine();
            static_cast<DiagramComp&>(comp).WriteSVG(*this);
            current = outerStyle;
            opened = outerStyle == kRunMath;
            if (opened) {
                OpenMath();
                mathFirst = i + 1;
            }
            continue;
        }
        // Links, references and values join the text run they stand in; after
        // a formula they start a plain one.
        int style = !MathRunText::IsTextStructure(comp) ? RunStyleOf(comp) : current == kRunMath ? kRunText : current;
        // A run of the mathematics face that is no formula, and the blanks
        // around a formula, go on in the text before it.
        if (style == kRunMath && current != kRunMath && !run.Holds(i)) {
            run = MathRunText::SplitRun(row, i, InMathRun);
            textStyle = current;
        }
        if (run.Holds(i))
            style = run.IsFormula(i) ? kRunMath : textStyle;
        if (style != current) {
            CloseRun(row, current, opened, mathFirst, i - 1, buffer);
            current = style;
            opened = style != outerStyle || style == kRunMath;
            if (opened) {
                switch (style) {
                case kRunItalic: WriteStartTag("i", false); break;
                case kRunBold: WriteStartTag("b", false); break;
                case kRunCode: WriteStartTag("code", false); break;
                case kRunMath:
                    NewLine();
                    OpenMath();
                    mathFirst = i;
                    break;
                default: break;
                }
            }
        }
        if (current == kRunMath)
            continue;
        const TypeTag tag = comp.Tag();
        if (tag == tag_Ref || tag == tag_VDsp) {
            const Str255 text = ShownText(comp);
            if (buffer.GetLength() + text.GetLength() >= kBufferLimit)
                FlushText(buffer);
            buffer.Append(text);
            column += text.GetLength();
        } else if (tag == tag_Link) {
            // A link the editor would not follow is its text alone.
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
    CloseRun(row, current, opened, mathFirst, row.GetCount(), buffer);
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
        int style = comp.Tag() == tag_VDsp ? kRunText : RunStyleOf(comp);
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
