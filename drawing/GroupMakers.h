#pragma once
// Makers that gather from every selected shape: equal lengths over all the
// straight edges (at least two), a fixed point on every vertex (at least
// one), and the tangency of a segment to a circle, a curve or a plot at a
// vertex. Equal lengths and a tangency are solved as they are added; fixed
// points hold where they are.
#include "drawing/DrawingMaker.h"

#include <vector>

class SegmentShape;
class VertexShape;

// The straight edges of the selected shapes, each once, in selection order.
std::vector<SegmentShape*> StraightEdges(const ItemArray<DiagramShape>& selected);

class EqualLengthMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

// One fixed point per vertex, added (and undone) as one step. A vertex that
// is fixed already gets no second one; the maker builds nothing when every
// vertex is.
class FixPointMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

// Exactly three shapes in any order: a segment, the vertex where it
// touches, and a circle, a Bezier curve or a plot.
class TangentMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};
