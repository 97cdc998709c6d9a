#pragma once
// What a paragraph asks of its style: fonts, size step, numbering and the
// laying out and placing of its lines. The eleven styles are shared objects
// held by the StyleTable; paragraphs never delete them.
#include "foundation/IntPoint.h"

class EquationLabel;
class ParagraphComp;
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
    // The size step given to the paragraph's row.
    virtual signed char GetSizeStep(const ParagraphComp* paragraph) const = 0;
    // Builds the paragraph's lines between the horizontal bounds (previous:
    // the paragraph before it, null for the first).
    virtual void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) = 0;
    // Positions the lines at the point and sets the paragraph's bounds.
    virtual void Place(ParagraphComp& paragraph, const IntPoint& point) = 0;
    // A new number label for numbered styles; null otherwise.
    virtual EquationLabel* MakeLabel(ParagraphComp& paragraph) = 0;
    // Advances the counters for a paragraph of this style.
    virtual void CounterStep(EquationNumber& counters) const = 0;
};
