#include "foundation/ActionSupport.h"

#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

namespace ActionSupport {

void DestroyComponent(TextComp* comp)
{
    if (!comp)
        return;
    CompList holder;
    holder.Append(comp);
}

void DestroyFragment(DocSelection& fragment)
{
    if (fragment.GetStart().GetParagraph())
        fragment.DestroyWithParagraph();
    fragment = DocSelection();
}

bool HoldsContent(const DocSelection& fragment)
{
    ParagraphList* list = fragment.GetStart().GetParagraph();
    if (!list || list->GetCount() == 0)
        return false;
    return list->GetCount() > 1 || list->GetAt(1)->GetRow()->GetCount() > 0;
}

bool RemoveContent(DocSelection& selection, DocPosition& at)
{
    at = selection.MakeDeleteRecord();
    if (at.GetKind() != DocPosition::kNone)
        return true;
    selection = DocSelection();
    return false;
}

ParagraphComp* TakeParagraph(ParagraphList& list, int index)
{
    ParagraphComp* paragraph = list.GetAt(index);
    if (!paragraph)
        return nullptr;
    paragraph->SetOwnerList(nullptr);
    // SetOwnerList(null) detached it from the document; the list still holds it.
    list.RemoveAt(index);
    return paragraph;
}

} // namespace ActionSupport
