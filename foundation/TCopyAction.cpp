#include "foundation/TCopyAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/DocClipboard.h"

TCopyAction::TCopyAction(const DocSelection& selection, DocClipboard* clipboard)
    : TAction(ActionNames::kCopy, selection), m_clipboard(clipboard ? *clipboard : *gDocClipboard),
      m_selection(selection)
{
}

TCopyAction::~TCopyAction()
{
    ActionSupport::DestroyFragment(m_earlier);
}

bool TCopyAction::UntouchedSinceUndo() const
{
    return m_leftAt != 0 && m_leftAt == m_clipboard.Stamp() && m_clipboard.OwnsClipboard();
}

void TCopyAction::SaveEarlier()
{
    if (UntouchedSinceUndo())
        return;
    ActionSupport::DestroyFragment(m_earlier);
    m_hadEarlier = m_clipboard.HasData();
    m_earlierText = m_hadEarlier ? m_clipboard.KeptTextBlock() : DocClipboard::TextBlock();
    if (m_hadEarlier && m_earlierText.text.empty())
        m_earlier = m_clipboard.SaveContent(nullptr);
}

void TCopyAction::RestoreEarlier()
{
    m_leftAt = 0;
    if (!m_clipboard.OwnsClipboard())
        return; // another program's content stays
    if (!m_hadEarlier)
        m_leftAt = m_clipboard.Stamp();
    if (m_hadEarlier && !m_earlierText.text.empty()) {
        m_clipboard.PutTextBlock(m_earlierText.text, m_earlierText.mimeType.c_str());
        m_earlierText = DocClipboard::TextBlock();
    } else if (m_hadEarlier && m_earlier.GetStart().GetParagraph()) {
        m_clipboard.Put(m_earlier);
        m_earlier = DocSelection();
    }
}

void TCopyAction::CommitClipboard()
{
    ActionSupport::DestroyFragment(m_earlier);
    m_earlierText = DocClipboard::TextBlock();
    if (!m_done && !m_hadEarlier && UntouchedSinceUndo())
        m_clipboard.Clear();
}

void TCopyAction::Do()
{
    DocSelection copy = m_selection.MakeCopyRecord();
    SaveEarlier();
    m_clipboard.Put(copy);
}

void TCopyAction::Undo()
{
    RestoreEarlier();
}

void TCopyAction::Commit()
{
    CommitClipboard();
}
