// The key mapping of a selection: a typed character with the Shift and Ctrl
// states becomes the edit code the view acts on.
#include "foundation/DocSelection.h"

#include "foundation/CompList.h"
#include "foundation/InnerSelection.h"
#include "foundation/StructureShape.h"
#include "foundation/TextComp.h"

namespace {

constexpr int kNoEdit = 2000;
constexpr int kDelete = 2801;
constexpr int kNewParagraph = 2802;
constexpr int kNewParagraphToggle = 2803;
constexpr int kReduce = 2808;
constexpr int kNextGridLine = 2902;
constexpr int kLeaveAfter = 2904;
constexpr int kTyping = 3001;
constexpr int kTypeTab = 3002;
constexpr int kInsertColumn = 3004;
constexpr int kInsertRow = 3005;
constexpr int kInsertVariable = 3006;

// What the owner of the row that holds the position answers for the key.
int OwnerMaps(DocPosition position, int key, bool shift, bool ctrl)
{
    CompList* list = position.GetList();
    TextComp* owner = list ? list->GetOwner() : nullptr;
    return owner ? owner->MapKey(position, key, shift, ctrl) : kNoEdit;
}

} // namespace

int DocSelection::MapKey(char key, bool shift, bool ctrl) const
{
    int code = static_cast<unsigned char>(key);
    // Ctrl+Enter arrives as a line feed; it means Enter with Ctrl everywhere.
    if (code == 10)
        code = 13;
    // A number label is not edited by keys.
    if (IsLabelSelection())
        return kNoEdit;
    if (!HasExtent()) {
        if (code == 8 || code == 9 || code == 13) {
            DocPosition caret = m_first;
            TextComp* enclosing = m_first.FindEnclosing(tag_null);
            return enclosing ? enclosing->MapKey(caret, code, shift, ctrl) : kNoEdit;
        }
        return m_first.GetKind() == DocPosition::kListPlace ? kTyping : kNoEdit;
    }
    switch (m_first.GetKind()) {
    case DocPosition::kListPlace: {
        if (code == 8 || code == 9 || code == 13)
            if (int mapped = MapExtentKey(code, ctrl))
                return mapped;
        return OwnerMaps(m_first, code, shift, ctrl);
    }
    case DocPosition::kGridLine: {
        TextComp* grid = m_first.GetObject();
        const bool column = m_first.GetFlag() != 0;
        if (code == 8)
            return kDelete;
        if (code == 9) {
            if (!column)
                return kNoEdit;
            if (ctrl)
                return kInsertColumn;
            return m_second.GetIndex() > StructureShape::GridColumns(grid) ? kLeaveAfter : kNextGridLine;
        }
        if (code == 13) {
            if (column)
                return kNoEdit;
            if (ctrl)
                return kInsertRow;
            return m_second.GetIndex() > StructureShape::GridRows(grid) ? kLeaveAfter : kNextGridLine;
        }
        return kNoEdit;
    }
    case DocPosition::kVariableSlot:
        if (code == 8)
            return kDelete;
        if (code == 9) {
            if (ctrl)
                return kInsertVariable;
            return m_second.GetIndex() > StructureShape::VariableCount(m_first.GetObject()) ? kLeaveAfter
                                                                                             : kNextGridLine;
        }
        return kNoEdit;
    case DocPosition::kWholeObject: {
        InnerSelection* inner = Inner();
        return code == 8 && inner && inner->HasInnerSelection() ? kDelete : kNoEdit;
    }
    default: return kNoEdit;
    }
}

// Backspace, Tab and Enter over a range of a row: what the selection decides
// itself; 0 when the row's owner decides.
int DocSelection::MapExtentKey(int key, bool ctrl) const
{
    const bool topRow = m_first.IsInParagraph();
    switch (key) {
    case 8: {
        if (SpansParagraphs() || m_first.GetList() != m_second.GetList())
            return kDelete;
        TextComp* single = GetSingleObject();
        return single && single->IsEnclosure() ? kReduce : kDelete;
    }
    case 9: return topRow ? kTypeTab : 0;
    case 13:
        if (topRow)
            return ctrl ? kNewParagraphToggle : kNewParagraph;
        return 0;
    default: return 0;
    }
}
