#pragma once
// Paste: inserts a copy of the clipboard's content at the selection,
// replacing selected content. Undo removes what was pasted and leaves the
// clipboard alone (it still holds its content, or another program's).
// Another program's text that holds characters no face shows is pasted
// without them only when the user agrees: the question names them.
#include "foundation/TAction.h"

class DocClipboard;

class TPasteAction : public TAction {
public:
    explicit TPasteAction(const DocSelection& selection, DocClipboard* clipboard = nullptr);
    ~TPasteAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;
    // The user declined a paste that would have left characters out.
    bool ChangedNothing() const override { return m_declined; }

private:
    DocClipboard& m_clipboard;
    DocSelection m_selection;
    DocPosition m_at;
    DocSelection m_pasted;
    DocSelection m_replacedContent;
    bool m_replaced = false;
    bool m_declined = false;
};
