// The key mapping of a selection: a typed character with the Shift and Ctrl
// states becomes the edit code the view acts on.
#include "foundation/DocSelection.h"

#include "foundation/CompList.h"
#include "foundation/EditCodes.h"
#include "foundation/InnerSelection.h"
#include "foundation/KeyCodes.h"
#include "foundation/StructureShape.h"
#include "foundation/TextComp.h"

namespace {

// What the owner of the row that holds the position answers for the key.
int OwnerMaps(DocPosition position, int key, bool shift, bool ctrl)
{
    CompList* list = position.GetList();
    TextComp* owner = list ? list->GetOwner() : nullptr;
    return owner ? owner->MapKey(position, key, shift, ctrl) : EditCode::kNone;
}

} // namespace

int DocSelection::MapKey(char key, bool shift, bool ctrl) const
{
    int code = static_cast<unsigned char>(key);
    // A number label is not edited by keys.
    if (IsLabelSelection())
        return EditCode::kNone;
    if (!HasExtent()) {
        if (code == KeyCode::kBackspace || code == KeyCode::kTab || code == KeyCode::kLineFeed ||
            code == KeyCode::kReturn) {
            DocPosition caret = m_first;
            TextComp* enclosing = m_first.FindEnclosing(tag_null);
            return enclosing ? enclosing->MapKey(caret, code, shift, ctrl) : EditCode::kNone;
        }
        return m_first.GetKind() == DocPosition::kListPlace ? EditCode::kType : EditCode::kNone;
    }
    switch (m_first.GetKind()) {
    case DocPosition::kListPlace: {
        if (code == KeyCode::kBackspace || code == KeyCode::kTab || code == KeyCode::kReturn)
            if (int mapped = MapExtentKey(code, ctrl))
                return mapped;
        return OwnerMaps(m_first, code, shift, ctrl);
    }
    case DocPosition::kGridLine: {
        TextComp* grid = m_first.GetObject();
        const bool column = m_first.GetFlag() != 0;
        // Ctrl+Enter arrives as a line feed: on grid lines it is Enter with Ctrl.
        if (code == KeyCode::kLineFeed) {
            code = KeyCode::kReturn;
            ctrl = true;
        }
        if (code == KeyCode::kBackspace)
            return EditCode::kDelete;
        if (code == KeyCode::kTab) {
            if (!column)
                return EditCode::kNone;
            if (ctrl)
                return EditCode::kInsertColumn;
            return m_second.GetIndex() > StructureShape::GridColumns(grid) ? EditCode::kLeaveAfter : EditCode::kNextGridLine;
        }
        if (code == KeyCode::kReturn) {
            if (column)
                return EditCode::kNone;
            if (ctrl)
                return EditCode::kInsertRow;
            return m_second.GetIndex() > StructureShape::GridRows(grid) ? EditCode::kLeaveAfter : EditCode::kNextGridLine;
        }
        return EditCode::kNone;
    }
    case DocPosition::kVariableSlot:
        if (code == KeyCode::kBackspace)
            return EditCode::kDelete;
        if (code == KeyCode::kTab) {
            if (ctrl)
                return EditCode::kInsertDerivative;
            return m_second.GetIndex() > StructureShape::VariableCount(m_first.GetObject()) ? EditCode::kLeaveAfter
                                                                                             : EditCode::kNextGridLine;
        }
        return EditCode::kNone;
    case DocPosition::kWholeObject: {
        InnerSelection* inner = Inner();
        return code == KeyCode::kBackspace && inner && inner->HasInnerSelection() ? EditCode::kDelete : EditCode::kNone;
    }
    default: return EditCode::kNone;
    }
}

// Backspace, Tab and Enter over a range of a row: what the selection decides
// itself; 0 when the row's owner decides.
int DocSelection::MapExtentKey(int key, bool ctrl) const
{
    const bool topRow = m_first.IsInParagraph();
    switch (key) {
    case KeyCode::kBackspace: {
        if (SpansParagraphs() || m_first.GetList() != m_second.GetList())
            return EditCode::kDelete;
        TextComp* single = GetSingleObject();
        return single && single->IsEnclosure() ? EditCode::kReduce : EditCode::kDelete;
    }
    case KeyCode::kTab: return topRow ? EditCode::kTypeTab : 0;
    case KeyCode::kReturn:
        if (topRow)
            return ctrl ? EditCode::kToggleParagraph : EditCode::kNewParagraph;
        return 0;
    default: return 0;
    }
}
