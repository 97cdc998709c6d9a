#pragma once
// The makers of shapes: segment, circle, triangle, rectangle and Bezier
// curve. A shape made on too few selected vertices takes a size of 75
// points at the drawing's scale. A selected free vertex becomes the new
// shape's own; a vertex another shape holds stays where it is and the new
// shape gets a free vertex of its own at its place (the rectangle takes the
// ends of one selected segment and three selected vertices as they are).
// The shape is built when its action is first done, so that a selected
// vertex becomes the shape's only while the action is done.
#include "drawing/DrawingMaker.h"

class SegmentMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

class CircleMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

// Triangle and rectangle accept nothing, one vertex or one segment, two
// vertices, two segments that share an end, or three vertices.
class TriangleMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

class RectangleMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};

// Ends as for a segment; the control points stand a third of the chord
// away from the ends, turned a quarter turn.
class CurveMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};
