#pragma once
// What the component model asks of the LaTeX export writer: the document
// frame, rows, and the opening and closing of each paragraph style. The
// export subsystem implements it (and the TechExplorer writer on it).
#include <cstdint>
#include <string_view>

class CompList;
class EquationLabel;
class TextComp;

// Where a piece of document text stands: read as text or as mathematics.
enum class LaTeXPlace { kText, kMath };

class LaTeXWriter {
public:
    virtual ~LaTeXWriter() = default;

    // The document start, with the page numbering of the display record.
    virtual void BeginDocument(bool numberPages, int16_t firstPage) = 0;
    // Closes open lists and verbatim, writes the document end and flushes.
    virtual void WriteEnd() = 0;

    // A row in one of the writer's modes.
    virtual void BeginRow(int mode) = 0;
    virtual void EndRow(int mode) = 0;
    // Markup the component writes itself; never text from the document.
    virtual void WriteString(const char* text) = 0;
    // Text from the document (bytes of the stored character set): the
    // writer escapes every byte for the place it stands in, so that no text
    // can become markup.
    virtual void WriteText(std::string_view bytes, LaTeXPlace place) = 0;
    // One component of a row: a character with font switching, a structure
    // through its own WriteLaTeX.
    virtual void WriteChar(TextComp& comp, bool align) = 0;
    // A row whose components come next, one by one and in order, through
    // WriteChar, so that the writer can look ahead along it: a paragraph's
    // row, or a row inside a structure (within BeginRow and EndRow). Rows
    // nest; LeaveRow ends the innermost.
    virtual void EnterRow(const CompList& row) { (void)row; }
    virtual void LeaveRow() {}

    virtual void BeginTitle() = 0;
    virtual void EndTitle() = 0;
    virtual void BeginSection(EquationLabel* label) = 0;
    virtual void EndSection(EquationLabel* label) = 0;
    virtual void BeginHeading() = 0;
    virtual void EndHeading() = 0;
    // noIndent: the paragraph starts with a space or a tab.
    virtual void BeginParagraph(bool noIndent) = 0;
    virtual void BeginEnumeratedItem(EquationLabel* label) = 0;
    virtual void EndEnumeratedItem(EquationLabel* label) = 0;
    virtual void BeginDisplayMath() = 0;
    virtual void EndDisplayMath() = 0;
    virtual void BeginNumberedEquation(EquationLabel* label) = 0;
    virtual void EndNumberedEquation(EquationLabel* label) = 0;
    virtual void BeginVerbatim() = 0;
    virtual void NewLine() = 0;
    virtual void BeginItemizedItem() = 0;
    virtual void BeginSubEnumeratedItem(EquationLabel* label) = 0;
    virtual void EndSubEnumeratedItem(EquationLabel* label) = 0;
    virtual void BeginSubItemizedItem() = 0;
    // Ends a plain, itemized or sub-itemized paragraph.
    virtual void EndItem() = 0;
    // An equation array stands in an open list; a paragraph that ends the
    // list's count first ends the lists.
    virtual void EndLists() {}
    virtual void BeginEqnarray() = 0;
    virtual void EndEqnarray() = 0;
};
