#include "foundation/TKeyAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionView.h"

TKeyAction::TKeyAction(ActionView& view, const DocSelection& selection, bool extend)
    : TAction(ActionNames::kCantUndo), m_view(view), m_current(selection), m_extend(extend)
{
}

void TKeyAction::Apply()
{
    m_saved = m_current;
    m_view.InvalidateSelection(m_view.GetSelection());
    Compute();
    Show();
}

void TKeyAction::Restore()
{
    m_current = m_saved;
    m_view.InvalidateSelection(m_view.GetSelection());
    Show();
}

void TKeyAction::Show()
{
    m_view.SetSelection(m_current, true);
    m_view.ScrollToShow(m_current);
    m_view.InvalidateSelection(m_current);
}

void TKeyAction::SetCaret(const DocPosition& place)
{
    m_current = DocSelection(place, place);
}

void TKeyAction::SetRange(const DocPosition& a, const DocPosition& b)
{
    m_current = DocSelection(a, b);
}
