#pragma once
// The item of an empty row: the em box of the current size framed in grey
// when the row shows its placeholder, an empty box otherwise.
#include "foundation/Layout.h"

class CompList;

class PlaceholderLayout : public Layout {
public:
    PlaceholderLayout(CompList* row, int show) : Layout(1), m_row(row), m_show(show) {}

    void Measure() override;
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override;
    void Draw() override;
    void GetTag(TypeTag& out) const override { out = tag_plac; }

private:
    CompList* m_row;
    int m_show;
};

// A row too wide for its room, drawn as a grey box four em boxes wide.
class GrayLayout : public Layout {
public:
    void Measure() override;
    void Draw() override;
    void GetTag(TypeTag& out) const override { out = tag_gray; }
};
