#pragma once
// Cut: removes the selection and puts a copy of it on the clipboard. The
// action keeps the removed content itself, so Undo re-inserts exactly what
// was cut whatever has happened to the clipboard since.
#include "foundation/TCopyAction.h"

class TCutAction : public TCopyAction {
public:
    explicit TCutAction(const DocSelection& selection, DocClipboard* clipboard = nullptr);

    bool ModifiesDocument() const override { return true; }
    void Do() override;
    void Undo() override;
    // Also destroys the removed content while the action is done.
    void Commit() override;

private:
    DocSelection m_removed;
    DocPosition m_at;
};
