#pragma once
// A run of up to 31 blanks (code 32) of one font. Blanks draw nothing; the
// run gives the line its stretchable width and its break opportunities.
#include "foundation/Layout.h"

class CompList;

class SpaceLayout : public Layout {
public:
    static constexpr int kMaxCount = 31;

    SpaceLayout(CompList* row, int32_t index, int fontId);

    bool CanAppend(unsigned char code, int fontId) override;
    bool IsBlankRun() const override { return true; }
    void Measure() override;
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    bool ContainsIndex(int32_t index) const override { return index >= GetStartIndex() && index < EndIndex(); }
    void GetAbsRect(int32_t index, Rect& out) const override;
    int32_t ContentRight() const override { return m_offset.x + m_count * UnitWidth(); }
    void GetTag(TypeTag& out) const override { out = tag_spcL; }
    int32_t EndIndex() const override { return GetStartIndex() + m_count; }

    int GetCount() const { return m_count; }
    int GetFontId() const { return m_fontId; }

protected:
    virtual unsigned char Code() const { return ' '; }
    // How many blank widths one character of the run takes.
    virtual int WidthFactor() const { return 1; }
    // The width of one character of the run.
    int UnitWidth() const;
    // 0..count: the characters left of x, the nearer side of the one under it.
    int CaretIndexAt(int x) const;

    CompList* m_row;
    int32_t m_count = 1;
    int m_fontId;
};

// A run of tabs (code 9); each tab is as wide as two blanks.
class TabLayout : public SpaceLayout {
public:
    using SpaceLayout::SpaceLayout;

    void GetTag(TypeTag& out) const override { out = tag_tabL; }

protected:
    unsigned char Code() const override { return 9; }
    int WidthFactor() const override { return 2; }
};
