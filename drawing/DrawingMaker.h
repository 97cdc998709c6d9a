#pragma once
// A maker builds a shape or a constraint from the selected shapes of a
// drawing for one drawing command: it says whether the selection suits it
// (and what to tell the user when not) and builds the undoable action that
// adds what it makes.
#include "drawing/ItemArray.h"
#include "foundation/DPoint.h"

#include <string>

class ActionView;
class DiagramComp;
class DiagramDC;
class DiagramShape;
class TAction;

class DrawingMaker {
public:
    virtual ~DrawingMaker() = default;
    virtual bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const = 0;
    // The action adding what the maker built (the caller performs and owns
    // it), or null when the selection gave nothing to build. at: where a
    // shape built on no selected vertex goes.
    virtual TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                          const DPoint& at) const = 0;
    virtual std::string GetErrorMessage() const { return "Unknown Error"; }
};
