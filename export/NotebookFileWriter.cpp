#include "export/NotebookFileWriter.h"

#include "export/MathRunText.h"
#include "foundation/ByteStream.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/FontIds.h"
#include "foundation/Str255.h"
#include "foundation/TextComp.h"
#include "foundation/TypeTag.h"
#include "kernel/MathLinkCharConv.h"
#include "kernel/MathParser.h"
#include "math/CrossRefComp.h"
#include "math/HyperlinkComp.h"
#include "platform/draw/TextCodec.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kTitleLevel = 3;
constexpr int kSectionLevel = 2;
constexpr int kSubsectionLevel = 1;
constexpr size_t kRunTextLimit = 255;

// Character styles as runs: the companion faces count as the styles they
// stand for.
int RunOf(const TextComp& comp)
{
    switch (comp.GetFontId()) {
    case FontId::kRoman: return 0;
    case FontId::kRomanBold: return 2;
    case FontId::kRomanOther: return 3;
    default: return comp.GetFontId();
    }
}

bool IsLinkOrReference(const TextComp& comp)
{
    return dynamic_cast<const CrossRefComp*>(&comp) || dynamic_cast<const HyperlinkComp*>(&comp);
}

// References and links carry the font of structures, yet in a text cell they
// stand for their visible text: they continue the text run they follow (a
// plain run after mathematics) instead of being parsed as a formula.
int RunIn(const TextComp& comp, int current)
{
    if (IsLinkOrReference(comp))
        return current == 3 ? 0 : current;
    return RunOf(comp);
}

// Whether a formula's run in a text cell takes the component.
bool InMathRun(const TextComp& comp)
{
    return !IsLinkOrReference(comp) && RunOf(comp) == 3;
}

// The characters of the faces that notebooks name; every other character
// beyond ASCII is written by its code.
struct NamedCharacter {
    char32_t ch;
    const char* name;
};
// clang-format off
constexpr NamedCharacter kNamedCharacters[] = {
    {0x03B1, "Alpha"}, {0x03B2, "Beta"}, {0x03B3, "Gamma"}, {0x03B4, "Delta"}, {0x03B6, "Zeta"},
    {0x03B7, "Eta"}, {0x03B8, "Theta"}, {0x03B9, "Iota"}, {0x03BA, "Kappa"}, {0x03BB, "Lambda"},
    {0x03BC, "Mu"}, {0x03BD, "Nu"}, {0x03BE, "Xi"}, {0x03C0, "Pi"}, {0x03C1, "Rho"},
    {0x03C3, "Sigma"}, {0x03C4, "Tau"}, {0x03C7, "Chi"}, {0x03C8, "Psi"}, {0x03C9, "Omega"},
    {0x0393, "CapitalGamma"}, {0x0394, "CapitalDelta"}, {0x0398, "CapitalTheta"}, {0x039B, "CapitalLambda"},
    {0x039E, "CapitalXi"}, {0x03A0, "CapitalPi"}, {0x03A3, "CapitalSigma"}, {0x03A6, "CapitalPhi"},
    {0x03A8, "CapitalPsi"}, {0x03A9, "CapitalOmega"}, {0x221E, "Infinity"}, {0x2202, "PartialD"},
    {0x2208, "Element"}, {0x2209, "NotElement"}, {0x2264, "LessEqual"}, {0x2265, "GreaterEqual"},
    {0x2260, "NotEqual"}, {0x2261, "Congruent"}, {0x2248, "TildeTilde"}, {0x2192, "RightArrow"},
    {0x21D2, "DoubleRightArrow"}, {0x21D4, "DoubleLeftRightArrow"}, {0x2200, "ForAll"}, {0x2203, "Exists"},
    {0x2205, "EmptySet"}, {0x2207, "Del"}, {0x222B, "Integral"}, {0x2211, "Sum"}, {0x220F, "Product"},
    {0x00B1, "PlusMinus"}, {0x00D7, "Times"}, {0x00F7, "Divide"}, {0x00B7, "CenterDot"}, {0x00B0, "Degree"},
    {0x2026, "Ellipsis"}, {0x22EF, "CenterEllipsis"}, {0x22EE, "VerticalEllipsis"},
    {0x22F1, "DescendingEllipsis"}, {0x222A, "Union"}, {0x2229, "Intersection"}, {0x2282, "Subset"},
    {0x2283, "Superset"}, {0x2286, "SubsetEqual"}, {0x2287, "SupersetEqual"}, {0x2284, "NotSubset"},
    {0x2295, "CirclePlus"}, {0x2297, "CircleTimes"}, {0x2227, "Wedge"}, {0x2228, "Vee"},
    {0x221D, "Proportional"}, {0x2234, "Therefore"}, {0x22A5, "UpTee"}, {0x2032, "Prime"},
    {0x2033, "DoublePrime"}, {0x00AC, "Not"}, {0x211D, "DoubleStruckCapitalR"}, {0x2115, "DoubleStruckCapitalN"},
    {0x2124, "DoubleStruckCapitalZ"}, {0x211A, "DoubleStruckCapitalQ"}, {0x2102, "DoubleStruckCapitalC"},
};
// clang-format on

}  // namespace

NotebookFileWriter::NotebookFileWriter(ByteStream& stream, BoxText boxText)
    : m_output(stream), m_boxText(std::move(boxText))
{
    gSyntaxError = false;
}

void NotebookFileWriter::Append(const char* text)
{
    m_output.Put(text, std::strlen(text));
}

void NotebookFileWriter::Flush()
{
    m_output.Flush();
}

std::string NotebookFileWriter::StringForm(const std::string& programText)
{
    std::string out;
    for (char c : programText) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            out += "\\n";
        } else if (c != '\0') {
            // What the text faces show; the control codes keep the stored
            // set's reading that the kernel's table gives them.
            const char32_t shown = TextCodec::ToUnicode(code, ANSI_CHARSET);
            out += CharacterForm(shown >= 32 ? shown : MathLinkCharConv::CharToUnicodeA(code));
        }
    }
    return out;
}

std::string NotebookFileWriter::CharacterForm(char32_t ch)
{
    if (ch >= 32 && ch < 127)
        return std::string(1, static_cast<char>(ch));
    for (const NamedCharacter& named : kNamedCharacters)
        if (named.ch == ch)
            return std::string("\\[") + named.name + "]";
    char code[16];
    if (ch > 0xFFFF)
        std::snprintf(code, sizeof code, "\\|%06x", unsigned(ch));
    else
        std::snprintf(code, sizeof code, "\\:%04x", unsigned(ch));
    return code;
}

std::string NotebookFileWriter::NotebookText(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char32_t ch : QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU32String())
        out += ch < 128 ? std::string(1, static_cast<char>(ch)) : CharacterForm(ch);
    return out;
}

// ---- cell groups ----

void NotebookFileWriter::Begin()
{
    Append("Notebook[{\n");
    m_levels.assign(1, 4);
    m_cellWritten = false;
}

void NotebookFileWriter::UpdateGroups(int level)
{
    if (level == 0) {
        if (m_cellWritten)
            Append(",\n");
        m_cellWritten = true;
        return;
    }
    while (level > m_levels.back()) {
        Append("\n}, Open  ]]\n");
        m_levels.pop_back();
    }
    if (level == m_levels.back()) {
        Append("\n}, Open  ]],\nCell[CellGroupData[{\n");
    } else {
        if (m_cellWritten)
            Append(",\n");
        Append("Cell[CellGroupData[{\n");
        m_levels.push_back(level);
    }
    m_cellWritten = false;
}

void NotebookFileWriter::End()
{
    while (m_levels.size() > 1) {
        Append("}, Open]]\n");
        m_levels.pop_back();
    }
    Append("},\nStyleDefinitions -> \"ArticleClassic.nb\"]");
    Flush();
}

// ---- paragraph styles ----

void NotebookFileWriter::WriteTitle(CompList& row)
{
    UpdateGroups(kTitleLevel);
    WriteTextCell(row, kBold, " \"Title\"]");
}

void NotebookFileWriter::WriteSection(CompList& row)
{
    UpdateGroups(kSectionLevel);
    WriteTextCell(row, kBold, " \"Section\"]");
}

void NotebookFileWriter::WriteSubsection(CompList& row)
{
    UpdateGroups(kSubsectionLevel);
    WriteTextCell(row, kBold, " \"Subsection\"]");
}

void NotebookFileWriter::WriteText(CompList& row)
{
    UpdateGroups(0);
    WriteTextCell(row, kPlain, " \"Text\"]");
}

void NotebookFileWriter::WriteInput(CompList& row)
{
    UpdateGroups(0);
    WriteTextCell(row, kTypewriter, " \"Input\"]");
}

void NotebookFileWriter::WriteDisplayFormula(CompList& row)
{
    UpdateGroups(0);
    WriteMathCell(row, " \"DisplayFormula\",TextAlignment->Center]");
}

void NotebookFileWriter::WriteNumberedEquation(CompList& row)
{
    UpdateGroups(0);
    WriteMathCell(row, " \"NumberedEquation\",TextAlignment->Center]");
}

// ---- cells ----

std::string NotebookFileWriter::MathBoxText(CompList& row, int first, int end)
{
    const bool hadError = gSyntaxError;
    gSyntaxError = false;
    std::unique_ptr<ExprNode> node(MathParser(row, first, end).Parse());
    if (gSyntaxError && !m_failure.row) {
        // The range shown selected leaves out the blanks around the formula.
        const auto [from, to] = MathRunText::WithoutOuterBlanks(row, first, end);
        m_failure = {&row, from, to};
    }
    gSyntaxError = gSyntaxError || hadError;
    return m_boxText ? NotebookText(m_boxText(node.get())) : std::string();
}

// A row of blanks is an empty formula, as an empty row is.
void NotebookFileWriter::WriteMathCell(CompList& row, const char* style)
{
    if (MathRunText::IsBlank(row, 1, row.GetCount() + 1)) {
        // The cell's text and its style are separate arguments.
        Append("Cell[\"\",");
    } else {
        Append("Cell[BoxData[\n");
        Append(MathBoxText(row, 1, row.GetCount() + 1));
        Append("], ");
    }
    Append(style);
    m_cellWritten = true;
}

void NotebookFileWriter::OpenRun(int run)
{
    m_run = run;
    m_runText.clear();
    switch (run) {
    case kItalic:
    case kBold: Append("StyleBox[\""); break;
    case kMath: Append("Cell[BoxData["); break;
    default: Append("\""); break;
    }
}

void NotebookFileWriter::WriteRunText()
{
    Append(StringForm(m_runText));
    m_runText.clear();
}

void NotebookFileWriter::AddRunText(const std::string& text)
{
    if (m_runText.size() + text.size() > kRunTextLimit)
        WriteRunText();
    m_runText += text.substr(0, kRunTextLimit);
}

// A character of the mathematics face joins the run's text as the text
// faces' character; one they lack is written by its notebook form.
void NotebookFileWriter::AddRunCharacter(const TextComp& comp)
{
    const int code = comp.GetFontId() == FontId::kMath ? MathRunText::TextCode(comp) : comp.GetChar();
    if (code >= 0) {
        AddRunText(std::string(1, static_cast<char>(code)));
        return;
    }
    WriteRunText();
    const char32_t shown = MathRunText::Shown(comp);
    Append(CharacterForm(shown != 0 ? shown : 0xFFFD));
}

void NotebookFileWriter::CloseRun(CompList& row, int end, bool last)
{
    const char* separator = last ? "" : ",\n";
    switch (m_run) {
    case kMath:
        Append(MathBoxText(row, m_runFirst, end));
        Append("],\"Output\"]");
        break;
    case kItalic:
        WriteRunText();
        Append("\",FontSlant->\"Italic\"]");
        break;
    case kBold:
        WriteRunText();
        Append("\",FontWeight->\"Bold\"]");
        break;
    default:
        WriteRunText();
        Append("\"");
        break;
    }
    Append(separator);
}

void NotebookFileWriter::WriteTextCell(CompList& row, int outerStyle, const char* style)
{
    Append("Cell[TextData[{\n");
    OpenRun(outerStyle);
    m_runFirst = 1;
    MathRunText::Run inText; // the run of mathematics in text the component belongs to
    int textRun = m_run;     // the run of the text around it
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp* comp = row.GetAt(i);
        int run = RunIn(*comp, m_run);
        // A run of the mathematics face that is no formula, and the blanks
        // around a formula, go on in the text before it.
        if (run == kMath && m_run != kMath && !inText.Holds(i)) {
            inText = MathRunText::SplitRun(row, i, InMathRun);
            textRun = m_run;
        }
        if (inText.Holds(i))
            run = inText.IsFormula(i) ? kMath : textRun;
        if (run != m_run) {
            CloseRun(row, i, false);
            OpenRun(run);
            m_runFirst = i;
        }
        if (m_run == kMath)
            continue;
        if (auto* reference = dynamic_cast<CrossRefComp*>(comp))
            AddRunText(reference->GetTextString().GetText());
        else if (auto* link = dynamic_cast<HyperlinkComp*>(comp))
            AddRunText(link->GetDisplayText().GetText());
        else if (!TextComp::IsNotChar(comp->Tag()))
            AddRunCharacter(*comp);
    }
    CloseRun(row, row.GetCount() + 1, true);
    Append("}], ");
    Append(style);
    m_cellWritten = true;
}
