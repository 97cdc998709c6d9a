#include "drawing/DrawingEditActions.h"

#include "drawing/DiagramComp.h"
#include "foundation/ActionNames.h"
#include "foundation/DocClipboard.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphList.h"

namespace {

// The first removal keeps what was selected; a redo selects it again.
DiagramComp* Remove(DiagramComp& diagram, DiagramEditList& edits, DiagramComp::ItemSelection& selection, bool& kept)
{
    if (kept)
        diagram.SetItemSelection(selection);
    else
        selection = diagram.GetItemSelection();
    kept = true;
    DiagramComp* removed = diagram.RemoveSelection(edits);
    diagram.Invalidate();
    return removed;
}

// The removed items go back, selected as they were; the records then own
// nothing.
void PutBack(DiagramComp& diagram, DiagramComp*& removed, DiagramEditList& edits,
             const DiagramComp::ItemSelection& selection)
{
    diagram.PasteItems(removed, &edits);
    removed = nullptr;
    edits.Clear();
    diagram.SetItemSelection(selection);
    diagram.Invalidate();
}

// The records first: a compound shape they still hold lets go of the
// vertices that removed shapes share with it.
void Free(DiagramComp*& removed, DiagramEditList& edits)
{
    edits.Clear();
    if (removed)
        removed->Delete();
    removed = nullptr;
}

} // namespace

TDeleteDrawingAction::TDeleteDrawingAction(DiagramComp* diagram)
    : TAction(ActionNames::kDelete, DocSelection::SelectObject(diagram)), m_diagram(diagram)
{
}

TDeleteDrawingAction::~TDeleteDrawingAction()
{
    if (m_done)
        Free(m_removed, m_edits);
}

void TDeleteDrawingAction::Do()
{
    m_removed = Remove(*m_diagram, m_edits, m_selection, m_selectionKept);
    RestoreSelection(DocSelection::SelectObject(m_diagram));
}

void TDeleteDrawingAction::Undo()
{
    PutBack(*m_diagram, m_removed, m_edits, m_selection);
    RestoreSelection(DocSelection::SelectObject(m_diagram));
}

void TDeleteDrawingAction::Commit()
{
    if (m_done)
        Free(m_removed, m_edits);
}

TCutDrawingAction::TCutDrawingAction(DiagramComp* diagram, DocClipboard* clipboard)
    : TCopyAction(DocSelection::SelectObject(diagram), clipboard), m_diagram(diagram)
{
    m_nameId = ActionNames::kCut;
}

TCutDrawingAction::~TCutDrawingAction()
{
    if (m_done)
        Free(m_removed, m_edits);
}

void TCutDrawingAction::Do()
{
    m_removed = Remove(*m_diagram, m_edits, m_selection, m_selectionKept);
    SaveEarlier();
    try {
        LinkRemap remap;
        TextComp* copy = m_removed->Clone(remap);
        remap.RebindLinks();
        DocSelection span;
        ParagraphList::FromObject(nullptr, copy, &span).release();
        m_clipboard.Put(span);
    } catch (...) {
        // Without the copy on the clipboard nothing is cut: the items go back.
        RestoreEarlier();
        PutBack(*m_diagram, m_removed, m_edits, m_selection);
        throw;
    }
    RestoreSelection(DocSelection::SelectObject(m_diagram));
}

void TCutDrawingAction::Undo()
{
    RestoreEarlier();
    PutBack(*m_diagram, m_removed, m_edits, m_selection);
    RestoreSelection(DocSelection::SelectObject(m_diagram));
}

void TCutDrawingAction::Commit()
{
    if (m_done)
        Free(m_removed, m_edits);
    CommitClipboard();
}
