#pragma once
// The number label of a paragraph, placed on its first line: the text of the
// paragraph's EquationLabel, or for the itemized styles (which have no label
// object) the style's label text of all-zero counters. Measured and drawn at
// size step 0 in the style's label font.
#include "foundation/Layout.h"
#include "foundation/Str255.h"

class ParagraphComp;

class LabelLayout : public Layout {
public:
    // The row position is 0: the label stands before the row's first place.
    explicit LabelLayout(ParagraphComp& paragraph);

    void Measure() override;
    void MoveTo(const IntPoint& p) override;
    void MoveBy(const IntPoint& p) override;
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override;
    void Draw() override;
    bool IsLabel() const override { return true; }
    bool ContainsIndex(int32_t) const override { return false; }
    void GetTag(TypeTag& out) const override { out = tag_labl; }

    const Str255& GetText() const { return m_text; }

private:
    void PlaceLabel();

    // The label is asked of the paragraph each time: a change of style
    // replaces it while these items may still be placed once more.
    ParagraphComp& m_paragraph;
    Str255 m_text;
};
