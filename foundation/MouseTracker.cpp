#include "foundation/MouseTracker.h"

#include "foundation/ActionView.h"
#include "foundation/TAction.h"

MouseTracker::MouseTracker(ActionView& view) : m_view(view), m_document(view.GetParagraphList()) {}

MouseTracker::~MouseTracker()
{
    delete m_action;
}

TAction* MouseTracker::TakeAction()
{
    TAction* action = m_action;
    m_action = nullptr;
    return action;
}
