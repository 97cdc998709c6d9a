#pragma once
// One math or object component of a row. The item takes the component's
// bounds and places, draws and hit-tests the component through it.
#include "foundation/Layout.h"

class StructLayout : public Layout {
public:
    StructLayout(TextComp* comp, int32_t index) : Layout(index), m_comp(comp) {}

    // Measures the component when it needs layout (the item then counts as
    // changed once) and takes its bounds.
    void Measure() override;
    void MoveTo(const IntPoint& p) override;
    void MoveBy(const IntPoint& p) override;
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override;
    // The component's box; the place after the component (the end of a line
    // broken after it) is an empty box at the component's right edge.
    void GetAbsRect(int32_t index, Rect& out) const override;
    TextComp* ComponentAt(const IntPoint& point) override;
    void Draw() override;
    bool IsEqual(const Layout& other) const override;
    void GetTag(TypeTag& out) const override { out = tag_strL; }

    TextComp* GetComponent() const { return m_comp; }

private:
    TextComp* m_comp;
    mutable uint8_t m_changed = 0;
};
