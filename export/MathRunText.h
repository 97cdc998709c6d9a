#pragma once
// Runs of the mathematics face inside text that the user did not mean as a
// formula. Typing continues in the face of the component before the caret,
// so a blank typed after a link, a period after a reference or a lone arrow
// in a sentence lands in the mathematics face. The writers set such a run as
// the text around it, blanks kept, instead of reading it as an expression
// (which it is not, and whose failure would refuse the whole export); the
// blanks typed around a formula in text stay text too.
#include <functional>
#include <utility>

class CompList;
class TextComp;

namespace MathRunText {

// Links, references and value displays: text wherever they stand.
bool IsTextStructure(const TextComp& comp);

// Whether components [first, end) of the row (1-based) are text: they hold
// only blanks, punctuation, links, references and value displays, or
// besides blanks a single sign that is neither a letter nor a digit. Any
// other structure, letter or digit makes them a formula.
bool IsText(const CompList& row, int first, int end);

// A run of mathematics inside text: the components from its first on that
// the writer's test takes, up to end. Of them [formulaFrom, formulaTo) are
// written as a formula and the rest as the text around it: the blanks
// around a formula (which mathematics would swallow, running the words
// beside it together), or the whole run when it is no formula.
struct Run {
    int formulaFrom = 0;
    int formulaTo = 0;
    int end = 0;
    bool Holds(int index) const { return index < end; }
    bool IsFormula(int index) const { return index >= formulaFrom && index < formulaTo; }
};
Run SplitRun(const CompList& row, int first, const std::function<bool(const TextComp&)>& inRun);

// The character a character component shows, read in its own face's set.
char32_t Shown(const TextComp& comp);

// The character's code in the text faces' set when they hold it (so that it
// joins a text run's bytes), else -1.
int TextCode(const TextComp& comp);

// The range [first, end) without the blanks at either end, so that a
// selection of it shows; the whole range when it holds nothing else.
std::pair<int, int> WithoutOuterBlanks(const CompList& row, int first, int end);

// Whether every component of [first, end) is a blank character.
bool IsBlank(const CompList& row, int first, int end);

} // namespace MathRunText
