#pragma once
// Opens a line of a laid-out paragraph: it records the row position of the
// line's first item, stands for the line's indent (its width) and, once the
// line is built, spans the line's top and bottom and keeps the line's total
// width (indent plus the widths of the line's items).
#include "foundation/Layout.h"

class CompList;

class LineLayout : public Layout {
public:
    LineLayout(CompList* row, int32_t index) : Layout(index), m_row(row) {}

    bool IsLine() const override { return true; }
    // The box of a blank in the paragraph's font at the current size, as wide
    // as the style's indent (first-line indent for the line starting at 1).
    void Measure() override;
    // A click in the indent puts the caret at the start of the line.
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override;
    void Draw() override;
    bool ContainsIndex(int32_t) const override { return false; }
    void GetTag(TypeTag& out) const override { out = tag_line; }

    int GetLineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width) { m_lineWidth = width; }
    void SetWidth(int width) { m_rect.right = m_rect.left + width; }
    // Where the line's text starts in the document, once the line is placed:
    // after the indent and any label (the caret of an empty line stands there).
    int GetTextStart() const { return m_offset.x + m_textStart; }
    void SetTextStart(int x) { m_textStart = x - m_offset.x; }
    // The top the line breaking gave the line; placing may raise it to keep
    // the style's line height.
    int32_t GetBrokenTop() const { return m_brokenTop; }
    void KeepBrokenTop() { m_brokenTop = m_rect.top; }
    // How far the line breaking looked to end the line: the row position
    // after the last item it measured. A change before there can change
    // the line; it is kept from the line's start, so that it moves with it.
    int32_t GetReach() const { return GetStartIndex() + m_reach; }
    void SetReach(int32_t end) { m_reach = end - GetStartIndex(); }
    // Whether the line after it starts where no break is allowed: a run of
    // components too wide for a line is split at each component.
    bool EndsInsideRun() const { return m_endsInsideRun != 0; }
    void SetEndsInsideRun(bool inside) { m_endsInsideRun = inside ? 1 : 0; }

private:
    CompList* m_row;
    uint8_t m_endsInsideRun = 0;
    int32_t m_reach = 0;
    int m_lineWidth = 0;
    int m_textStart = 0;  // relative to the offset, so that moving the line moves it
    int32_t m_brokenTop = 0;
};
