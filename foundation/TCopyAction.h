#pragma once
// Copy: puts a copy of the selection on the clipboard; Undo puts the
// clipboard's earlier content back, unless another program has put
// something there since. The special copies (picture, MathML, SVG) derive
// from it and share its Undo and Commit.
#include "foundation/TAction.h"

class DocClipboard;

class TCopyAction : public TAction {
public:
    explicit TCopyAction(const DocSelection& selection, DocClipboard* clipboard = nullptr);
    ~TCopyAction() override;

    bool ModifiesDocument() const override { return false; }
    void Do() override;
    void Undo() override;
    void Commit() override;

protected:
    // Remembers what the clipboard held before.
    void SaveEarlier();
    // Puts the earlier content back while the program owns the clipboard.
    void RestoreEarlier();
    // Frees the earlier content; empties the clipboard when the action was
    // undone, nothing was there before and the program still owns it.
    void CommitClipboard();

    DocClipboard& m_clipboard;
    DocSelection m_selection;
    DocSelection m_earlier;
    bool m_hadEarlier = false;
};
