#pragma once
// Characters of the mathematics face read as text: what the exports write
// for the parts of a row that the division into runs (see RowRuns) takes
// as text, and the blanks that a formula leaves around it.
#include <utility>

class CompList;
class TextComp;

namespace MathRunText {

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
