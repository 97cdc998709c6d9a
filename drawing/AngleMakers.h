#pragma once
// Makers of the constraints between two segments: parallel (segments that
// share no end), perpendicular and a fixed angle (segments that meet at an
// end or where an end lies on the other segment; the angle also from three
// vertices, the second being the vertex of the angle). Each constraint is
// solved as it is added.
#include "drawing/DrawingMaker.h"

#include <array>

class SegmentShape;
class VertexShape;

// Whether an end of the one segment is an end of the other or lies at its
// place within the drawing's vertex tolerance.
bool SegmentsShareEnd(const SegmentShape& s, const SegmentShape& t, const DiagramDC& dc);
// Whether an end of either segment lies within 2 pixels of the other.
bool SegmentsTouch(const SegmentShape& s, const SegmentShape& t, const DiagramDC& dc);

// The angle two segments make, as (first arm, corner, second arm): at an
// end they share, else at the end of one that lies on the other. False
// when they neither share an end nor touch.
bool FindCorner(const SegmentShape& s, const SegmentShape& t, const DiagramDC& dc,
                std::array<VertexShape*, 3>& angle);

class ParallelMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

class PerpendicularMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

class FixAngleMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};
