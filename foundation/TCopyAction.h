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
    // Remembers what the clipboard held before. A redo after an undo that
    // had nothing to put back keeps what it remembered: the clipboard still
    // holds this action's own content, not what was there before.
    void SaveEarlier();
    // Puts the earlier content back while the program owns the clipboard.
    // With nothing before, the action's own content stays until the action
    // is dropped.
    void RestoreEarlier();
    // Frees the earlier content. An undone action that found the clipboard
    // empty empties it, but only while nothing has happened to it since the
    // undo: what a copy, cut or paste made since (the host may commit this
    // action after performing the next one) or another program put there
    // stays.
    void CommitClipboard();

    DocClipboard& m_clipboard;
    DocSelection m_selection;
    DocSelection m_earlier;
    // The earlier content while it was a text block not yet made into
    // paragraphs (a copy as MathML): it is remembered as that text.
    DocClipboard::TextBlock m_earlierText;
    bool m_hadEarlier = false;
    // The clipboard's stamp when an undo left this action's content there
    // for want of earlier content (0: it did not).
    uint64_t m_leftAt = 0;

private:
    // The clipboard is as the undo left it.
    bool UntouchedSinceUndo() const;
};
