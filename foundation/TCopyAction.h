#pragma once
// Copy: puts a copy of the selection on the clipboard; Undo puts the
// clipboard's earlier content back, unless another program has put
// something there since. The special copies (picture, MathML, SVG) derive
// from it and share its Undo and Commit.
#include "foundation/DocClipboard.h"
#include "foundation/TAction.h"

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
    // The earlier content while it was a text block not yet made into
    // paragraphs (a copy as MathML): it is remembered as that text.
    DocClipboard::TextBlock m_earlierText;
    bool m_hadEarlier = false;
};
