#include "export/HTMLExportWriter.h"

#include "drawing/DiagramComp.h"
#include "export/CWebImageDC.h"
#include "export/ItemNumber.h"
#include "foundation/ByteStream.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/PictureSource.h"
#include "foundation/StyleKinds.h"
#include "foundation/TextComp.h"
#include "foundation/TextOutBuffer.h"
#include "foundation/TypeTag.h"
#include "math/CrossRefComp.h"
#include "math/HyperlinkComp.h"
#include "math/ScriptComp.h"
#include "platform/Exceptions.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/TextCodec.h"
#include "plot/PlotComp.h"

#include <QString>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// Character styles of a run.
enum RunStyle { kPlainRun = 0, kItalicRun = 1, kBoldRun = 2, kMathRun = 3, kTypewriterRun = 4 };

// The companion faces count as the style they stand in for.
int FoldStyle(int fontId)
{
    switch (fontId) {
    case 5: return kPlainRun;
    case 6: return kBoldRun;
    case 7: return kMathRun;
    default: return fontId >= 0 && fontId <= 4 ? fontId : kPlainRun;
    }
}

bool IsPlainChar(const TextComp* comp, int limit = 127)
{
    return comp && comp->Tag() == tag_Char && comp->GetChar() <= limit;
}

// A script whose row holds only plain characters is written as "sup" or "sub".
bool IsTextScript(TextComp* comp)
{
    TypeTag tag = comp->Tag();
    if (tag != tag_Expo && tag != tag_Subs)
        return false;
    auto* script = dynamic_cast<ScriptComp*>(comp);
    CompList* row = script ? script->Script() : nullptr;
    if (!row)
        return false;
    for (int i = 1; i <= row->GetCount(); ++i)
        if (!IsPlainChar(row->GetAt(i)))
            return false;
    return true;
}

std::string Decimal(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

// Collects what is written into a string (the linear text of a picture).
class StringSink : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override
    {
        if (n > 0)
            text.append(static_cast<const char*>(buf), std::size_t(n));
    }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

// The box of components first..last: characters by their places in the
// laid-out line, structures by their own bounds (a line's last item reaches
// to the page's edge, which a picture must not).
Rect RangeBounds(CompList& row, int first, int last)
{
    Rect bounds;
    bool any = false;
    for (int i = first; i <= last; ++i) {
        TextComp* comp = row.GetAt(i);
        Rect box;
        if (comp->Tag() == tag_Char)
            row.GetItemRect(i, box);
        else
            comp->GetAbsBounds(box);
        if (box.Width() <= 0 || box.Height() <= 0)
            continue;
        if (any)
            Rect::Union(bounds, box, bounds);
        else
            bounds = box;
        any = true;
    }
    return bounds;
}

// How far the box of components first..last reaches below the baseline of
// the line the first stands on; -1 when the row has no laid-out line.
int DescentBelowBaseline(CompList& row, int first, const Rect& bounds)
{
    const ::Layout* item = row.ItemForIndex(first);
    if (!item)
        return -1;
    const int descent = bounds.bottom - item->GetOffset().y;
    return descent >= 0 && descent < bounds.Height() ? descent : -1;
}

struct PictureDeleter {
    void operator()(EnhMetafile* picture) const { DrawContext::DeleteMetafile(picture); }
};
using OwnedPicture = std::unique_ptr<EnhMetafile, PictureDeleter>;

}  // namespace

HTMLExportWriter::HTMLExportWriter(ByteStream& stream, std::string title, std::string baseName, std::string folder,
                                   int16_t firstCellWidth, int16_t secondCellWidth)
    : m_output(stream), m_firstCellWidth(Decimal(firstCellWidth)), m_secondCellWidth(Decimal(secondCellWidth)),
      m_baseName(std::move(baseName)), m_title(std::move(title)), m_folder(std::move(folder)),
      m_pictures(m_folder, m_baseName, "html", 0)
{
}

HTMLExportWriter::~HTMLExportWriter() = default;

// ---- primitives ----

void HTMLExportWriter::Put(const char* bytes, std::size_t count)
{
    m_output.Put(bytes, count);
}

void HTMLExportWriter::Flush()
{
    m_output.Flush();
}

void HTMLExportWriter::WriteString(const char* text)
{
    Put(text, std::strlen(text));
}

void HTMLExportWriter::WriteEscapedChar(char32_t ch)
{
    switch (ch) {
    case '"': WriteString("&quot;"); return;
    case '&': WriteString("&amp;"); return;
    case '<': WriteString("&lt;"); return;
    case '>': WriteString("&gt;"); return;
    default: break;
    }
    if (ch < 32 && ch != '\t' && ch != '\n')
        return;  // HTML has no place for the other control characters
    if (ch == 127 || (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF || ch == 0xFFFE || ch == 0xFFFF)
        return;
    if (ch < 128) {
        PutChar(char(ch));
        return;
    }
    WriteString("&#");
    WriteString(Decimal(int(ch)).c_str());
    PutChar(';');
}

void HTMLExportWriter::WriteEscapedText(const Str255& text, int fontId)
{
    const int charSet = TextCodec::CharSetOfFontId(fontId);
    for (int i = 0; i < text.GetLength(); ++i) {
        auto code = static_cast<unsigned char>(*text.GetPtrAt(i));
        // The text faces show their own sign at 127 (not equal).
        char32_t ch = TextCodec::ToUnicode(code, charSet);
        if (ch != TextCodec::kNoCharacter)
            WriteEscapedChar(ch);
    }
}

void HTMLExportWriter::WriteEscapedCString(const char* text)
{
    for (; *text; ++text)
        WriteEscapedChar(static_cast<unsigned char>(*text));
}

void HTMLExportWriter::WriteEscapedUtf8(const std::string& text)
{
    for (char32_t ch : QString::fromUtf8(text.data(), qsizetype(text.size())).toUcs4())
        WriteEscapedChar(ch);
}

void HTMLExportWriter::WriteTag(const char* name)
{
    PutChar('<');
    WriteString(name);
    PutChar('>');
}

void HTMLExportWriter::OpenTag(const char* name)
{
    PutChar('<');
    WriteString(name);
    m_pendingEnd = ">";
}

void HTMLExportWriter::WriteAttribute(const char* name, const char* value)
{
    PutChar(' ');
    WriteString(name);
    WriteString("=\"");
    WriteEscapedCString(value);
    PutChar('"');
}

void HTMLExportWriter::WriteUtf8Attribute(const char* name, const std::string& value)
{
    PutChar(' ');
    WriteString(name);
    WriteString("=\"");
    WriteEscapedUtf8(value);
    PutChar('"');
}

void HTMLExportWriter::EndOpenTag()
{
    WriteString(m_pendingEnd);
    m_pendingEnd = "";
}

void HTMLExportWriter::CloseTag(const char* name)
{
    WriteString("</");
    WriteString(name);
    PutChar('>');
}

// ---- blocks ----

void HTMLExportWriter::CloseList(OpenList& list)
{
    if (!list.open)
        return;
    if (list.itemOpen)
        CloseTag("li");
    CloseTag(list.kind == ListKind::kOrdered ? "ol" : "ul");
    NewLine();
    list = OpenList();
}

void HTMLExportWriter::CloseSubLists()
{
    CloseList(m_subList);
}

void HTMLExportWriter::CloseLists()
{
    CloseSubLists();
    CloseList(m_list);
}

void HTMLExportWriter::ClosePre()
{
    if (!m_preOpen)
        return;
    CloseTag("pre");
    NewLine();
    m_preOpen = false;
}

void HTMLExportWriter::CloseOpenBlocks()
{
    CloseLists();
    ClosePre();
}

// An item stays open until the next item of its list or the list's end, so
// that a list of the second level, or an equation between items, nests
// inside it. A sub-item shows the screen's number ("2.1."), which a page's
// list has no marker for: its list shows none and the number starts the
// item's text.
void HTMLExportWriter::OpenItem(OpenList& list, ListKind kind, bool subList, const std::string& number)
{
    if (!list.open || list.kind != kind) {
        if (subList) {
            ClosePre();
            CloseSubLists();
        } else {
            CloseOpenBlocks();
        }
        list.open = true;
        list.kind = kind;
        if (number.empty()) {
            WriteTag(kind == ListKind::kOrdered ? "ol" : "ul");
        } else {
            OpenTag(kind == ListKind::kOrdered ? "ol" : "ul");
            WriteAttribute("style", "list-style-type: none");
            EndOpenTag();
        }
        NewLine();
    } else {
        if (!subList)
            CloseSubLists();
        if (list.itemOpen) {
            CloseTag("li");
            NewLine();
        }
    }
    WriteTag("li");
    list.itemOpen = true;
    if (!number.empty())
        WriteEscapedText(Str255((number + " ").c_str()));
}

void HTMLExportWriter::WriteItem(OpenList& list, ListKind kind, CompList& row, bool subList)
{
    OpenItem(list, kind, subList, subList && kind == ListKind::kOrdered ? ItemNumber(row) : std::string());
    WriteRuns(row, kPlainRun);
}

// ---- the page ----

void HTMLExportWriter::WriteHead()
{
    WriteString("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                "\"http://www.w3.org/TR/html4/loose.dtd\">\n");
    WriteString("<html>\n<head>\n");
    WriteString("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=us-ascii\">\n");
    WriteString("<title>");
    WriteEscapedUtf8(m_title);
    WriteString("</title>\n");
    WriteString("<style type=\"text/css\">\n");
    WriteString("p.eqn {text-align: center}\n");
    WriteString("</style></head>\n");
    WriteString("<body bgcolor=\"#ffffff\" text=\"#000000\" link=\"#0000ff\">\n");
}

void HTMLExportWriter::WriteTail()
{
    CloseOpenBlocks();
    CloseTag("body");
    NewLine();
    CloseTag("html");
    Flush();
}

void HTMLExportWriter::WriteTitle(CompList& row)
{
    CloseOpenBlocks();
    OpenTag("h1");
    WriteAttribute("align", "center");
    EndOpenTag();
    WriteRuns(row, kBoldRun);
    CloseTag("h1");
    NewLine();
}

void HTMLExportWriter::WriteHeading2(CompList& row)
{
    CloseOpenBlocks();
    WriteTag("h2");
    WriteRuns(row, kBoldRun);
    CloseTag("h2");
    NewLine();
}

void HTMLExportWriter::WriteHeading3(CompList& row)
{
    CloseOpenBlocks();
    WriteTag("h3");
    WriteRuns(row, kBoldRun);
    CloseTag("h3");
    NewLine();
}

void HTMLExportWriter::WriteParagraph(CompList& row)
{
    CloseOpenBlocks();
    WriteTag("p");
    WriteRuns(row, kPlainRun);
    CloseTag("p");
    NewLine();
}

void HTMLExportWriter::WriteEnumeratedItem(CompList& row)
{
    WriteItem(m_list, ListKind::kOrdered, row, false);
}

void HTMLExportWriter::WriteItemizedItem(CompList& row)
{
    WriteItem(m_list, ListKind::kUnordered, row, false);
}

void HTMLExportWriter::WriteSubEnumeratedItem(CompList& row)
{
    WriteItem(m_subList, ListKind::kOrdered, row, true);
}

void HTMLExportWriter::WriteSubItemizedItem(CompList& row)
{
    WriteItem(m_subList, ListKind::kUnordered, row, true);
}

// An equation is one formula (one picture when text cannot show it); one
// that holds links, references or values is a sentence with formulas in it.
void HTMLExportWriter::WriteEquationContent(CompList& row)
{
    const std::vector<RowRuns::Run> runs = RowRuns::Split(row, RowRuns::kMath);
    if (!RowRuns::IsOneFormula(runs))
        WriteRuns(row, runs, kPlainRun);
    else if (row.GetCount() > 0 && row.HasStructureOrHighChar())
        WriteComponentImage(row, 1, row.GetCount());
    else
        WriteMathRun(row, 1, row.GetCount());
}

void HTMLExportWriter::WritePlainEquation(CompList& row)
{
    ClosePre();
    OpenTag("p");
    WriteAttribute("class", "eqn");
    EndOpenTag();
    WriteEquationContent(row);
    CloseTag("p");
    NewLine();
}

// The equation and its number side by side in a table of two cells; the
// table stands on its own, as a paragraph cannot hold one, after the open
// lists (the screen counts items from 1 again after a numbered equation).
void HTMLExportWriter::WriteNumberedEquation(CompList& row, const Str255& labelText)
{
    CloseOpenBlocks();
    OpenTag("table");
    WriteAttribute("width", "100%");
    EndOpenTag();
    WriteTag("tr");
    OpenTag("td");
    WriteAttribute("width", m_firstCellWidth.c_str());
    EndOpenTag();
    OpenTag("p");
    WriteAttribute("class", "eqn");
    EndOpenTag();
    WriteEquationContent(row);
    CloseTag("p");
    CloseTag("td");
    OpenTag("td");
    WriteAttribute("width", m_secondCellWidth.c_str());
    EndOpenTag();
    WriteTag("p");
    WriteEscapedText(labelText);
    CloseTag("p");
    CloseTag("td");
    CloseTag("tr");
    CloseTag("table");
    NewLine();
}

void HTMLExportWriter::WriteSourceCode(CompList& row)
{
    if (!m_preOpen) {
        CloseOpenBlocks();
        m_preOpen = true;
        WriteTag("pre");
        NewLine();
    }
    WriteRuns(row, kTypewriterRun);
    NewLine();
}

// ---- objects ----

bool HTMLExportWriter::WriteObject(TextComp& comp)
{
    auto* form = dynamic_cast<HtmlForm*>(&comp);
    if (comp.Tag() != tag_Draw && !comp.IsPlot() && !form)
        return false;
    PlaceObject(comp);
    if (comp.Tag() == tag_Draw) {
        WriteDrawing(comp);
        return true;
    }
    if (comp.IsPlot()) {
        WritePlot(comp);
        return true;
    }
    if (comp.Tag() == tag_Meta)
        SetPictureText("picture");
    form->WriteHtml(*this);
    NewLine();
    return true;
}

// The paragraph of an object that is an item of a list stands in the list,
// the object in its item, so that the list counts it as the screen does; in
// an Equation paragraph it stands in the open item as an equation does (the
// screen counts the next item on); any other stands after an open list, not
// in its last item (and a table or picture cannot stand inside a
// preformatted block).
void HTMLExportWriter::PlaceObject(const TextComp& comp)
{
    const ParagraphComp* paragraph = comp.GetParagraph();
    switch (paragraph ? paragraph->GetStyleKind() : int(StyleKind::kPlain)) {
    case StyleKind::kNumbered: OpenItem(m_list, ListKind::kOrdered, false); break;
    case StyleKind::kItemized: OpenItem(m_list, ListKind::kUnordered, false); break;
    case StyleKind::kSubEnumerated:
        OpenItem(m_subList, ListKind::kOrdered, true, ItemNumber(*paragraph->GetRow()));
        break;
    case StyleKind::kSubItemized: OpenItem(m_subList, ListKind::kUnordered, true); break;
    case StyleKind::kEquation: ClosePre(); break;
    default: CloseOpenBlocks(); break;
    }
}

void HTMLExportWriter::WriteDrawing(TextComp& comp)
{
    auto* drawing = dynamic_cast<DiagramComp*>(&comp);
    OpenTag("p");
    WriteAttribute("class", "eqn");
    EndOpenTag();
    if (drawing) {
        OwnedPicture picture(drawing->RecordPicture(true));
        Rect bounds;
        comp.GetBounds(bounds);
        SetPictureText("drawing");
        WriteEquationImage(picture.get(), Rect(0, 0, bounds.Width(), bounds.Height()));
    }
    CloseTag("p");
    NewLine();
}

void HTMLExportWriter::WritePlot(TextComp& comp)
{
    auto* plot = dynamic_cast<PlotComp*>(&comp);
    OpenTag("table");
    WriteAttribute("align", "center");
    WriteAttribute("border", "2");
    EndOpenTag();
    OpenTag("tr");
    WriteAttribute("align", "center");
    EndOpenTag();
    WriteTag("td");
    if (plot) {
        OwnedPicture picture(plot->CopyPicture());
        SetPictureText("plot");
        WriteEquationImage(picture.get(), Rect(0, 0, plot->GetPictureWidth(), plot->GetPictureHeight()));
    }
    CloseTag("td");
    CloseTag("tr");
    for (int i = 1; i <= comp.GetChildCount(); ++i) {
        CompList* line = comp.GetChild(i);
        OpenTag("tr");
        WriteAttribute("align", "center");
        EndOpenTag();
        WriteTag("td");
        if (line && line->GetCount() > 0)
            WriteComponentImage(*line, 1, line->GetCount());
        CloseTag("td");
        CloseTag("tr");
    }
    CloseTag("table");
    NewLine();
}

void HTMLExportWriter::WriteRowHtml(CompList& row)
{
    WriteRuns(row, kPlainRun);
}

// ---- pictures ----

// The text of what the picture shows, limits and bounds too, on one line.
std::string HTMLExportWriter::LinearText(CompList& row, int first, int last) const
{
    StringSink sink;
    TextOutBuffer out(&sink, TextOutBuffer::kUtf8);
    out.ShowLimits(true);
    for (int i = first; i <= last; ++i)
        row.GetAt(i)->WriteText(out);
    out.Flush();
    for (char& c : sink.text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return sink.text;
}

void HTMLExportWriter::WriteComponentImage(CompList& row, int first, int last)
{
    if (first < 1 || last > row.GetCount() || first > last)
        return;
    Rect bounds = RangeBounds(row, first, last);
    TextComp* owner = row.GetOwner();
    ParagraphComp* paragraph = dynamic_cast<ParagraphComp*>(owner);
    if (!paragraph && owner)
        paragraph = owner->GetParagraph();
    std::string text = LinearText(row, first, last);
    if (bounds.Width() <= 0 || bounds.Height() <= 0 || !paragraph) {
        // Nothing laid out to take a picture of: the formula as text.
        WriteEscapedText(Str255(text.substr(0, 255).c_str()));
        return;
    }
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), bounds);
    paragraph->Paint(bounds);
    OwnedPicture picture(gDrawContext.EndMetafile());
    SetPictureText(text);
    m_pictureDescent = DescentBelowBaseline(row, first, bounds);
    WriteEquationImage(picture.get(), bounds);
}

void HTMLExportWriter::WriteEquationImage(HENHMETAFILE picture, const Rect& rect)
{
    std::string alt = m_pictureText.empty() ? std::string("formula") : m_pictureText;
    m_pictureText.clear();
    const int descent = std::exchange(m_pictureDescent, -1);
    CWebImageDC image;
    // No picture of that size (nothing recorded or nothing to show, more
    // than a picture can hold, or more than the export may render): the text
    // stands in.
    if (!picture || picture->IsNull() || rect.Width() <= 0 || rect.Height() <= 0 ||
        !image.Create(CSize(rect.Width(), rect.Height()))) {
        WriteEscapedUtf8(alt);
        return;
    }
    const std::string name = m_pictures.NextName(".png");
    if (!m_pictures.Admit(rect.Width(), rect.Height(), name)) {
        WriteEscapedUtf8(alt);
        return;
    }

    const CRect frame = picture->FrameInPixels();
    const int left = (rect.Width() - frame.Width()) / 2;
    const int top = (rect.Height() - frame.Height()) / 2;
    image.PlayEnhMetaFile(*picture, CRect(left, top, left + frame.Width(), top + frame.Height()));
    if (!m_pictures.SavePng(image, name))
        throw CFileException::Explained(CFileException::genericException, m_folder + name, m_pictures.Error());

    OpenTag("img");
    WriteAttribute("src", RelativeUrlOfName(name).c_str());
    WriteAttribute("width", Decimal(rect.Width()).c_str());
    WriteAttribute("height", Decimal(rect.Height()).c_str());
    // A formula in a line of text stands on the line's baseline, as on the
    // screen, not with its foot on it.
    if (descent > 0)
        WriteAttribute("style", ("vertical-align: -" + Decimal(descent) + "px").c_str());
    WriteUtf8Attribute("alt", alt);
    EndOpenTag();
}

// ---- runs ----

void HTMLExportWriter::OpenRun(int style, int outerStyle)
{
    switch (style) {
    case kItalicRun: WriteTag("i"); break;
    case kBoldRun:
        if (outerStyle != kBoldRun)
            WriteTag("b");
        break;
    case kTypewriterRun:
        if (outerStyle != kTypewriterRun) {
            OpenTag("font");
            WriteAttribute("face", "courier");
            EndOpenTag();
        }
        break;
    default: break;
    }
}

void HTMLExportWriter::CloseRun(int style, int outerStyle)
{
    switch (style) {
    case kItalicRun: CloseTag("i"); break;
    case kBoldRun:
        if (outerStyle != kBoldRun)
            CloseTag("b");
        break;
    case kTypewriterRun:
        if (outerStyle != kTypewriterRun)
            CloseTag("font");
        break;
    default: break;
    }
}

// A formula or a drawing: in a preformatted block (which holds neither
// pictures nor raised text) its linear text; a picture when it holds a
// structure that text cannot show; else italic text.
void HTMLExportWriter::WriteFormulaRun(CompList& row, int first, int last, int outerStyle)
{
    bool picture = false;
    for (int i = first; i <= last && !picture; ++i)
        picture = !IsPlainChar(row.GetAt(i)) && !IsTextScript(row.GetAt(i));
    if (outerStyle == kTypewriterRun)
        WriteEscapedUtf8(LinearText(row, first, last));
    else if (picture)
        WriteComponentImage(row, first, last);
    else
        WriteMathRun(row, first, last);
}

void HTMLExportWriter::WriteRunComponent(TextComp& comp)
{
    TypeTag tag = comp.Tag();
    if (tag == tag_Ref) {
        if (auto* ref = dynamic_cast<CrossRefComp*>(&comp))
            WriteEscapedText(ref->GetTextString());
    } else if (tag == tag_Link) {
        // A link the editor would not follow is its text alone.
        if (auto* link = dynamic_cast<HyperlinkComp*>(&comp)) {
            const std::optional<std::string> address = link->WebAddress();
            if (address) {
                OpenTag("a");
                WriteUtf8Attribute("href", *address);
                EndOpenTag();
            }
            WriteEscapedText(link->GetDisplayText());
            if (address)
                CloseTag("a");
        }
    } else if (tag == tag_Char) {
        Str255 one;
        one.AppendChar(char(comp.GetChar()));
        WriteEscapedText(one, comp.GetFontId());
    }
}

void HTMLExportWriter::WriteScriptRow(CompList& row, const char* element)
{
    WriteTag(element);
    for (int i = 1; i <= row.GetCount(); ++i)
        WriteRunComponent(*row.GetAt(i));
    CloseTag(element);
}

// Characters of the mathematics face in italics (a character of a text face
// keeps its face), with exponents and subscripts of plain characters as
// "sup" and "sub".
void HTMLExportWriter::WriteMathRun(CompList& row, int first, int last)
{
    bool italic = false;
    for (int i = first; i <= last; ++i) {
        TextComp* comp = row.GetAt(i);
        const bool math = comp->Tag() != tag_Char || FoldStyle(comp->GetFontId()) == kMathRun;
        if (math != italic) {
            if (math)
                WriteTag("i");
            else
                CloseTag("i");
            italic = math;
        }
        TypeTag tag = comp->Tag();
        if ((tag == tag_Expo || tag == tag_Subs) && IsTextScript(comp))
            WriteScriptRow(*dynamic_cast<ScriptComp*>(comp)->Script(), tag == tag_Expo ? "sup" : "sub");
        else
            WriteRunComponent(*comp);
    }
    if (italic)
        CloseTag("i");
}

void HTMLExportWriter::WriteRuns(CompList& row, int outerStyle)
{
    WriteRuns(row, RowRuns::Split(row, outerStyle), outerStyle);
}

void HTMLExportWriter::WriteRuns(CompList& row, const std::vector<RowRuns::Run>& runs, int outerStyle)
{
    for (const RowRuns::Run& run : runs) {
        if (run.kind != RowRuns::Kind::kText) {
            WriteFormulaRun(row, run.first, run.end - 1, outerStyle);
            continue;
        }
        OpenRun(run.style, outerStyle);
        for (int i = run.first; i < run.end; ++i)
            WriteRunComponent(*row.GetAt(i));
        CloseRun(run.style, outerStyle);
    }
}
