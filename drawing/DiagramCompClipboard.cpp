// The drawing selected as a whole object: what copy takes of it and what
// paste puts into it.
#include "drawing/DiagramComp.h"

#include "drawing/DrawLabel.h"
#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphList.h"

namespace {

// The drawing a fragment holds as its one object; null for any other fragment.
DiagramComp* FragmentDrawing(const DocSelection& fragment)
{
    TextComp* single = fragment.GetSingleObject();
    return single && single->IsDiagram() ? static_cast<DiagramComp*>(single) : nullptr;
}

} // namespace

bool DiagramComp::SelectBetween(const DocPosition&, const DocPosition&, DocSelection&)
{
    return false;
}

void DiagramComp::GetSelectionBounds(const DocSelection&, Rect& out) const
{
    const_cast<DiagramComp*>(this)->GetAbsBounds(out);
}

DocSelection DiagramComp::CopySelection(const DocSelection&)
{
    LinkRemap remap;
    DiagramComp* copy = CopySelection(remap);
    remap.RebindLinks();
    DocSelection span;
    ParagraphList::FromObject(nullptr, copy, &span).release();
    return span;
}

DocSelection DiagramComp::DeleteSelection(const DocSelection&, DocPosition& removedAt)
{
    removedAt = DocPosition();
    return DocSelection();
}

bool DiagramComp::CanInsert(const DocSelection& fragment, const DocPosition& at) const
{
    const DiagramComp* source = FragmentDrawing(fragment);
    return source && source != this && at.GetKind() == DocPosition::kWholeObject && at.GetObject() == this;
}

// The fragment keeps its drawing; copies of its items come in (the copy
// rebinds the value displays of its labels to the copied variables).
DocSelection DiagramComp::Insert(DocSelection& fragment, const DocPosition& at)
{
    if (!CanInsert(fragment, at))
        return DocSelection();
    LinkRemap remap;
    auto* copy = static_cast<DiagramComp*>(FragmentDrawing(fragment)->Clone(remap));
    remap.RebindLinks();
    PasteItems(copy);
    fragment.DestroyWithParagraph();
    return DocSelection::SelectObject(this);
}

void DiagramComp::SetSelectionFont(const DocSelection&, int fontId)
{
    for (DrawLabel* label : m_labels)
        if (CompList* text = label->GetText())
            text->SetFont(fontId, 1, text->GetCount() + 1);
    Changed();
}
