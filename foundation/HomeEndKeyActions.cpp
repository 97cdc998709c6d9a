#include "foundation/HomeEndKeyActions.h"

#include "foundation/ActionView.h"
#include "foundation/CompList.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

namespace {

// The first and last caret places of the laid-out line that holds row place
// index, read from the row's line items. A line that wraps ends before its
// last item (the blank it breaks at), so that the caret stays on that line.
void LineOfIndex(const CompList* row, int index, int& first, int& last)
{
    first = 1;
    last = row->GetCount() + 1;
    LayoutArray* items = row->GetItems();
    for (int i = 1; items && i <= items->GetCount(); ++i) {
        Layout* item = items->GetAt(i);
        if (!item->IsLine())
            continue;
        const int start = item->GetStartIndex();
        if (start > index) {
            last = start - 1;
            break;
        }
        first = start;
    }
}

ParagraphList* ParagraphsOf(const DocSelection& selection, ActionView& view)
{
    ParagraphList* list = selection.GetStart().GetParagraph();
    return list ? list : view.GetParagraphList();
}

// In the top row of the position's paragraph: before (or after) the
// top-level component that holds the position.
DocPosition TopLevelPlace(const DocPosition& position, bool after)
{
    ParagraphComp* paragraph = position.GetParagraphComp();
    if (!paragraph)
        return position;
    return DocPosition(paragraph->GetRow(), position.GetParagraphIndex(!after));
}

} // namespace

void TCtrlHomeKeyAction::Compute()
{
    ParagraphList* paragraphs = ParagraphsOf(m_current, m_view);
    if (!paragraphs || paragraphs->GetCount() == 0)
        return;
    const DocPosition start = paragraphs->GetFullSelection().GetStart();
    if (m_extend)
        SetRange(start, TopLevelPlace(m_current.GetEnd(), true));
    else
        SetCaret(start);
}

void TCtrlEndKeyAction::Compute()
{
    ParagraphList* paragraphs = ParagraphsOf(m_current, m_view);
    if (!paragraphs || paragraphs->GetCount() == 0)
        return;
    const DocPosition end = paragraphs->GetFullSelection().GetEnd();
    if (m_extend)
        SetRange(TopLevelPlace(m_current.GetStart(), false), end);
    else
        SetCaret(end);
}

void THomeKeyAction::Compute()
{
    const DocPosition end = m_current.GetEnd();
    CompList* list = end.GetList();
    if (!list)
        return;
    DocPosition place(list, 1);
    if (end.IsInParagraph()) {
        int first = 1;
        int last = 1;
        LineOfIndex(list, end.GetIndex(), first, last);
        place = DocPosition(list, first);
    }
    if (m_extend)
        SetRange(end, place);
    else
        SetCaret(place);
}

void TEndKeyAction::Compute()
{
    const DocPosition end = m_current.GetEnd();
    CompList* list = end.GetList();
    if (!list)
        return;
    DocPosition place(list, list->GetCount() + 1);
    if (end.IsInParagraph()) {
        int first = 1;
        int last = 1;
        LineOfIndex(list, end.GetIndex(), first, last);
        place = DocPosition(list, last);
    }
    if (m_extend)
        SetRange(m_current.GetStart(), place);
    else
        SetCaret(place);
}
