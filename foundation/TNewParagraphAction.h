#pragma once
// New paragraph: splits the caret's paragraph, the components after the
// caret moving into a new paragraph of the given style inserted after it.
// A source-code paragraph repeats the leading tabs of the one it splits.
#include "foundation/TSelectionAction.h"

class ParagraphComp;

class TNewParagraphAction : public TSelectionAction {
public:
    TNewParagraphAction(const DocSelection& selection, int styleIndex);

    void Do() override;
    void Undo() override;

private:
    int m_styleIndex;
    DocSelection m_newParagraph;
    ParagraphComp* m_split = nullptr;
    ParagraphComp* m_added = nullptr;
    int m_tabs = 0;
};
