#pragma once
// The plain paragraph style (kind 3) and the root of the style classes: it
// answers every style operation; the other styles override what differs.
// Sizes come from tables by the base size level (0..9) in points, converted
// to device units by the vertical resolution / 72.
#include "foundation/ParagraphStyle.h"
#include "foundation/StyleKinds.h"

#include <array>

class PlainParagraphStyle : public ParagraphStyle {
public:
    using SizeTable = std::array<int, 10>;
    static constexpr SizeTable kLine = {34, 30, 26, 24, 20, 18, 16, 13, 12, 11};
    static constexpr SizeTable kCodeLine = {32, 28, 24, 22, 18, 16, 14, 11, 10, 9};
    static constexpr SizeTable kPlain = {11, 10, 8, 8, 7, 6, 5, 4, 4, 4};
    static constexpr SizeTable kHead = {17, 15, 13, 12, 10, 9, 8, 7, 6, 5};
    static constexpr SizeTable kSection = {19, 17, 15, 14, 12, 10, 9, 8, 7, 6};
    static constexpr SizeTable kTitle = {34, 30, 26, 24, 20, 18, 16, 14, 12, 10};
    static constexpr SizeTable kCode = {6, 5, 4, 4, 4, 3, 3, 2, 2, 2};

    // A table value at the drawing context's base size level, in device units.
    static int Scaled(const SizeTable& table);
    // The list indent: page width minus page height of the drawing context.
    static int ListIndent();

    int GetKind() const override { return StyleKind::kPlain; }
    int GetFontId() const override { return 0; }
    signed char GetSizeStep(const ParagraphComp*) const override { return 0; }
    int GetLineHeight() const override { return Scaled(kLine); }
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kPlain); }
    int GetSpaceBelow() const override { return Scaled(kPlain); }
    void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) override;
    void Place(ParagraphComp& paragraph, const IntPoint& point) override;
    EquationLabel* MakeLabel(ParagraphComp&) override { return nullptr; }
    // Items restart after any paragraph that is not list material.
    void CounterStep(EquationNumber& counters) const override;
    bool MergesSpaces() const override { return false; }

protected:
    // The size step of the equation styles: -1 when the paragraph's document
    // shows larger equations.
    static signed char LargerStep(const ParagraphComp* paragraph);
};

// The heading style (kind 2): bold, justified, followed by plain paragraphs.
class HeadingStyle : public PlainParagraphStyle {
public:
    int GetKind() const override { return StyleKind::kHeading; }
    int GetFontId() const override { return 2; }
    int GetSpaceAbove(const ParagraphComp*) const override { return Scaled(kHead); }
    int GetSpaceBelow() const override { return Scaled(kHead); }
    int GetNextStyle() const override { return 3; }
};
