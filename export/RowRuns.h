#pragma once
// How every export divides a row of components: into runs of text in one
// character style, formulas, and drawings that stand between them. The
// writers (LaTeX, XHTML and MathML, HTML, notebooks, the MathML copy) read
// this one division, so that each format shows the same sentence.
//
// Characters belong to the run of their face's style. Links, references and
// value displays show text: they continue the text run they stand in, and
// after a formula (or first in a row of mathematics) start one in the
// place's text style. A drawing is a run of its own.
//
// In a text paragraph's row the mathematics face (which typing goes on in
// after a structure or a symbol of the palette) is read as the screen shows
// it: a run of it that holds only blanks, punctuation and one sign at most,
// or words (letters, digits, blanks and punctuation with a word that names
// no function), is text in the style of the text before it; otherwise its
// stretches of free words are text and what lies between them formulas,
// the first taking the letters typed before a leading script as its base,
// each leaving its blanks and closing punctuation to the text. A formula
// that does not read takes the next words and formula in until it reads;
// words with signs that never read ("→ done") are text. A row of
// mathematics is formulas between its drawings, whatever faces its
// characters carry, except that words set in a text face are text where
// the formulas around them still read; one that holds a link, a reference
// or a value display is a sentence, and its parts between them are read as
// above, unless it holds only references and reads whole with them as the
// text they show ("y=(1)+2"). Formulas are read as the exports read them
// (see ShownReferences).
#include <vector>

class CompList;
class TableComp;
class TextComp;

class RowRuns {
public:
    // Character styles, as the components' faces fold them.
    enum Style : int { kPlain = 0, kItalic = 1, kBold = 2, kMath = 3, kCode = 4 };
    enum class Kind { kText, kFormula, kObject };

    struct Run {
        Kind kind = Kind::kText;
        int style = kPlain; // a text run's style; kMath for formulas and objects
        int first = 0;      // the run is components [first, end) of the row, 1-based
        int end = 0;
        bool IsFormula() const { return kind == Kind::kFormula; }
    };

    // The runs of components [first, end) of the row; outerStyle is the
    // style of the place the row stands in: a text style for a text
    // paragraph's row, kMath for equations and the rows inside structures.
    static std::vector<Run> Split(const CompList& row, int first, int end, int outerStyle);
    static std::vector<Run> Split(const CompList& row, int outerStyle);

    // Whether the runs are one formula (or nothing): the row is written as
    // a formula, as it always was.
    static bool IsOneFormula(const std::vector<Run>& runs);

    // The style of a component's face: the companion faces count as the
    // styles they stand for; structures are mathematics.
    static int StyleOf(const TextComp& comp);
    // Links, references and value displays.
    static bool ShowsText(const TextComp& comp);

    // The table that components [first, end) are, when a cell of it is a
    // sentence (the parser reads no sentence: a writer sets such a table out
    // cell by cell); else null.
    static TableComp* TableOfSentences(const CompList& row, int first, int end);

    // Whether components [first, end) read as text, not as a formula: only
    // blanks, punctuation and one sign at most, or words.
    static bool IsText(const CompList& row, int first, int end);
};
