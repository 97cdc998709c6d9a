#pragma once
// A straight edge ("Segm"): a shape of its own, or a side of a triangle,
// rectangle or polygon when it has an owner shape. A free segment owns both
// its ends, draws them and its arrowheads; a side draws only its line and
// carries on the dash pattern of its outline.
#include "drawing/EdgeShape.h"

class SegmentShape : public EdgeShape {
public:
    SegmentShape() = default;
    SegmentShape(VertexShape* start, VertexShape* end, DiagramShape* owner = nullptr)
        : EdgeShape(start, end, owner)
    {
    }
    SegmentShape(VertexShape* start, VertexShape* end, DrawLabel* label, int32_t penStyle, COLORREF colour,
                 DiagramShape* owner = nullptr)
        : EdgeShape(start, end, label, penStyle, colour, owner)
    {
    }

    TypeTag GetTag() const override { return tag_Segm; }
    // Its ends first, then the line.
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    DrawConstraint* MakeAttachConstraint(VertexShape* vertex) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    DiagramShape* Clone(ItemCopyMap& map) override;
    bool IsSegment() const override { return true; }
    // A free segment owns both its ends.
    DiagramShape* SetOwner(DiagramShape* owner) override;
    int GetSideCount() const override { return 1; }
    ItemArray<DiagramShape> GetSides() const override;
    void AppendOutlinePoints(std::vector<DPoint>& points) const override;
    // The segment becomes its other end.
    DiagramEditGroup* RemovePart(DiagramShape* part) override;

    void DrawStartArrow(DiagramDC& dc) const override;
    void DrawEndArrow(DiagramDC& dc) const override;
    bool AppendPathStep(const DiagramDC& dc, std::string& text, bool lineBefore,
                        VertexShape*& current) const override;
};
