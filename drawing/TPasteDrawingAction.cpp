#include "drawing/TPasteDrawingAction.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/DocClipboard.h"

namespace {

// The entries of the list after a change that were not in it before.
template <typename Item>
ItemArray<Item> Added(const ItemArray<Item>& before, const ItemArray<Item>& after)
{
    ItemArray<Item> added;
    for (Item* item : after)
        if (!before.Contains(item))
            added.Add(item);
    return added;
}

} // namespace

TPasteDrawingAction::TPasteDrawingAction(DiagramComp* diagram, DocClipboard* clipboard)
    : TAction(ActionNames::kPaste, DocSelection::SelectObject(diagram)),
      m_clipboard(clipboard ? *clipboard : *gDocClipboard), m_diagram(diagram)
{
}

TPasteDrawingAction::~TPasteDrawingAction()
{
    Commit();
}

void TPasteDrawingAction::Do()
{
    if (m_removed) {
        m_diagram->PasteItems(m_removed, &m_edits);
        m_removed = nullptr;
        m_edits.Clear();
    } else {
        Paste();
    }
    m_diagram->Invalidate();
    RestoreSelection(DocSelection::SelectObject(m_diagram));
}

void TPasteDrawingAction::Paste()
{
    const ItemArray<DiagramShape> shapes = m_diagram->GetShapes();
    const ItemArray<DrawConstraint> constraints = m_diagram->GetConstraints();
    const ItemArray<DrawLabel> labels = m_diagram->GetLabels();
    DocSelection content = m_clipboard.GetContent();
    if (ActionSupport::HoldsContent(content))
        content.InsertAt(DocSelection::SelectObject(m_diagram).First());
    ActionSupport::DestroyFragment(content); // left only when it was no drawing
    m_shapes = Added(shapes, m_diagram->GetShapes());
    m_constraints = Added(constraints, m_diagram->GetConstraints());
    m_freeLabels.Clear();
    for (DrawLabel* label : Added(labels, m_diagram->GetLabels()))
        if (!label->GetOwner())
            m_freeLabels.Add(label);
}

// The pasted items alone are selected, so that the removal takes them and
// nothing the user selected since.
void TPasteDrawingAction::SelectPasted()
{
    m_diagram->DeselectAll(false);
    for (DiagramShape* shape : m_shapes)
        m_diagram->SelectShape(shape, true);
    for (DrawConstraint* constraint : m_constraints)
        m_diagram->SelectConstraint(constraint, true);
    for (DrawLabel* label : m_freeLabels)
        m_diagram->ClickLabel(label, true);
}

void TPasteDrawingAction::Undo()
{
    if (!m_shapes.IsEmpty() || !m_constraints.IsEmpty() || !m_freeLabels.IsEmpty()) {
        SelectPasted();
        m_removed = m_diagram->RemoveSelection(m_edits);
        m_diagram->Invalidate();
    }
    RestoreSelection(DocSelection::SelectObject(m_diagram));
}

// The records first: a compound shape they still hold lets go of the
// vertices that removed shapes share with it.
void TPasteDrawingAction::Commit()
{
    m_edits.Clear();
    if (m_removed)
        m_removed->Delete();
    m_removed = nullptr;
}
