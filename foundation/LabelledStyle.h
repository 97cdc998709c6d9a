#pragma once
// Styles with a number label or bullet before the first line: the label
// stands in a column of its own, one label gap before the text, and every
// line of the text starts at the first indent.
#include "foundation/PlainParagraphStyle.h"
#include "foundation/StyleKinds.h"

class LabelledStyle : public PlainParagraphStyle {
public:
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kHead); }
    int GetSpaceBelow() const override { return Scaled(kHead); }
    int GetIndent(const ParagraphComp& paragraph) const override { return GetFirstIndent(paragraph); }
    // List styles lay out up to the page height (the list indent stays free
    // on the right).
    void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) override;
    void Place(ParagraphComp& paragraph, const IntPoint& point) override;
    bool MergesSpaces() const override { return true; }
    // Two size units at the style's size step.
    int GetLabelGap() const override;

protected:
    int SizeUnits(int count) const;
};

// A numbered section (kind 1): bold at size step -1, the label "n" at the
// paragraph's left edge.
class SectionStyle : public LabelledStyle {
public:
    int GetKind() const override { return StyleKind::kSection; }
    int GetFontId() const override { return 2; }
    signed char GetSizeStep(const ParagraphComp*) const override { return -1; }
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kSection); }
    int GetSpaceBelow() const override { return Scaled(kSection); }
    // The width of the paragraph's label plus the label gap.
    int GetFirstIndent(const ParagraphComp& paragraph) const override;
    void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) override;
    EquationLabel* MakeLabel(ParagraphComp& paragraph) override;
    void CounterStep(EquationNumber& counters) const override;
    void LabelText(const EquationNumber& counters, Str255& out) const override;
    void ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const override;
    int GetNextStyle() const override { return 3; }
    int GetLabelGap() const override { return SizeUnits(1); }
};

// An enumerated paragraph (kind 4): "n." one list indent in.
class NumberedParagraphStyle : public LabelledStyle {
public:
    int GetKind() const override { return StyleKind::kNumbered; }
    int GetFontId() const override { return 0; }
    int GetFirstIndent(const ParagraphComp&) const override { return ListIndent(); }
    EquationLabel* MakeLabel(ParagraphComp& paragraph) override;
    void CounterStep(EquationNumber& counters) const override;
    void LabelText(const EquationNumber& counters, Str255& out) const override;
    void ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const override;
};

// A sub-enumerated paragraph (kind 9): "n.m." one and a half list indents in.
class SubEnumeratedParagraphStyle : public NumberedParagraphStyle {
public:
    int GetKind() const override { return StyleKind::kSubEnumerated; }
    int GetFirstIndent(const ParagraphComp&) const override { return 3 * ListIndent() / 2; }
    void CounterStep(EquationNumber& counters) const override;
    void LabelText(const EquationNumber& counters, Str255& out) const override;
    void ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const override;
};

// An itemized paragraph (kind 8): a bullet (code 0x95) in the bold face,
// drawn straight from the style (no label object).
class ItemizedParagraphStyle : public LabelledStyle {
public:
    int GetKind() const override { return StyleKind::kItemized; }
    int GetFontId() const override { return 0; }
    int GetLabelFontId() const override { return 2; }
    int GetFirstIndent(const ParagraphComp&) const override { return ListIndent(); }
    EquationLabel* MakeLabel(ParagraphComp&) override { return nullptr; }
    void LabelText(const EquationNumber& counters, Str255& out) const override;
};

// A sub-itemized paragraph (kind 10): a dash one and a half list indents in.
class SubItemizedParagraphStyle : public ItemizedParagraphStyle {
public:
    int GetKind() const override { return StyleKind::kSubItemized; }
    int GetFirstIndent(const ParagraphComp&) const override { return 3 * ListIndent() / 2; }
    void LabelText(const EquationNumber& counters, Str255& out) const override;
};
