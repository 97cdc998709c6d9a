#pragma once
// Typing as one undo step: every character typed while the action is the
// view's current typing action extends it. The typed text is kept whole, so
// that redo restores a run of any length.
#include "foundation/TSelectionAction.h"

#include <string>

class FontFace;

class TTypingAction : public TSelectionAction {
public:
    // Types in the font common to the selection.
    explicit TTypingAction(const DocSelection& selection);
    // Types in the face of the font index (the character-style path).
    TTypingAction(int fontIndex, const DocSelection& selection);

    void Do() override;
    void Undo() override;
    bool CanUndo() const override { return !m_text.empty(); }
    void GetName(Str255& out) const override;

    // Inserts the face's character for the code after the typed range.
    void AddChar(unsigned char code);

    FontFace* GetFace() const { return m_face; }
    // The face typing goes back to for the characters it holds, when this
    // action types only what that face cannot show; null otherwise.
    FontFace* GetReturnFace() const { return m_returnFace; }
    void SetReturnFace(FontFace* face) { m_returnFace = face; }
    const std::string& GetText() const { return m_text; }

private:
    // The typed range from its start over n characters.
    DocSelection TypedRange(int n) const;

    FontFace* m_face;
    FontFace* m_returnFace = nullptr;
    DocSelection m_typed;
    DocPosition m_start;
    std::string m_text;
};
