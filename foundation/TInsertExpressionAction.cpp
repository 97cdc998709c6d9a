#include "foundation/TInsertExpressionAction.h"

#include "foundation/ActionNames.h"
#include "foundation/PlotFunctionLines.h"
#include "foundation/TextComp.h"
#include "platform/UserInterface.h"

TInsertExpressionAction::TInsertExpressionAction(const DocSelection& selection)
    : TSelectionAction(ActionNames::kInsertExpression, selection)
{
    TextComp* plot = selection.FindEnclosing(tag_2Plt);
    if (!plot)
        plot = selection.FindEnclosing(tag_3Plt);
    m_plot = dynamic_cast<PlotFunctionLines*>(plot);
}

void TInsertExpressionAction::Do()
{
    if (!m_plot)
        return;
    DocPosition start = m_plot->AddFunction();
    m_added = start.GetKind() != DocPosition::kNone;
    if (!m_added) {
        UserInterface::Current().MessageBeep(0);
        return;
    }
    RestoreSelection(DocSelection(start, start));
}

void TInsertExpressionAction::Undo()
{
    if (!m_plot || !m_added)
        return;
    m_plot->RemoveLastFunction();
    RestoreSelection(m_selection);
}
