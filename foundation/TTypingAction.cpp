#include "foundation/TTypingAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/ActionView.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"

#include <algorithm>

namespace {

FontFace* FaceOfIndex(int fontIndex)
{
    FontFace* face = gFontManager ? gFontManager->GetFace(fontIndex) : nullptr;
    return face ? face : gTextFace;
}

} // namespace

TTypingAction::TTypingAction(const DocSelection& selection)
    : TTypingAction(selection.GetCommonFontIndex(), selection)
{
}

TTypingAction::TTypingAction(int fontIndex, const DocSelection& selection)
    : TSelectionAction(ActionNames::kTyping, selection), m_face(FaceOfIndex(fontIndex))
{
}

void TTypingAction::GetName(Str255& out) const
{
    ActionNames::Load(m_text.empty() ? ActionNames::kCantUndo : ActionNames::kTyping, out);
}

DocSelection TTypingAction::TypedRange(int n) const
{
    CompList* list = m_start.GetList();
    if (!list)
        return DocSelection();
    return DocSelection(list, m_start.GetIndex(), m_start.GetIndex() + n);
}

void TTypingAction::Do()
{
    if (!m_kept)
        KeepContent();
    m_start = m_removed.at.Normalize();
    CompList* list = m_start.GetList();
    if (m_start.GetKind() != DocPosition::kListPlace || !list) {
        RestoreSelection(m_selection);
        return;
    }
    m_start.SetIndex(std::clamp(m_start.GetIndex(), 1, list->GetCount() + 1));
    int index = m_start.GetIndex();
    for (unsigned char c : m_text)
        list->InsertAt(m_face->GetCharacter(c), index++);
    m_typed = TypedRange(int(m_text.size()));
    DocPosition caret = m_typed.GetEnd();
    // Typing begins with nothing typed and nothing selected: the document is
    // as it was and needs no layout.
    if (m_text.empty() && !m_kept)
        ShowSelection(DocSelection(caret, caret));
    else
        RestoreSelection(DocSelection(caret, caret));
}

void TTypingAction::AddChar(unsigned char code)
{
    if (!m_done) {
        if (!m_kept)
            KeepContent();
        m_start = m_removed.at.Normalize();
        m_text.clear();
        m_done = true;
    }
    CompList* list = m_start.GetList();
    if (m_start.GetKind() != DocPosition::kListPlace || !list || !m_face)
        return;
    int at = std::clamp(m_start.GetIndex() + int(m_text.size()), 1, list->GetCount() + 1);
    list->InsertAt(m_face->GetCharacter(code), at);
    m_text.push_back(char(code));
    m_typed = TypedRange(int(m_text.size()));
    SetIndexInParagraph(std::max(m_typed.GetEnd().GetParagraphIndex(true), 1));
    DocPosition caret = m_typed.GetEnd();
    if (ActionView* view = ActionView::Current())
        view->SetDocumentModified();
    RestoreSelection(DocSelection(caret, caret));
}

void TTypingAction::Undo()
{
    if (!m_text.empty()) {
        DocSelection typed = TypedRange(int(m_text.size()));
        DocPosition at;
        if (ActionSupport::RemoveContent(typed, at))
            ActionSupport::DestroyFragment(typed);
    }
    m_typed = DocSelection();
    RestoreContent();
    RestoreSelection(m_selection);
}
