#pragma once
// Styles whose lines are centred on the page: the title (kind 0) and the
// plain equation (kind 5).
#include "foundation/PlainParagraphStyle.h"
#include "foundation/StyleKinds.h"

class CentredStyle : public PlainParagraphStyle {
public:
    void Place(ParagraphComp& paragraph, const IntPoint& point) override;
};

// The title: bold at size step -4, followed by plain paragraphs.
class TitleStyle : public CentredStyle {
public:
    int GetKind() const override { return StyleKind::kTitle; }
    int GetFontId() const override { return 2; }
    signed char GetSizeStep(const ParagraphComp*) const override { return -4; }
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kTitle); }
    int GetSpaceBelow() const override { return Scaled(kTitle); }
    bool MergesSpaces() const override { return true; }
    int GetNextStyle() const override { return 3; }
};

// A displayed equation in the mathematics face; it changes no counter, so
// a list goes on after it.
class EquationStyle : public CentredStyle {
public:
    int GetKind() const override { return StyleKind::kEquation; }
    int GetFontId() const override { return 3; }
    signed char GetSizeStep(const ParagraphComp* paragraph) const override { return LargerStep(paragraph); }
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kHead); }
    int GetSpaceBelow() const override { return Scaled(kHead); }
    void CounterStep(EquationNumber&) const override {}
    bool MergesSpaces() const override { return true; }
};
