#include "export/LaTeXFileWriter.h"

#include "export/CWebImageDC.h"
#include "export/LaTeXCharForms.h"
#include "export/RowRuns.h"

#include "foundation/ByteStream.h"
#include "foundation/CharTable.h"
#include "foundation/CompList.h"
#include "foundation/EquationLabel.h"
#include "foundation/FontIds.h"
#include "foundation/Str255.h"
#include "foundation/TextComp.h"
#include "kernel/NameTable.h"
#include "math/LinkAddress.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/TextCodec.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// The character styles of components as the writer's fonts: the companion
// faces count as the styles they stand for.
int32_t FoldFont(int fontId)
{
    switch (fontId) {
    case FontId::kRoman: return LaTeXFileWriter::kRoman;
    case FontId::kRomanBold: return LaTeXFileWriter::kBold;
    case FontId::kRomanOther: return LaTeXFileWriter::kMath;
    default: return std::clamp(fontId, 0, 4);
    }
}

const char* TextFontSwitch(int32_t font)
{
    switch (font) {
    case LaTeXFileWriter::kBold: return "\\bf ";
    case LaTeXFileWriter::kEmphasis: return "\\em ";
    case LaTeXFileWriter::kTypewriter: return "\\tt ";
    default: return "";
    }
}

// Whether TeX reads the end of the text as a control word ended by a blank,
// which makes it skip every blank that follows.
bool EndsInControlWordAndBlank(std::string_view text)
{
    if (text.size() < 3 || text.back() != ' ')
        return false;
    std::size_t at = text.size() - 1;
    while (at > 0 && std::isalpha(static_cast<unsigned char>(text[at - 1])))
        --at;
    std::size_t backslashes = 0;
    for (std::size_t before = at; before > 0 && text[before - 1] == '\\'; --before)
        ++backslashes;
    return at < text.size() - 1 && backslashes % 2 == 1;
}

// Whether the text ends in a command that takes an optional argument in
// brackets (or a star), blanks after it left aside: the commands the writers
// put before document text.
bool EndsInOptionalArgumentCommand(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    if (end == std::string_view::npos)
        return false;
    const std::string_view command = text.substr(0, end + 1);
    return command.ends_with("\\item") || command.ends_with("\\\\");
}

// The length of the well-formed UTF-8 character of two to four bytes at
// text[at]; 0 when there is none.
std::size_t Utf8CharacterAt(const std::string& text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    const QString decoded = QString::fromUtf8(text.data() + at, qsizetype(length));
    return decoded.isEmpty() || decoded.contains(QChar::ReplacementCharacter) ? 0 : length;
}

// The page's name as the start of its pictures' names, which the source
// names in an argument: ASCII letters and digits and whole UTF-8 characters
// stay (pdflatex reads them in a file name), every other byte becomes "-"
// and its two hexadecimal digits. A "-" there always starts such an escape,
// so no two names share a form.
std::string PictureBaseName(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string stem;
    for (std::size_t at = 0; at < name.size();) {
        const auto byte = static_cast<unsigned char>(name[at]);
        if (byte < 128 && std::isalnum(byte)) {
            stem += char(byte);
            ++at;
        } else if (const std::size_t length = Utf8CharacterAt(name, at)) {
            stem.append(name, at, length);
            at += length;
        } else {
            stem += {'-', hex[byte >> 4], hex[byte & 15]};
            ++at;
        }
    }
    return stem;
}

// An address as the argument of \\href, which reads the same wherever it
// stands (in a section's title or a box too): letters, digits and the signs
// of addresses stay, "#" and "&" are escaped, a "%" that already starts an
// encoded byte ("%20") is escaped and kept, and every other byte (of a
// blank, a brace, a backslash, a lone "%" or a UTF-8 character) is
// percent-encoded.
std::string HrefAddress(const std::string& address)
{
    static const char hex[] = "0123456789ABCDEF";
    const auto isHex = [&address](std::size_t at) {
        return at < address.size() && std::isxdigit(static_cast<unsigned char>(address[at]));
    };
    std::string out;
    for (std::size_t at = 0; at < address.size(); ++at) {
        const char c = address[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 128 && (std::isalnum(byte) || std::strchr("-._/:?=@!$'()*+,;", c)))
            out += c;
        else if (c == '#' || c == '&' || (c == '%' && isHex(at + 1) && isHex(at + 2)))
            out += {'\\', c};
        else
            out += {'\\', '%', hex[byte >> 4], hex[byte & 15]};
    }
    return out;
}

}  // namespace

LaTeXFileWriter::LaTeXFileWriter(ByteStream& stream, std::string folder, std::string baseName)
    : LaTeXFileWriter(stream, std::move(folder), std::move(baseName), "tex")
{}

LaTeXFileWriter::LaTeXFileWriter(ByteStream& stream, std::string folder, std::string baseName, const char* format)
    : m_output(stream), m_pictures(std::move(folder), PictureBaseName(baseName), format)
{
}

// ---- output ----

// A control word ends at the blank after it, and TeX skips the blanks of the
// text that follow too; in text an empty group ends it instead, so that a
// word set in another face ("{\em  two}") keeps the blank before it. After a
// command that looks for an optional argument ("\item", "\\") an empty group
// stands before a "[" or "*" of the text, which would otherwise be read as
// that argument (and the text in brackets lost).
void LaTeXFileWriter::Put(const char* text)
{
    const std::string_view bytes(text);
    if (bytes.empty())
        return;
    if (m_afterControlWord && bytes.front() == ' ' && m_currentFont != kMath) {
        m_output.Put("{}");
        m_beforeOptionalArgument = false;
    }
    const std::size_t shown = bytes.find_first_not_of(' ');
    if (m_beforeOptionalArgument && shown != std::string_view::npos) {
        if (bytes[shown] == '[' || bytes[shown] == '*')
            m_output.Put("{}");
        m_beforeOptionalArgument = false;
    }
    m_output.Put(bytes);
    m_afterControlWord = EndsInControlWordAndBlank(bytes);
    if (shown != std::string_view::npos)
        m_beforeOptionalArgument = EndsInOptionalArgumentCommand(bytes);
}

void LaTeXFileWriter::Flush()
{
    m_output.Flush();
}

void LaTeXFileWriter::WriteString(const char* text)
{
    FlushPending();
    Put(text);
}

// Every piece of document text comes here (characters of rows through
// WriteChar too): source code takes the typewriter forms; text in
// mathematics is boxed, mathematics in text opened and closed.
void LaTeXFileWriter::WriteText(std::string_view bytes, LaTeXPlace place)
{
    FlushPending();
    if (m_verbatim) {
        // A blank keeps its width and lets a long line wrap after it, as
        // the screen wraps it, rather than run past the margin.
        for (unsigned char code : bytes) {
            Put(LaTeXCharForms::VerbatimForm(code));
            if (code == ' ' || code == '\t')
                Put("\\allowbreak ");
        }
        return;
    }
    const bool math = place == LaTeXPlace::kMath;
    const bool switched = math != (m_currentFont == kMath);
    if (switched)
        Put(math ? "$" : "\\mbox{");
    for (unsigned char code : bytes)
        Put(math ? LaTeXCharForms::MathForm(code, ANSI_CHARSET) : LaTeXCharForms::TextForm(code, ANSI_CHARSET));
    if (switched)
        Put(math ? "$" : "}");
}

void LaTeXFileWriter::PutArgument(std::string_view bytes)
{
    FlushPending();
    for (unsigned char code : bytes)
        Put(LaTeXCharForms::ArgumentForm(code));
}

void LaTeXFileWriter::WriteNumber(long value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%ld", value);
    WriteString(text);
}

// A line of source code ends its paragraph.
void LaTeXFileWriter::NewLine()
{
    WriteString(m_verbatim ? "\\par\n" : "\n");
}

void LaTeXFileWriter::FlushPending()
{
    if (m_pending.empty())
        return;
    std::string letters;
    letters.swap(m_pending);
    if (m_currentFont == kMath) {
        KernelNameLookup* names = KernelNameLookup::Registered();
        const int index = names ? names->Find(letters.c_str()) : 0;
        const BuiltinName* entry = index > 0 ? NameTable::Entry(index) : nullptr;
        if (entry && entry->tex && *entry->tex) {
            Put(entry->tex);
            return;
        }
    }
    Put(letters);
}

// ---- document frame ----

void LaTeXFileWriter::WritePreamble(bool numberPages, int16_t firstPage)
{
    // amssymb and textcomp carry symbols of the character table; pictures
    // are included as PNG renderings, which pdflatex reads.
    // hyperref (last, as it asks) makes references and links live.
    WriteString("\\documentclass{article}\n\\usepackage{amsfonts}\n\\usepackage{amssymb}\n\\usepackage{eucal}\n"
                "\\usepackage{graphicx}\n\\usepackage{textcomp}\n"
                "\\usepackage[bookmarks=false,colorlinks,linkcolor=black,urlcolor=blue]{hyperref}\n"
                "\\begin{document}\n");
    if (!numberPages) {
        WriteString("\\pagestyle{empty}");
        NewLine();
    } else if (firstPage != 1) {
        WriteString("\\setcounter{page}{");
        WriteNumber(firstPage);
        WriteString("}");
        NewLine();
    }
}

void LaTeXFileWriter::WriteEnd()
{
    CloseListsAndVerbatim();
    WriteString("\\end{document}");
    Flush();
}

// ---- fonts ----

void LaTeXFileWriter::SetBaseFont(int32_t font)
{
    m_baseFont = font;
    m_currentFont = font;
}

void LaTeXFileWriter::CloseFontGroup(const char* mathClose)
{
    FlushPending();
    if (m_currentFont != m_baseFont)
        Put(m_currentFont == kMath ? mathClose : "}");
    m_currentFont = m_baseFont;
}

void LaTeXFileWriter::SetFont(int32_t font)
{
    const bool mathParagraph = m_baseFont == kMath;
    if (m_groupDepth == 0 && !mathParagraph) {
        if (m_currentFont == kMath)
            Put("$\\/");
        else if (m_currentFont != m_baseFont)
            Put("}");
    } else if (m_currentFont != kMath) {
        Put("}");
    }
    if (font == kMath) {
        if (m_groupDepth == 0 && !mathParagraph)
            Put("$");
    } else if (m_groupDepth > 0 || mathParagraph) {
        Put("\\mbox{");
        Put(TextFontSwitch(font));
    } else if (font != m_baseFont) {
        Put("{");
        Put(font == kRoman ? "\\rm " : TextFontSwitch(font));
    }
    m_currentFont = font;
}

void LaTeXFileWriter::BeginGroup(bool brace)
{
    FlushPending();
    if (brace)
        Put("{");
    m_currentFont = kMath;
    m_spacing = 0;
    ++m_groupDepth;
}

void LaTeXFileWriter::EndGroup(bool brace)
{
    FlushPending();
    if (m_currentFont != kMath) {
        Put("}");
        m_currentFont = kMath;
    }
    if (brace)
        Put("}");
    m_groupDepth = std::max(0, m_groupDepth - 1);
}

// ---- components ----

void LaTeXFileWriter::WriteChar(TextComp& comp, bool align)
{
    if (m_verbatim) {
        const char code = static_cast<char>(comp.GetChar());
        if (!TextComp::IsNotChar(comp.Tag()))
            WriteText(std::string_view(&code, 1), LaTeXPlace::kText);
        return;
    }
    const int32_t font = RunFont(comp);
    if (font != m_currentFont) {
        FlushPending();
        SetFont(font);
        m_spacing = 0;
    }
    if (TextComp::IsNotChar(comp.Tag())) {
        FlushPending();
        // A structure leaves the font as it found it: rows it wrote end in
        // mathematics, which the text around it never opened.
        const int32_t font = m_currentFont;
        comp.WriteLaTeX(*this);
        FlushPending();
        m_currentFont = font;
        m_spacing = 0;
        return;
    }
    const uint8_t code = comp.GetChar();
    const int charSet = TextCodec::CharSetOfFontId(comp.GetFontId());
    const int32_t kind = CharTable::GetKind(LaTeXCharForms::StoredCode(code, charSet));
    const bool math = m_currentFont == kMath;
    if (kind == CharTable::letter) {
        if (math && m_spacing == 2)
            WriteString("\\,");
        if (static_cast<int>(m_pending.size()) == kPendingCapacity)
            FlushPending();
        m_pending.push_back(static_cast<char>(code));
        m_spacing = 1;
        return;
    }
    if (!math) {
        WriteString(TextFormInFont(code, charSet).c_str());
        return;
    }
    if (kind == CharTable::blank)
        m_spacing = m_spacing == 1 ? 2 : m_spacing;
    else
        m_spacing = 0;
    std::string tex = LaTeXCharForms::MathForm(code, charSet);
    if (align && kind == CharTable::relation)
        tex = " & " + tex + " & ";
    WriteString(tex.c_str());
}

// The typewriter face shows the ASCII signs as themselves, where the text
// forms would set some of them as accents ("~", "^") or as the roman face's
// quotes: they take the face's own glyphs, as in source code. Blanks still
// stretch and break.
std::string LaTeXFileWriter::TextFormInFont(uint8_t code, int charSet) const
{
    if (m_currentFont == kTypewriter && charSet == ANSI_CHARSET && code > ' ' && code < 127)
        return LaTeXCharForms::VerbatimForm(code);
    return LaTeXCharForms::TextForm(code, charSet);
}

// A paragraph's row is divided in its paragraph's font; rows inside
// structures are mathematics.
void LaTeXFileWriter::EnterRow(const CompList& row)
{
    const int outer = m_rows.empty() && m_groupDepth == 0 ? m_baseFont : kMath;
    m_rows.push_back({&row, RowRuns::Split(row, outer)});
}

void LaTeXFileWriter::LeaveRow()
{
    if (!m_rows.empty())
        m_rows.pop_back();
}

// The font of the run the component stands in (see RowRuns): text in a
// sentence keeps its blanks, which mathematics would drop, and words typed
// in the mathematics face are set as the words they are. In a formula a
// character keeps its face (text in mathematics is boxed).
int32_t LaTeXFileWriter::RunFont(const TextComp& comp)
{
    const int32_t font = FoldFont(comp.GetFontId());
    if (m_rows.empty() || !m_rows.back().followed)
        return font;
    // Characters are shared among rows: the position counts the row's
    // components as they come.
    RowFrame& frame = m_rows.back();
    ++frame.index;
    if (frame.row->GetAt(frame.index) != &comp) {
        frame.followed = false;
        return font;
    }
    while (frame.run < frame.runs.size() && frame.runs[frame.run].end <= frame.index)
        ++frame.run;
    if (frame.run == frame.runs.size())
        return font;
    const RowRuns::Run& run = frame.runs[frame.run];
    switch (run.kind) {
    case RowRuns::Kind::kText: return run.style;
    case RowRuns::Kind::kFormula: return comp.Tag() == tag_Char ? font : kMath;
    default: return kMath;
    }
}

// ---- lists and verbatim ----

void LaTeXFileWriter::EndVerbatim()
{
    if (!m_verbatim)
        return;
    Put("}\n");
    m_verbatim = false;
}

void LaTeXFileWriter::CloseSecondLevel()
{
    if (m_itemize2)
        Put("\\end{itemize}\n");
    if (m_enumerate2)
        Put("\\end{enumerate}\n");
    m_itemize2 = m_enumerate2 = false;
}

void LaTeXFileWriter::CloseLists()
{
    FlushPending();
    CloseSecondLevel();
    if (m_itemize1)
        Put("\\end{itemize}\n");
    if (m_enumerate1)
        Put("\\end{enumerate}\n");
    m_itemize1 = m_enumerate1 = false;
}

void LaTeXFileWriter::CloseListsAndVerbatim()
{
    FlushPending();
    EndVerbatim();
    CloseLists();
}

void LaTeXFileWriter::OpenFirstLevelItem(bool enumerate)
{
    bool& open = enumerate ? m_enumerate1 : m_itemize1;
    if (!open) {
        CloseListsAndVerbatim();
        Put(enumerate ? "\\begin{enumerate}\n" : "\\begin{itemize}\n");
        open = true;
    } else {
        EndVerbatim();
        CloseSecondLevel();
    }
    SetBaseFont(kRoman);
    m_spacing = 0;
    WriteString("\\item ");
}

// A sub-item is labelled with the screen's number ("2.1."), where a nested
// enumerate would count "(a)", "(b)".
void LaTeXFileWriter::OpenSecondLevelItem(bool enumerate, const EquationLabel* number)
{
    bool& open = enumerate ? m_enumerate2 : m_itemize2;
    if (!open) {
        FlushPending();
        EndVerbatim();
        CloseSecondLevel();
        Put(enumerate ? "\\begin{enumerate}\n" : "\\begin{itemize}\n");
        open = true;
    }
    SetBaseFont(kRoman);
    m_spacing = 0;
    const Str255 text = number ? number->GetText() : Str255();
    if (text.GetLength() == 0) {
        WriteString("\\item ");
        return;
    }
    WriteString("\\item[");
    WriteText(std::string_view(text.GetPtrAt(0), std::size_t(text.GetLength())), LaTeXPlace::kText);
    WriteString("] ");
}

// ---- paragraph styles ----

void LaTeXFileWriter::BeginTitle()
{
    CloseListsAndVerbatim();
    SetBaseFont(kRoman);
    m_spacing = 0;
    WriteString("\\vskip 1in\n\\begin{center}\n{\\Huge ");
}

void LaTeXFileWriter::EndTitle()
{
    CloseFontGroup("$");
    WriteString("}\n\\end{center}\n\\vskip 1in\n");
}

void LaTeXFileWriter::BeginSection(EquationLabel*)
{
    CloseListsAndVerbatim();
    SetBaseFont(kBold);
    m_spacing = 0;
    WriteString("\\section{");
}

void LaTeXFileWriter::EndSection(EquationLabel* label)
{
    CloseFontGroup("$");
    WriteEndSectionLabel(label);
}

void LaTeXFileWriter::WriteEndSectionLabel(EquationLabel* label)
{
    WriteString("}\n");
    if (IsReferenced(label))
        WriteLabel(*label);
}

void LaTeXFileWriter::BeginHeading()
{
    CloseListsAndVerbatim();
    SetBaseFont(kBold);
    m_spacing = 0;
    WriteString("\\subsection*{");
}

void LaTeXFileWriter::EndHeading()
{
    CloseFontGroup("$");
    WriteString("}\n");
}

void LaTeXFileWriter::BeginParagraph(bool noIndent)
{
    CloseListsAndVerbatim();
    SetBaseFont(kRoman);
    m_spacing = 0;
    WriteString(noIndent ? "\\par\n" : "\\par\\noindent\n");
}

void LaTeXFileWriter::EndItem()
{
    CloseFontGroup("$");
    NewLine();
}

void LaTeXFileWriter::BeginEnumeratedItem(EquationLabel* label)
{
    OpenFirstLevelItem(true);
    WriteItemLabel(label);
}

void LaTeXFileWriter::BeginSubEnumeratedItem(EquationLabel* label)
{
    OpenSecondLevelItem(true, label);
    WriteItemLabel(label);
}

void LaTeXFileWriter::WriteItemLabel(EquationLabel* label)
{
    if (IsReferenced(label))
        WriteLabel(*label);
}

void LaTeXFileWriter::BeginItemizedItem()
{
    OpenFirstLevelItem(false);
}

void LaTeXFileWriter::BeginSubItemizedItem()
{
    OpenSecondLevelItem(false);
}

void LaTeXFileWriter::EndListItem(EquationLabel* label)
{
    CloseFontGroup("$");
    WriteListItemEnd(label);
}

void LaTeXFileWriter::WriteListItemEnd(EquationLabel*)
{
    NewLine();
}

// An Equation paragraph between items stands in the open item: the screen
// counts the next item on, and so does the list.
void LaTeXFileWriter::BeginDisplayMath()
{
    FlushPending();
    EndVerbatim();
    WriteString("\\[");
    SetBaseFont(kMath);
    m_spacing = 0;
}

void LaTeXFileWriter::EndDisplayMath()
{
    CloseFontGroup("}");
    WriteString("\\]\n");
}

void LaTeXFileWriter::BeginNumberedEquation(EquationLabel*)
{
    CloseListsAndVerbatim();
    WriteString("\\begin{equation}");
    SetBaseFont(kMath);
    m_spacing = 0;
}

void LaTeXFileWriter::EndNumberedEquation(EquationLabel* label)
{
    CloseFontGroup("}");
    WriteEquationEnd(label);
}

void LaTeXFileWriter::WriteEquationEnd(EquationLabel* label)
{
    if (IsReferenced(label))
        WriteLabel(*label);
    WriteString("\\end{equation}\n");
}

// Source code is set line by line in the typewriter face, every character
// by its typewriter form: unlike a verbatim environment, no text can close
// it. A line wraps at its blanks only, never hyphenated, its wrapped part
// flush left; an empty line keeps its place.
// The penalties end with the group (a font's hyphen character would not:
// TeX keeps it for the whole document).
void LaTeXFileWriter::BeginVerbatim()
{
    if (!m_verbatim) {
        CloseLists();
        WriteString("\\par{\\tt\\raggedright\\hyphenpenalty=10000\\exhyphenpenalty=10000\\parindent=0pt\n");
        m_verbatim = true;
    }
    Put("\\mbox{}");
}

// As a display: the open lists go on (EndLists closes them where a
// numbered equation restarts the screen's count).
void LaTeXFileWriter::BeginEqnarray()
{
    FlushPending();
    EndVerbatim();
    WriteString("\\begin{eqnarray*}");
    SetBaseFont(kMath);
    m_spacing = 0;
}

void LaTeXFileWriter::EndEqnarray()
{
    CloseFontGroup("}");
    WriteString("\\end{eqnarray*}\n");
}

// ---- pictures, references, links ----

// Only labels that references point at are written: a label nobody refers
// to would only add a name that LaTeX could report as defined twice.
bool LaTeXFileWriter::IsReferenced(const EquationLabel* label)
{
    return label && label->HasLinks();
}

std::string LaTeXFileWriter::LabelName(EquationLabel* label)
{
    Str255 name;
    label->GetLaTeXName(name);
    return name.CStr();
}

bool LaTeXFileWriter::SavePicturePng(HENHMETAFILE picture, int width, int height, const std::string& fileName)
{
    width = std::max(1, width);
    height = std::max(1, height);
    if (!m_pictures.Admit(width, height, fileName))
        return false;
    CWebImageDC image;
    if (!image.Create(CSize(width, height))) {
        m_pictures.NoteError("The picture " + fileName + " is too large to write.");
        return false;
    }
    image.PlayEnhMetaFile(*picture, CRect(0, 0, image.Width(), image.Height()));
    return m_pictures.SavePng(image, fileName);
}

// The picture at its size in the document, but never wider than the line
// less the frame the picture stands in; its height follows its width.
void LaTeXFileWriter::WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture)
{
    // The PNG holds two pixels for each pixel of a 96-dpi screen.
    constexpr int kPngPixelsPerInch = 192;
    if (!picture || picture->IsNull())
        return;
    // The PNG and the metafile share a name but for their extensions.
    const std::string png = m_pictures.NextName(".png");
    const std::string name = png.substr(0, png.size() - 4);
    if (!SavePicturePng(picture, widthPoints * kPngPixelsPerInch / 72, heightPoints * kPngPixelsPerInch / 72, png)) {
        WriteString("\\mbox{(picture left out)}");
        return;
    }
    const std::string width = std::to_string(std::max(1, widthPoints)) + "pt";
    const char* line = "\\dimexpr\\linewidth-2\\fboxsep-2\\fboxrule\\relax";
    WriteString(("\\includegraphics[width=\\ifdim " + width + ">" + line + " " + line + "\\else " + width + "\\fi]{" +
                 png + "}")
                    .c_str());
    const QByteArray& bytes = picture->Bytes();
    m_pictures.SaveBytes(std::string_view(bytes.constData(), std::size_t(bytes.size())), name + ".emf");
}

// The label, and a link target of its name that references lead to.
void LaTeXFileWriter::WriteLabel(EquationLabel& label)
{
    label.WriteLaTeXLabel(*this);
    WriteString("\\hypertarget{");
    PutArgument(LabelName(&label));
    WriteString("}{}");
}

// The reference shows the text the screen shows ("(1)", where "\\ref" would
// give "1"), as a link to its label's target. It reads nothing of an earlier
// run (whose auxiliary file may hold labels of another form), and stays whole
// in a section's title.
void LaTeXFileWriter::WriteReference(const Str255& labelName, const Str255& shownText)
{
    WriteString("\\protect\\hyperlink{");
    PutArgument(std::string_view(labelName.GetPtrAt(0), labelName.GetLength()));
    WriteString("}{");
    WriteText(std::string_view(shownText.GetPtrAt(0), shownText.GetLength()), LaTeXPlace::kText);
    WriteString("}");
}

// The link's text is text even where the link stands in mathematics (a
// link is a structure, so a text paragraph opens math for it): there it is
// boxed, since the text forms of characters such as "<" switch into math.
// The address goes with it as the link's target.
void LaTeXFileWriter::WriteDocLink(const Str255& url, const Str255& text)
{
    const std::optional<QString> address =
        LinkAddress::WebAddress(TextCodec::Decode(url.GetPtrAt(0), url.GetLength(), ANSI_CHARSET), true);
    if (address) {
        WriteString("\\protect\\href{");
        Put(HrefAddress(address->toStdString()));
        WriteString("}{");
    }
    WriteLinkText(text);
    if (address)
        WriteString("}");
}

void LaTeXFileWriter::WriteLinkText(const Str255& text)
{
    WriteText(std::string_view(text.GetPtrAt(0), text.GetLength()), LaTeXPlace::kText);
}
