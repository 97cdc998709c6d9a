#include "export/RowRuns.h"

#include "export/MathRunText.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/FontIds.h"
#include "foundation/ShowsText.h"
#include "foundation/TextComp.h"
#include "foundation/TypeTag.h"
#include "kernel/MathParser.h"
#include "kernel/NameTable.h"
#include "math/TableComp.h"

#include <QChar>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

namespace {

using Run = RowRuns::Run;
using Kind = RowRuns::Kind;

// A text run that takes the style of the text before it.
constexpr int kInherit = -1;

Run TextRun(int first, int end, int style = kInherit)
{
    return {Kind::kText, style, first, end};
}

Run FormulaRun(int first, int end)
{
    return {Kind::kFormula, RowRuns::kMath, first, end};
}

// Whether the spelling names a function or operator that mathematics sets
// upright by its own command ("cos", "lim", "mod"): a formula, not a word.
bool NamesFunction(const std::string& spelling)
{
    const int index = TheNameTable().Find(spelling.c_str());
    const BuiltinName* entry = NameTable::Entry(index);
    return entry && NameTable::IsUpright(index) && entry->tex && entry->tex[0] == '\\' &&
        std::strncmp(entry->tex, "\\mbox", 5) != 0 && std::strncmp(entry->tex, "\\mathrm", 7) != 0;
}

bool IsLetterOrDigit(const TextComp& comp)
{
    return comp.Tag() == tag_Char && QChar::isLetterOrNumber(MathRunText::Shown(comp));
}

bool IsDigitAt(const CompList& row, int i)
{
    const TextComp* comp = row.GetAt(i);
    return comp && comp->Tag() == tag_Char && QChar::isDigit(MathRunText::Shown(*comp));
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

// Letters, digits, blanks and punctuation (and, with `signs`, any other
// character), parted by a blank, a punctuation mark or a sign, with a word
// of two letters or more that names no function: what a sentence typed in
// the mathematics face leaves.
bool IsWords(const CompList& row, int first, int end, bool signs)
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
        if (QChar::isSpace(ch) || QChar::isPunct(ch) || (signs && !QChar::isDigit(ch)))
            parted = true;
        else if (!QChar::isDigit(ch))
            return false;
    }
    endWord();
    return parted && word;
}

// Whether components [first, end) read as one expression, references as the
// text they show. The syntax-error flag is left as it was.
bool Parses(const CompList& row, int first, int end)
{
    struct KeptFlag {
        bool flagged = gSyntaxError;
        ~KeptFlag() { gSyntaxError = flagged; }
    } kept;
    gSyntaxError = false;
    ShownReferences shown;
    // Reading builds nodes of the components and changes none of them.
    std::unique_ptr<ExprNode> node(MathParser(const_cast<CompList&>(row), first, end).ParseTokens());
    return node && !gSyntaxError;
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
            runs.push_back(TextRun(i, i + 1));
        else if (!runs.empty() && runs.back().kind != Kind::kObject && runs.back().style == style)
            runs.back().end = i + 1;
        else
            runs.push_back({style == RowRuns::kMath ? Kind::kFormula : Kind::kText, style, i, i + 1});
    }
    return runs;
}

// ---- formulas in a sentence ----

// What a component is to the search for words in a run.
enum class Mark { kLetter, kDigit, kBlank, kClause, kOpening, kClosing, kPunctuation, kSign, kStructure };

Mark MarkAt(const CompList& row, int i)
{
    const TextComp& comp = *row.GetAt(i);
    if (comp.Tag() != tag_Char)
        return Mark::kStructure;
    const char32_t ch = MathRunText::Shown(comp);
    if (QChar::isLetter(ch))
        return Mark::kLetter;
    // The point of a number ("3.5") is one of its digits.
    if (QChar::isDigit(ch) || (ch == U'.' && IsDigitAt(row, i - 1) && IsDigitAt(row, i + 1)))
        return Mark::kDigit;
    if (QChar::isSpace(ch))
        return Mark::kBlank;
    if (ch < 128 && std::strchr(".,;:!?", char(ch)))
        return Mark::kClause;
    switch (QChar::category(ch)) {
    case QChar::Punctuation_Open:
    case QChar::Punctuation_InitialQuote: return Mark::kOpening;
    case QChar::Punctuation_Close:
    case QChar::Punctuation_FinalQuote: return Mark::kClosing;
    default: return QChar::isPunct(ch) ? Mark::kPunctuation : Mark::kSign;
    }
}

bool IsAnyOf(Mark mark, std::initializer_list<Mark> marks)
{
    return std::find(marks.begin(), marks.end(), mark) != marks.end();
}

// The stretches of components [first, end) that are words. Each starts at
// the blanks, clause marks or opening bracket before a word that stands
// free (between blanks or punctuation, not against a sign, a digit or a
// structure as "bx" in "+bx+c" and "ac" in "4ac"), goes on over the words,
// letters, digits and punctuation after it, and ends with the blanks, clause
// marks or closing brackets after its last free word; a letter against a
// structure ("r" before its exponent) is left to the formula.
std::vector<std::pair<int, int>> WordStretches(const CompList& row, int first, int end)
{
    std::vector<Mark> marks;
    for (int i = first; i < end; ++i)
        marks.push_back(MarkAt(row, i));
    const auto mark = [&](int i) { return marks[std::size_t(i - first)]; };
    const auto breaks = [&](int i) { return IsAnyOf(mark(i), {Mark::kSign, Mark::kStructure}); };
    const auto freeAt = [&](int i) {
        return i < first || i >= end || !IsAnyOf(mark(i), {Mark::kLetter, Mark::kDigit, Mark::kSign, Mark::kStructure});
    };
    std::vector<std::pair<int, int>> stretches;
    for (int i = first; i < end;) {
        int j = i;
        while (j < end && !breaks(j))
            ++j;
        int firstWord = 0;
        int lastWordEnd = 0;
        for (int p = i; p < j;) {
            int q = p;
            std::string letters;
            while (q < j && mark(q) == Mark::kLetter)
                letters += char(row.GetAt(q++)->GetChar());
            if (letters.size() >= 2 && !NamesFunction(letters) && freeAt(p - 1) && freeAt(q)) {
                firstWord = firstWord ? firstWord : p;
                lastWordEnd = q;
            }
            p = std::max(q, p + 1);
        }
        if (firstWord) {
            int from = firstWord;
            while (from > i && IsAnyOf(mark(from - 1), {Mark::kBlank, Mark::kClause, Mark::kOpening}))
                --from;
            int to = lastWordEnd;
            while (to < j && IsAnyOf(mark(to), {Mark::kBlank, Mark::kClause, Mark::kClosing}))
                ++to;
            stretches.emplace_back(from, to);
        }
        i = std::max(j, i + 1);
    }
    return stretches;
}

// Where a formula that starts with a script starts: the script's base is
// the letters or digits typed right before it ("ax" in a text face, then
// its exponent), which the screen sets as one formula with the script.
int BaseStart(const CompList& row, const std::vector<Run>& before, int first)
{
    const TypeTag tag = row.GetAt(first)->Tag();
    if ((tag != tag_Expo && tag != tag_Subs) || before.empty() || before.back().kind != Kind::kText ||
        before.back().end != first)
        return first;
    int from = first;
    while (from > before.back().first && IsLetterOrDigit(*row.GetAt(from - 1)))
        --from;
    return from;
}

// The end of the part of components [first, end) that reads as a formula:
// before the clause marks that end it when the rest reads ("x=2." is x=2
// and a period), else the end; 0 when neither reads. Blanks read as an
// empty formula.
int FormulaEnd(const CompList& row, int first, int end)
{
    int core = end;
    while (core > first && IsAnyOf(MarkAt(row, core - 1), {Mark::kBlank, Mark::kClause}))
        --core;
    if (core > first && core < end && !MathRunText::IsBlank(row, first, core) && Parses(row, first, core))
        return core;
    return MathRunText::IsBlank(row, first, end) || Parses(row, first, end) ? end : 0;
}

// Whether components [first, end) end with a clause mark, blanks aside.
bool EndsWithClauseMark(const CompList& row, int first, int end)
{
    while (end > first && MarkAt(row, end - 1) == Mark::kBlank)
        --end;
    return end > first && MarkAt(row, end - 1) == Mark::kClause;
}

// A formula up to formulaEnd, the blanks around it and the marks after it
// (up to end) left to the text.
void AddFormula(const CompList& row, int first, int formulaEnd, int end, std::vector<Run>& out)
{
    const auto [from, to] = MathRunText::WithoutOuterBlanks(row, first, formulaEnd);
    if (from > first)
        out.push_back(TextRun(first, from));
    out.push_back(FormulaRun(from, to));
    if (to < end)
        out.push_back(TextRun(to, end));
}

// A run of the mathematics face in a sentence, read as the screen shows it:
// text when it reads as words or punctuation; otherwise its stretches of
// words are text and the rest formulas ("ax", exponent 2, "+bx+c=0. Its
// roots are", "r", exponent 2), the first taking the letters before a
// leading script as its base. A formula that does not read takes the words
// after it and the formula after them in, until it reads; words with signs
// that read as no formula ("→ done") are text. What still does not read is
// a formula, which the formats that read formulas refuse. A run that can be
// nothing but one formula is not read here: the formats read it anyway.
void AddRunOfSentence(const CompList& row, const Run& run, std::vector<Run>& out)
{
    if (RowRuns::IsText(row, run.first, run.end)) {
        out.push_back(TextRun(run.first, run.end));
        return;
    }
    std::vector<Run> pieces;
    int from = BaseStart(row, out, run.first);
    for (const auto& [stretchFirst, stretchEnd] : WordStretches(row, run.first, run.end)) {
        if (from < stretchFirst)
            pieces.push_back(FormulaRun(from, stretchFirst));
        pieces.push_back(TextRun(stretchFirst, stretchEnd));
        from = stretchEnd;
    }
    if (from < run.end)
        pieces.push_back(FormulaRun(from, run.end));
    const bool sentence = IsWords(row, run.first, run.end, true);
    if (pieces.size() == 1 && pieces.front().first == run.first && !sentence &&
        !EndsWithClauseMark(row, run.first, run.end)) {
        AddFormula(row, run.first, run.end, run.end, out);
        return;
    }
    // Where each formula that reads ends; 0 for one that does not.
    std::vector<int> ends;
    bool reads = true;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        ends.push_back(pieces[k].IsFormula() ? FormulaEnd(row, pieces[k].first, pieces[k].end) : 0);
        // Pieces alternate: text between two formulas. A formula never
        // takes the words after it without the formula that follows them.
        while (pieces[k].IsFormula() && !ends[k] && k + 2 < pieces.size()) {
            pieces[k].end = pieces[k + 2].end;
            pieces.erase(pieces.begin() + std::ptrdiff_t(k) + 1, pieces.begin() + std::ptrdiff_t(k) + 3);
            ends[k] = FormulaEnd(row, pieces[k].first, pieces[k].end);
        }
        reads = reads && (!pieces[k].IsFormula() || ends[k]);
    }
    if (!reads && sentence) {
        out.push_back(TextRun(run.first, run.end));
        return;
    }
    // The base goes with a formula that reads; one that does not is shown
    // as it was typed.
    if (pieces.front().first < run.first && !ends.front())
        pieces.front().first = run.first;
    if (pieces.front().first < run.first) {
        out.back().end = pieces.front().first;
        if (out.back().first == pieces.front().first)
            out.pop_back();
    }
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const Run& piece = pieces[k];
        if (piece.IsFormula() && !MathRunText::IsBlank(row, piece.first, piece.end))
            AddFormula(row, piece.first, ends[k] ? ends[k] : piece.end, piece.end, out);
        else
            out.push_back(TextRun(piece.first, piece.end));
    }
}

// In a sentence, the mathematics face is read as above, a run at a time.
std::vector<Run> TextOfSentence(const CompList& row, const std::vector<Run>& runs)
{
    std::vector<Run> out;
    for (const Run& run : runs) {
        if (run.IsFormula())
            AddRunOfSentence(row, run, out);
        else
            out.push_back(run);
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

// ---- rows of mathematics ----

// Whether the row's only pieces besides its formulas are references, and
// the whole of it reads as one formula with them as its terms ("y=(1)+2").
bool ReferencesAreTerms(const CompList& row, const std::vector<Run>& runs, int first, int end)
{
    bool references = false;
    for (const Run& run : runs) {
        if (run.kind == Kind::kObject || (run.kind == Kind::kText && row.GetAt(run.first)->Tag() != tag_Ref))
            return false;
        references = references || run.kind == Kind::kText;
    }
    return references && Parses(row, first, end);
}

// A formula cut at its stretches of text faces that are words, each
// stretch as text runs of its faces' styles.
std::vector<Run> WordsOfFormula(const CompList& row, const Run& formula)
{
    const auto isText = [&row](int i) { return RowRuns::StyleOf(*row.GetAt(i)) != RowRuns::kMath; };
    std::vector<Run> parts;
    int from = formula.first;
    for (int i = formula.first; i < formula.end;) {
        int stretchEnd = i;
        while (stretchEnd < formula.end && isText(stretchEnd))
            ++stretchEnd;
        if (stretchEnd == i || !IsWords(row, i, stretchEnd, false)) {
            i = std::max(stretchEnd, i + 1);
            continue;
        }
        if (from < i)
            parts.push_back(FormulaRun(from, i));
        for (int k = i; k < stretchEnd; ++k) {
            const int style = RowRuns::StyleOf(*row.GetAt(k));
            if (parts.empty() || parts.back().kind != Kind::kText || parts.back().style != style ||
                parts.back().end != k)
                parts.push_back(TextRun(k, k + 1, style));
            else
                parts.back().end = k + 1;
        }
        from = i = stretchEnd;
    }
    if (from < formula.end)
        parts.push_back(FormulaRun(from, formula.end));
    return parts;
}

// In a row of mathematics, words set in a text face (Format > Plain) are
// text, as long as the formulas between them still read ("y=2" then
// " for all n."); otherwise the formula stays whole.
std::vector<Run> WithWordsAsText(const CompList& row, const std::vector<Run>& runs)
{
    std::vector<Run> out;
    for (const Run& run : runs) {
        std::vector<Run> parts = run.IsFormula() ? WordsOfFormula(row, run) : std::vector<Run>();
        bool reads = parts.size() > 1;
        for (const Run& part : parts)
            reads = reads &&
                (!part.IsFormula() || MathRunText::IsBlank(row, part.first, part.end) ||
                 Parses(row, part.first, part.end));
        if (reads)
            out.insert(out.end(), parts.begin(), parts.end());
        else
            out.push_back(run);
    }
    return out;
}

std::vector<Run> SplitMathRow(const CompList& row, int first, int end)
{
    std::vector<Run> runs = Pieces(row, first, end, false);
    if (ReferencesAreTerms(row, runs, first, end))
        return {FormulaRun(first, end)};
    runs = WithWordsAsText(row, runs);
    for (const Run& run : runs)
        if (run.kind == Kind::kText)
            return Resolved(TextOfSentence(row, runs), RowRuns::kPlain);
    return runs;
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
    return IsSignsAndPunctuation(row, first, end) || IsWords(row, first, end, false);
}

std::vector<Run> RowRuns::Split(const CompList& row, int first, int end, int outerStyle)
{
    if (outerStyle != kMath)
        return Resolved(TextOfSentence(row, Pieces(row, first, end, true)), outerStyle);
    return SplitMathRow(row, first, end);
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
