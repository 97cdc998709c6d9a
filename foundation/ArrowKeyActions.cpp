#include "foundation/ArrowKeyActions.h"

#include "foundation/CompList.h"

void TArrowKeyAction::Compute()
{
    const DocPosition start = m_current.GetStart();
    const DocPosition end = m_current.GetEnd();
    DocPosition place;
    DocPosition farEnd;
    switch (m_key) {
    case kLeft:
        place = m_ctrl ? start.CtrlPrevious() : start.Previous();
        farEnd = end;
        break;
    case kRight:
        place = m_ctrl ? end.CtrlNext() : end.Next();
        farEnd = start;
        break;
    case kUp:
        place = start.Up();
        farEnd = end;
        break;
    case kDown:
        place = end.Down();
        farEnd = start;
        break;
    default: return;
    }
    if (place.GetKind() == DocPosition::kNone)
        return;
    if (m_extend)
        SetRange(place, farEnd);
    else
        SetCaret(place);
}

void TSelectPreviousAction::Compute()
{
    DocPosition first = m_current.GetStart();
    first.DecrementIndex();
    SetRange(first, m_current.GetEnd());
}

void TSelectWordAction::Compute()
{
    const DocPosition start = m_current.GetStart();
    CompList* list = start.GetList();
    if (start.GetKind() == DocPosition::kListPlace && list)
        m_current = list->SelectWordAt(start.GetIndex());
    else
        SetCaret(start);
}
