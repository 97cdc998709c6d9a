#include "foundation/SelectionTracker.h"

#include "foundation/ActionView.h"
#include "foundation/CompList.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"

SelectionTracker::SelectionTracker(ActionView& view, bool extend) : MouseTracker(view), m_extend(extend ? 1 : 0) {}

DocPosition SelectionTracker::PositionAt(const IntPoint& point) const
{
    DocPosition position;
    if (!m_document)
        return position;
    // A paragraph's number may share its band with the stretched last item
    // of its line; the number wins.
    if (ParagraphComp* paragraph = m_document->GetParagraphAtY(point.y))
        if (LayoutArray* items = paragraph->GetRow()->GetItems())
            for (int i = 1; i <= items->GetCount(); ++i)
                if (items->GetAt(i)->IsLabel() && items->GetAt(i)->HitTest(point))
                    return DocPosition(paragraph->GetRow(), 0);
    m_document->PositionFromPoint(position, point, true);
    return position;
}

DocSelection SelectionTracker::ClickSelection(const DocPosition& position, bool moving)
{
    CompList* list = position.GetList();
    const int index = position.GetIndex();
    if (position.GetKind() != DocPosition::kListPlace || !list)
        return DocSelection(position, position);
    if (index == 0)
        return DocSelection(list, 0, 1);
    if (index > list->GetCount())
        return DocSelection(position, position);
    TextComp* child = list->GetAt(index);
    const TypeTag tag = child ? child->Tag() : tag_null;
    if (tag == tag_Ref || (moving && (tag == tag_2Plt || tag == tag_3Plt)))
        return DocSelection(list, index, index + 1);
    int first = 0;
    int end = 0;
    if (GreyRunAt(list, index, first, end))
        return DocSelection(list, first, end);
    return DocSelection(position, position);
}

// A grey run (a row too wide for its room, drawn as a grey box) stands for
// every child from its start up to the next item of the row.
bool SelectionTracker::GreyRunAt(CompList* list, int index, int& first, int& end)
{
    LayoutArray* items = list->GetItems();
    for (int i = 1; items && i <= items->GetCount(); ++i) {
        Layout* item = items->GetAt(i);
        if (item->Tag() != tag_gray)
            continue;
        first = item->GetStartIndex();
        end = list->GetCount() + 1;
        for (int k = i + 1; k <= items->GetCount(); ++k)
            if (!items->GetAt(k)->IsLine() && items->GetAt(k)->GetStartIndex() > first) {
                end = items->GetAt(k)->GetStartIndex();
                break;
            }
        if (index >= first && index < end)
            return true;
    }
    return false;
}

void SelectionTracker::MouseDown(const IntPoint& point)
{
    const DocSelection old = m_view.GetSelection();
    const DocPosition position = PositionAt(point);
    m_anchor = m_current = position;
    if (position.GetKind() == DocPosition::kNone) {
        m_selection = old;
        return;
    }
    if (m_extend && old.GetKind() != DocPosition::kNone) {
        const DocSelection toStart(position, old.GetStart());
        const DocSelection toEnd(position, old.GetEnd());
        if (toStart.GetStart() == toEnd.GetStart()) {
            m_selection = toEnd;
            m_anchor = old.GetEnd();
        } else {
            m_selection = DocSelection(old.GetStart(), position);
            m_anchor = old.GetStart();
        }
    } else {
        m_selection = ClickSelection(position, false);
    }
    m_view.ShowSelection(m_selection);
}

void SelectionTracker::MouseMove(const IntPoint& point)
{
    const DocPosition position = PositionAt(point);
    if (position.GetKind() == DocPosition::kNone || position == m_current)
        return;
    m_current = position;
    if (position == m_anchor)
        m_selection = ClickSelection(position, true);
    else
        m_selection = DocSelection(m_anchor, position);
    m_view.ShowSelection(m_selection);
}

void SelectionTracker::MouseUp(const IntPoint& /*point*/)
{
    m_view.SetSelection(m_selection, true);
}
