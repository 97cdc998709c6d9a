#pragma once
// Makers of constraints that may need a point of their own: the midpoint
// of a segment and the centre of an arc. A point the selection does not
// give is made at its place and added to the drawing by the action that
// adds the constraint, so that undoing the one takes out the other.
#include "drawing/DrawingMaker.h"

class CurveShape;

// The centre an arc through the curve's ends would have: where the normals
// at the two ends meet, or the middle of the chord when the end tangents are
// parallel.
DPoint ArcCentre(const CurveShape& curve);

// One segment, or a segment and a vertex in either order.
class MidpointMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

// One Bezier curve, or a curve and a vertex (the centre) in either order.
class ArcMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};
