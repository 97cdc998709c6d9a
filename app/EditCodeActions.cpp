#include "app/EditCodeActions.h"

#include "foundation/ArrowKeyActions.h"
#include "foundation/DerivativeActions.h"
#include "foundation/EditCodes.h"
#include "foundation/FieldActions.h"
#include "foundation/GridLineActions.h"
#include "foundation/TInsertExpressionAction.h"
#include "foundation/TInsertItemAction.h"
#include "foundation/TReduceAction.h"

TAction* MakeSharedEditAction(ActionView& view, int code, const DocSelection& selection, bool shift)
{
    switch (code) {
    case EditCode::kPreviousField: return new TPreviousFieldAction(view, selection);
    case EditCode::kNextField: return new TNextFieldAction(view, selection);
    case EditCode::kSelectPrevious: return new TSelectPreviousAction(view, selection);
    case EditCode::kReduce: return new TReduceAction(selection);
    case EditCode::kNextGridLine: return new TNextGridLineAction(view, selection, shift);
    case EditCode::kPreviousGridLine: return new TPreviousGridLineAction(view, selection, shift);
    case EditCode::kLeaveAfter: return new TLeaveAfterAction(view, selection);
    case EditCode::kLeaveBefore: return new TLeaveBeforeAction(view, selection);
    case EditCode::kNextRowCell: return new TNextRowCellAction(view, selection);
    case EditCode::kNextCell: return new TNextCellAction(view, selection);
    case EditCode::kCellToColumnLine: return new TCellToColumnLineAction(view, selection);
    case EditCode::kCellToRowLine: return new TCellToRowLineAction(view, selection);
    case EditCode::kInsertColumn: return new TInsertColumnAction(selection);
    case EditCode::kInsertRow: return new TInsertRowAction(selection);
    case EditCode::kInsertDerivative: return new TInsertDerivativeAction(selection);
    case EditCode::kInsertExpression: return new TInsertExpressionAction(selection);
    case EditCode::kDerivVarSlot: return new TDerivVarSlotAction(view, selection);
    case EditCode::kDerivNextVar: return new TDerivNextVarAction(view, selection);
    default: return nullptr;
    }
}
