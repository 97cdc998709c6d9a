#include "app/DrawingCommands.h"

#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawingMakers.h"
#include "drawing/GroupConstraints.h"
#include "platform/UserInterface.h"

namespace {

constexpr const char* kCaption = "Quorvant";

// An equation constraint whose label is empty, ready for the equation to be typed.
TAction* NewEquationConstraint(DiagramComp& drawing)
{
    auto* constraint = new EquationConstraint(DrawingCentre(drawing), nullptr);
    constraint->SetLabel(new DrawLabel(constraint, &drawing, nullptr));
    return new TAddEquationConstraintAction(&drawing, constraint);
}

// The label goes to the first selected shape that can show one, else to the
// first such selected constraint, else it is a free label.
TAction* NewTextLabel(DiagramComp& drawing)
{
    for (DiagramShape* shape : drawing.GetSelectedShapes())
        if (shape->CanShowLabel())
            return new TAddLabelAction(&drawing, shape);
    for (DrawConstraint* constraint : drawing.GetSelectedConstraints())
        if (constraint->CanShowLabel())
            return new TAddLabelAction(&drawing, constraint);
    return new TAddLabelAction(&drawing, nullptr);
}

} // namespace

DPoint DrawingCentre(const DiagramComp& drawing)
{
    DPoint topLeft, bottomRight;
    drawing.GetVisibleWorld(topLeft, bottomRight);
    return DPoint((topLeft.x + bottomRight.x) / 2, (topLeft.y + bottomRight.y) / 2);
}

TAction* CreateDrawingCommand(ActionView& view, DiagramComp& drawing, int commandId)
{
    if (commandId == drawing::kEquationConstraintCommand)
        return NewEquationConstraint(drawing);
    if (commandId == drawing::kTextLabelCommand)
        return NewTextLabel(drawing);
    DrawingMaker* maker = DrawingMakerForCommand(commandId);
    if (!maker)
        return nullptr;
    const ItemArray<DiagramShape>& selected = drawing.GetSelectedShapes();
    if (!maker->CanMake(selected, drawing.GetDC())) {
        UserInterface::Current().MessageBox(maker->GetErrorMessage(), kCaption, MB_OK);
        return nullptr;
    }
    return maker->Make(&view, selected, drawing, DrawingCentre(drawing));
}
