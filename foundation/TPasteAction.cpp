#include "foundation/TPasteAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/DocClipboard.h"
#include "platform/AppProfile.h"
#include "platform/UserInterface.h"

namespace {

// Characters no face holds were left out when the text was read: the user
// says whether the rest goes in, before the document changes.
bool AgreesToLeaveOut(const LeftOutCharacters& left)
{
    if (left.IsEmpty())
        return true;
    const std::string question = left.Description() + "\n\nPaste the rest?";
    return UserInterface::Current().MessageBox(question, AppProfile::application, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

} // namespace

TPasteAction::TPasteAction(const DocSelection& selection, DocClipboard* clipboard)
    : TAction(ActionNames::kPaste, selection), m_clipboard(clipboard ? *clipboard : *gDocClipboard),
      m_selection(selection)
{
}

TPasteAction::~TPasteAction()
{
    if (m_replaced)
        ActionSupport::DestroyFragment(m_replacedContent);
}

void TPasteAction::Do()
{
    DocSelection content = m_clipboard.GetContent();
    m_declined = !AgreesToLeaveOut(m_clipboard.LeftOut());
    if (m_declined) {
        ActionSupport::DestroyFragment(content);
        return;
    }
    m_replaced = false;
    m_at = m_selection.GetStart();
    if (m_selection.HasExtent()) {
        m_replacedContent = m_selection;
        m_replaced = ActionSupport::RemoveContent(m_replacedContent, m_at);
        if (!m_replaced)
            m_at = m_selection.GetStart();
    }
    m_pasted = DocSelection();
    if (ActionSupport::HoldsContent(content))
        m_pasted = content.InsertAt(m_at);
    ActionSupport::DestroyFragment(content); // an empty fragment, or one that did not fit
    DocPosition caret = m_pasted.GetStart().GetKind() ? m_pasted.GetEnd() : m_at;
    RestoreSelection(DocSelection(caret, caret));
}

void TPasteAction::Undo()
{
    if (m_pasted.HasExtent()) {
        DocSelection pasted = m_pasted;
        DocPosition at;
        if (ActionSupport::RemoveContent(pasted, at))
            ActionSupport::DestroyFragment(pasted);
    }
    m_pasted = DocSelection();
    if (m_replaced) {
        m_replacedContent.InsertAt(m_at);
        ActionSupport::DestroyFragment(m_replacedContent);
        m_replaced = false;
    }
    RestoreSelection(m_selection);
}

void TPasteAction::Commit()
{
    if (m_done && m_replaced)
        ActionSupport::DestroyFragment(m_replacedContent);
    m_replaced = false;
}
