#include "export/NotebookFileWriter.h"

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

// References and links carry the font of structures, yet in a text cell they
// stand for their visible text: they continue the text run they follow (a
// plain run after mathematics) instead of being parsed as a formula.
int RunIn(const TextComp& comp, int current)
{
    if (dynamic_cast<const CrossRefComp*>(&comp) || dynamic_cast<const HyperlinkComp*>(&comp))
        return current == 3 ? 0 : current;
    return RunOf(comp);
}

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
    std::string run;
    auto flushRun = [&] {
        if (!run.empty())
            out += MathLinkCharConv::MakeLinkString(run.c_str());
        run.clear();
    };
    for (char c : programText) {
        if (c == '"' || c == '\\') {
            flushRun();
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            flushRun();
            out += "\\n";
        } else if (c != '\0') {
            run += c;
        }
    }
    flushRun();
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
    if (gSyntaxError && !m_failure.row)
        m_failure = {&row, first, end};
    gSyntaxError = gSyntaxError || hadError;
    return m_boxText ? m_boxText(node.get()) : std::string();
}

void NotebookFileWriter::WriteMathCell(CompList& row, const char* style)
{
    if (row.GetCount() == 0) {
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
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp* comp = row.GetAt(i);
        const int run = RunIn(*comp, m_run);
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
            AddRunText(std::string(1, static_cast<char>(comp->GetChar())));
    }
    CloseRun(row, row.GetCount() + 1, true);
    Append("}], ");
    Append(style);
    m_cellWritten = true;
}
