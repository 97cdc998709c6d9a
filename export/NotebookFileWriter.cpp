#include "export/NotebookFileWriter.h"

#include "drawing/DrawValueComp.h"
#include "export/MathRunText.h"
#include "export/RowRuns.h"
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
#include "math/TableComp.h"
#include "platform/draw/TextCodec.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kTitleLevel = 3;
constexpr int kSectionLevel = 2;
constexpr int kSubsectionLevel = 1;

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
    if (TableComp* table = RowRuns::TableOfSentences(row, first, end))
        return TableBoxes(*table);
    const bool hadError = gSyntaxError;
    gSyntaxError = false;
    std::unique_ptr<ExprNode> node;
    {
        ShownReferences shown;
        node.reset(MathParser(row, first, end).Parse());
    }
    if (gSyntaxError) {
        // The range shown selected leaves out the blanks around the formula.
        const auto [from, to] = MathRunText::WithoutOuterBlanks(row, first, end);
        m_failures.push_back({&row, from, to});
    }
    gSyntaxError = gSyntaxError || hadError;
    return m_boxText ? NotebookText(m_boxText(node.get())) : std::string();
}

// A table whose cells hold sentences as a grid of its cells: a sentence's
// text as strings beside the boxes of its formulas.
std::string NotebookFileWriter::TableBoxes(TableComp& table)
{
    std::string boxes = "GridBox[{";
    for (int r = 1; r <= table.GetRowCount(); ++r) {
        boxes += r > 1 ? ", {" : "{";
        for (int c = 1; c <= table.GetColumnCount(); ++c) {
            if (c > 1)
                boxes += ", ";
            boxes += CellBoxes(*table.GetCell(c, r));
        }
        boxes += "}";
    }
    return boxes + "}]";
}

std::string NotebookFileWriter::CellBoxes(CompList& cell)
{
    const std::vector<RowRuns::Run> runs = RowRuns::Split(cell, RowRuns::kMath);
    if (RowRuns::IsOneFormula(runs))
        return MathRunText::IsBlank(cell, 1, cell.GetCount() + 1) ? "\"\"" : MathBoxText(cell, 1, cell.GetCount() + 1);
    std::string boxes = "RowBox[{";
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const RowRuns::Run& run = runs[k];
        boxes += k > 0 ? ", " : "";
        boxes += run.kind == RowRuns::Kind::kText ? "\"" + RunText(cell, run.first, run.end) + "\""
                                                  : MathBoxText(cell, run.first, run.end);
    }
    return boxes + "}]";
}

// A row of blanks is an empty formula, as an empty row is. An equation that
// holds links, references or values is a sentence: its cell holds text with
// its formulas in it.
void NotebookFileWriter::WriteMathCell(CompList& row, const char* style)
{
    const std::vector<RowRuns::Run> runs = RowRuns::Split(row, RowRuns::kMath);
    if (!RowRuns::IsOneFormula(runs)) {
        WriteTextCell(row, runs, kPlain, style);
        return;
    }
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

// The opening and closing of a run in a text cell.
const char* NotebookFileWriter::RunOpening(int run)
{
    return run == kItalic || run == kBold ? "StyleBox[\"" : run == kMath ? "Cell[BoxData[" : "\"";
}

const char* NotebookFileWriter::RunClosing(int run)
{
    switch (run) {
    case kMath: return "],\"Output\"]";
    case kItalic: return "\",FontSlant->\"Italic\"]";
    case kBold: return "\",FontWeight->\"Bold\"]";
    default: return "\"";
    }
}

// The text components [first, end) show, in notebook string form: a
// character of the mathematics face as the text faces' character, or by
// its notebook form when they lack it.
std::string NotebookFileWriter::RunText(CompList& row, int first, int end)
{
    std::string text;
    for (int i = first; i < end; ++i) {
        TextComp& comp = *row.GetAt(i);
        if (auto* reference = dynamic_cast<CrossRefComp*>(&comp)) {
            text += StringForm(reference->GetTextString().GetText());
        } else if (auto* link = dynamic_cast<HyperlinkComp*>(&comp)) {
            text += StringForm(link->GetDisplayText().GetText());
        } else if (auto* value = dynamic_cast<DrawValueComp*>(&comp)) {
            text += StringForm(value->GetText().GetText());
        } else if (comp.Tag() == tag_Char) {
            const int code = comp.GetFontId() == FontId::kMath ? MathRunText::TextCode(comp) : comp.GetChar();
            const char32_t shown = MathRunText::Shown(comp);
            text += code >= 0 ? StringForm(std::string(1, static_cast<char>(code)))
                              : CharacterForm(shown != 0 ? shown : 0xFFFD);
        }
    }
    return text;
}

void NotebookFileWriter::WriteTextCell(CompList& row, int outerStyle, const char* style)
{
    WriteTextCell(row, RowRuns::Split(row, outerStyle), outerStyle, style);
}

// The cell opens in the outer style (an empty string when the row starts
// in another); every formula and drawing is a formula cell of its own.
void NotebookFileWriter::WriteTextCell(CompList& row, const std::vector<RowRuns::Run>& runs, int outerStyle,
                                       const char* style)
{
    Append("Cell[TextData[{\n");
    const auto kindOf = [](const RowRuns::Run& run) {
        return run.kind == RowRuns::Kind::kText ? run.style : int(kMath);
    };
    if (runs.empty() || kindOf(runs.front()) != outerStyle) {
        Append(RunOpening(outerStyle));
        Append(RunClosing(outerStyle));
        if (!runs.empty())
            Append(",\n");
    }
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const RowRuns::Run& run = runs[k];
        const int kind = kindOf(run);
        Append(RunOpening(kind));
        Append(kind == kMath ? MathBoxText(row, run.first, run.end) : RunText(row, run.first, run.end));
        Append(RunClosing(kind));
        if (k + 1 < runs.size())
            Append(",\n");
    }
    Append("}], ");
    Append(style);
    m_cellWritten = true;
}
