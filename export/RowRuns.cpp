#include "export/RowRuns.h"

#include "export/MathRunText.h"
#include "foundation/CompList.h"
#include "foundation/FontIds.h"
#include "foundation/ShowsText.h"
#include "foundation/TextComp.h"
#include "foundation/TypeTag.h"
#include "kernel/NameTable.h"
#include "math/TableComp.h"

#include <QChar>

#include <cstring>
#include <string>

namespace {

using Run = RowRuns::Run;
using Kind = RowRuns::Kind;

// A text run that takes the style of the text before it.
constexpr int kInherit = -1;

// Whether the spelling names a function or operator that mathematics sets
// upright by its own command ("cos", "lim", "mod"): a formula, not a word.
bool NamesFunction(const std::string& spelling)
{
    const int index = TheNameTable().Find(spelling.c_str());
    const BuiltinName* entry = NameTable::Entry(index);
    return entry && NameTable::IsUpright(index) && entry->tex && entry->tex[0] == '\\' &&
        std::strncmp(entry->tex, "\\mbox", 5) != 0 && std::strncmp(entry->tex, "\\mathrm", 7) != 0;
}

// Blanks, punctuation and one sign at most besides.
bool IsSignsAndPunctuation(const CompList& row, int first, int end)
{
    int signs = 0;
    for (int i = first; i < end; ++i) {
        const TextComp& comp = *row.GetAt(i);
        if (RowRuns::ShowsText(comp) || MathRunText::IsBlank(row, i, i + 1))
            continue;
        if (comp.Tag() != tag_Char)
            return false;
        const char32_t ch = MathRunText::Shown(comp);
        if (QChar::isPunct(ch))
            continue;
        if (QChar::isLetterOrNumber(ch) || ++signs > 1)
            return false;
    }
    return true;
}

// Letters, digits, blanks and punctuation, parted by a blank or a
// punctuation mark, with a word of two letters or more that names no
// function: what a sentence typed in the mathematics face leaves.
bool IsWords(const CompList& row, int first, int end)
{
    bool parted = false;
    bool word = false;
    std::string letters;
    const auto endWord = [&]() {
        word = word || (letters.size() >= 2 && !NamesFunction(letters));
        letters.clear();
    };
    for (int i = first; i < end; ++i) {
        const TextComp& comp = *row.GetAt(i);
        if (comp.Tag() != tag_Char)
            return false;
        const char32_t ch = MathRunText::Shown(comp);
        if (QChar::isLetter(ch)) {
            letters += char(comp.GetChar());
            continue;
        }
        endWord();
        if (QChar::isSpace(ch) || QChar::isPunct(ch))
            parted = true;
        else if (!QChar::isDigit(ch))
            return false;
    }
    endWord();
    return parted && word;
}

// The row's pieces: drawings, links, references and values on their own,
// the rest in runs of one face each, or, in a row of mathematics, formulas
// whatever the faces of their characters.
std::vector<Run> Pieces(const CompList& row, int first, int end, bool byFace)
{
    std::vector<Run> runs;
    for (int i = first; i < end; ++i) {
        const TextComp& comp = *row.GetAt(i);
        const int style = byFace ? RowRuns::StyleOf(comp) : int(RowRuns::kMath);
        if (comp.IsDiagram())
            runs.push_back({Kind::kObject, RowRuns::kMath, i, i + 1});
        else if (RowRuns::ShowsText(comp))
            runs.push_back({Kind::kText, kInherit, i, i + 1});
        else if (!runs.empty() && runs.back().kind != Kind::kObject && runs.back().style == style)
            runs.back().end = i + 1;
        else
            runs.push_back({style == RowRuns::kMath ? Kind::kFormula : Kind::kText, style, i, i + 1});
    }
    return runs;
}

// In a sentence, the mathematics face that reads as text becomes text, and
// a formula leaves the blanks around it to the text.
std::vector<Run> TextOfSentence(const CompList& row, const std::vector<Run>& runs)
{
    std::vector<Run> out;
    for (const Run& run : runs) {
        if (!run.IsFormula()) {
            out.push_back(run);
            continue;
        }
        if (RowRuns::IsText(row, run.first, run.end)) {
            out.push_back({Kind::kText, kInherit, run.first, run.end});
            continue;
        }
        const auto [from, to] = MathRunText::WithoutOuterBlanks(row, run.first, run.end);
        if (from > run.first)
            out.push_back({Kind::kText, kInherit, run.first, from});
        out.push_back({Kind::kFormula, RowRuns::kMath, from, to});
        if (to < run.end)
            out.push_back({Kind::kText, kInherit, to, run.end});
    }
    return out;
}

// Text that takes its style from the text before it takes the place's text
// style after a formula or a drawing; neighbours of one style join.
std::vector<Run> Resolved(const std::vector<Run>& runs, int textStyle)
{
    std::vector<Run> out;
    for (Run run : runs) {
        if (run.style == kInherit)
            run.style = !out.empty() && out.back().kind == Kind::kText ? out.back().style : textStyle;
        if (!out.empty() && run.kind == Kind::kText && out.back().kind == Kind::kText &&
            out.back().style == run.style) {
            out.back().end = run.end;
            continue;
        }
        out.push_back(run);
    }
    return out;
}

} // namespace

int RowRuns::StyleOf(const TextComp& comp)
{
    if (comp.Tag() != tag_Char)
        return kMath;
    switch (comp.GetFontId()) {
    case FontId::kRoman: return kPlain;
    case FontId::kRomanBold: return kBold;
    case FontId::kRomanOther: return kMath;
    case FontId::kItalic: return kItalic;
    case FontId::kBold: return kBold;
    case FontId::kMath: return kMath;
    case FontId::kCode: return kCode;
    default: return kPlain;
    }
}

bool RowRuns::ShowsText(const TextComp& comp)
{
    return ::ShowsText(comp.Tag());
}

bool RowRuns::IsText(const CompList& row, int first, int end)
{
    return IsSignsAndPunctuation(row, first, end) || IsWords(row, first, end);
}

std::vector<Run> RowRuns::Split(const CompList& row, int first, int end, int outerStyle)
{
    if (outerStyle != kMath)
        return Resolved(TextOfSentence(row, Pieces(row, first, end, true)), outerStyle);
    const std::vector<Run> runs = Pieces(row, first, end, false);
    for (const Run& run : runs)
        if (run.kind == Kind::kText)
            return Resolved(TextOfSentence(row, runs), kPlain);
    return runs;
}

std::vector<Run> RowRuns::Split(const CompList& row, int outerStyle)
{
    return Split(row, 1, row.GetCount() + 1, outerStyle);
}

TableComp* RowRuns::TableOfSentences(const CompList& row, int first, int end)
{
    auto* table = end == first + 1 ? dynamic_cast<TableComp*>(row.GetAt(first)) : nullptr;
    if (!table)
        return nullptr;
    for (int c = 1; c <= table->GetColumnCount(); ++c)
        for (int r = 1; r <= table->GetRowCount(); ++r)
            if (const CompList* cell = table->GetCell(c, r); cell && !IsOneFormula(Split(*cell, kMath)))
                return table;
    return nullptr;
}

bool RowRuns::IsOneFormula(const std::vector<Run>& runs)
{
    return runs.empty() || (runs.size() == 1 && runs.front().IsFormula());
}
