#pragma once
// Remove paragraph break: joins the paragraph of the selection to the one
// before it, which takes the joined paragraph's style; Undo splits them again
// and gives the previous paragraph its own style back.
#include "foundation/TAction.h"

class ParagraphComp;
class ParagraphStyle;

class TRemoveParagraphBreakAction : public TAction {
public:
    explicit TRemoveParagraphBreakAction(const DocSelection& selection);
    ~TRemoveParagraphBreakAction() override;

    void Do() override;
    void Undo() override;
    // Deletes the removed paragraph when the action is done.
    void Commit() override;

private:
    DocSelection m_content;
    int m_index = 0;
    ParagraphComp* m_removed;
    ParagraphComp* m_previous = nullptr;
    ParagraphStyle* m_savedStyle = nullptr;
    int m_joinAt = 0;
    int m_count = 0;
    bool m_holding = false;
};
