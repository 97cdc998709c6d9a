#include "foundation/DerivativeActions.h"

#include "foundation/CompList.h"
#include "foundation/StructureShape.h"
#include "foundation/TextComp.h"

using namespace StructureShape;

void TDerivVarSlotAction::Compute()
{
    const DocPosition end = m_current.GetEnd();
    if (end.GetKind() == DocPosition::kVariableSlot) {
        SetCaret(end);
        return;
    }
    if (end.GetKind() != DocPosition::kListPlace)
        return;
    TextComp* derivative = EnclosingDerivative(end.GetList());
    const int variable = VariableOfRow(derivative, end.GetList());
    if (variable > 0)
        SetCaret(DocPosition(derivative, variable + 1));
}

void TDerivNextVarAction::Compute()
{
    const DocPosition start = m_current.GetStart();
    if (start.GetKind() != DocPosition::kListPlace)
        return;
    TextComp* derivative = EnclosingDerivative(start.GetList());
    if (!derivative)
        return;
    const int variable = VariableOfRow(derivative, start.GetList());
    if (variable < VariableCount(derivative))
        m_current = DocSelection::SelectAll(VariableRow(derivative, variable + 1));
    else
        SetCaret(DocPosition::After(derivative));
}
