// Stand-ins for the drawing dialogs until they are built: the command
// beeps and changes nothing.
#include "app/DrawingDialogCommands.h"

#include "platform/UserInterface.h"

void OnDrawingColor(CCorvellView&, DiagramComp&)
{
    UserInterface::Current().MessageBeep(0);
}

void OnDrawingProperties(CCorvellView&, DiagramComp&)
{
    UserInterface::Current().MessageBeep(0);
}

TAction* OnShowVariableValue(CCorvellView&, DiagramComp&)
{
    UserInterface::Current().MessageBeep(0);
    return nullptr;
}
