#pragma once
// A numbered equation (kind 6): the equation is centred in the band that
// leaves the list indent free on both sides, and its number "(n)", counted
// over the whole document, stands in the last list indent of the first line.
#include "foundation/PlainParagraphStyle.h"
#include "foundation/StyleKinds.h"

class NumberedEquationStyle : public PlainParagraphStyle {
public:
    int GetKind() const override { return StyleKind::kNumberedEquation; }
    int GetFontId() const override { return 3; }
    int GetLabelFontId() const override { return 0; }
    signed char GetSizeStep(const ParagraphComp* paragraph) const override { return LargerStep(paragraph); }
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kHead); }
    int GetSpaceBelow() const override { return Scaled(kHead); }
    void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) override;
    void Place(ParagraphComp& paragraph, const IntPoint& point) override;
    EquationLabel* MakeLabel(ParagraphComp& paragraph) override;
    void CounterStep(EquationNumber& counters) const override;
    void LabelText(const EquationNumber& counters, Str255& out) const override;
    void ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const override;
    bool CaretAtEnd() const override { return true; }
    int GetEntryIndex(const ParagraphComp& paragraph) const override;
    bool MergesSpaces() const override { return true; }
};
