#include "foundation/TParagraphStyleAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"

TParagraphStyleAction::TParagraphStyleAction(const DocSelection& selection, int styleIndex)
    : TAction(ActionNames::kCantUndo, selection), m_selection(selection), m_styleIndex(styleIndex)
{
}

void TParagraphStyleAction::Do()
{
    ParagraphList* list = m_selection.GetStart().GetParagraph();
    int first = list ? list->IndexOf(m_selection.GetStart().GetParagraphComp()) : 0;
    int last = list ? list->IndexOf(m_selection.GetEnd().GetParagraphComp()) : 0;
    if (first == 0 || last < first)
        return;
    for (int i = first; i <= last; ++i) {
        ParagraphComp* paragraph = list->GetAt(i);
        paragraph->SetStyle(StyleTable::Lookup(m_styleIndex));
        paragraph->Invalidate();
    }
    RestoreSelection(m_selection);
}
