#pragma once
// What a paragraph, its label and the layout ask of its paragraph style:
// fonts, size step, line height and spacing, indents, the laying out and
// placing of its lines, and the numbering (counter steps, label and
// reference texts). The eleven styles are shared objects held by the
// StyleTable; paragraphs never delete them. The operations that are not pure
// answer what the plain paragraph style answers.
#include "foundation/IntPoint.h"

class EquationLabel;
class ParagraphComp;
class Str255;
struct EquationNumber;

class ParagraphStyle {
public:
    virtual ~ParagraphStyle() = default;

    // 0 title, 1 numbered section, 2 heading, 3 plain, 4 numbered paragraph,
    // 5 equation, 6 numbered equation, 7 source code, 8 itemized,
    // 9 sub-enumerated, 10 sub-itemized.
    virtual int GetKind() const = 0;
    // The font id of the paragraph's text.
    virtual int GetFontId() const = 0;
    // The font id of the number label.
    virtual int GetLabelFontId() const { return GetFontId(); }
    // The size step given to the paragraph's row.
    virtual signed char GetSizeStep(const ParagraphComp* paragraph) const = 0;
    // Minimum distance from one baseline to the next, in device units.
    virtual int GetLineHeight() const { return 0; }
    // Space above the first line (previous: the paragraph before, or null).
    virtual int GetSpaceAbove(const ParagraphComp* previous) const { return 0; }
    virtual int GetSpaceBelow() const { return 0; }
    // Indent of the first line and of the following lines.
    virtual int GetFirstIndent(const ParagraphComp& paragraph) const { return 0; }
    virtual int GetIndent(const ParagraphComp& paragraph) const { return 0; }
    // Builds the paragraph's lines between the horizontal bounds (previous:
    // the paragraph before it, null for the first).
    virtual void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) = 0;
    // Positions the lines at the point and sets the paragraph's bounds.
    virtual void Place(ParagraphComp& paragraph, const IntPoint& point) = 0;
    // A new number label for numbered styles; null otherwise.
    virtual EquationLabel* MakeLabel(ParagraphComp& paragraph) = 0;
    // Advances the counters for a paragraph of this style.
    virtual void CounterStep(EquationNumber& counters) const = 0;
    // The label text and the text of a reference for the counters (bracket:
    // "[" and "]" instead of "(" and ")").
    virtual void LabelText(const EquationNumber& counters, Str255& out) const;
    virtual void ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const;
    // Whether a position entering the paragraph goes to the end of its row,
    // and the row index at which the caret enters.
    virtual bool CaretAtEnd() const { return false; }
    virtual int GetEntryIndex(const ParagraphComp& paragraph) const { return 1; }
    // The style kind of a new paragraph started after this one.
    virtual int GetNextStyle() const { return GetKind(); }
    // Whether the line layout merges spaces into the preceding word.
    virtual bool MergesSpaces() const { return true; }
    // The space between a label and the text (labelled styles).
    virtual int GetLabelGap() const { return 0; }
};
