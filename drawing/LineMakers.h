#pragma once
// Makers of the constraints on one segment or two vertices: horizontal,
// vertical, fixed slope and distance (which also takes a circle, whose
// radius it fixes). The drawing is solved as the constraint is added, so a
// segment made horizontal turns at once: it starts turned about its middle,
// as the least change would draw an upright one's ends together.
#include "drawing/DrawingMaker.h"
#include "drawing/TAddStartedConstraintAction.h"

class DrawConstraint;
class VertexShape;

// One segment or two vertices: the two points a constraint binds.
class TwoPointMaker : public DrawingMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;

protected:
    virtual DrawConstraint* NewConstraint(VertexShape* p1, VertexShape* p2) const = 0;
    // Where the two points start the solve; none moved by default.
    virtual TAddStartedConstraintAction::Start StartOf(VertexShape*, VertexShape*) const { return {}; }
};

class HorizontalMaker : public TwoPointMaker {
public:
    std::string GetErrorMessage() const override;

protected:
    DrawConstraint* NewConstraint(VertexShape* p1, VertexShape* p2) const override;
    TAddStartedConstraintAction::Start StartOf(VertexShape* p1, VertexShape* p2) const override;
};

class VerticalMaker : public TwoPointMaker {
public:
    std::string GetErrorMessage() const override;

protected:
    DrawConstraint* NewConstraint(VertexShape* p1, VertexShape* p2) const override;
    TAddStartedConstraintAction::Start StartOf(VertexShape* p1, VertexShape* p2) const override;
};

class FixSlopeMaker : public TwoPointMaker {
public:
    std::string GetErrorMessage() const override;

protected:
    DrawConstraint* NewConstraint(VertexShape* p1, VertexShape* p2) const override;
};

class DistanceMaker : public TwoPointMaker {
public:
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;

protected:
    DrawConstraint* NewConstraint(VertexShape* p1, VertexShape* p2) const override;
};
