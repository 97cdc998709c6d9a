#include "drawing/DiagramEdit.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/PolygonShape.h"
#include "drawing/VertexShape.h"

#include <utility>

void RemovedConstraintEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    diagram.AddConstraint(m_constraint);
    m_constraint->ApplyLock();
}

void RemovedConstraintEdit::Dispose()
{
    if (m_owns)
        delete m_constraint;
}

void RemovedLabelEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    m_owner->SetLabel(m_label);
    m_label->SetDiagram(&diagram);
}

DiagramEditGroup::DiagramEditGroup(DiagramShape* compound, ItemArray<DiagramShape> parts)
    : m_compound(compound), m_parts(std::move(parts))
{
}

void DiagramEditGroup::Apply(DiagramComp& diagram)
{
    for (DiagramShape* part : m_parts)
        diagram.InsertShape(part);
}

// The parts leave the shape list; a part of the compound that came back as
// a shape of its own (a removed side pasted back) leaves it too, so that
// every shape stands in the list once, as itself or as a part.
void DiagramEditGroup::Undo(DiagramComp& diagram)
{
    m_owns = false;
    for (DiagramShape* part : m_parts) {
        diagram.Unselect(part);
        part->Deselect();
        if (auto* polygon = dynamic_cast<PolygonShape*>(part))
            polygon->Abandon();
    }
    ItemArray<DiagramShape> own = m_compound->GetSides();
    for (VertexShape* vertex : m_compound->GetVertices())
        own.Add(vertex);
    for (DiagramShape* part : own)
        diagram.DropFromList(part);
    m_compound->ClaimParts();
    diagram.InsertShape(m_compound);
}

void DiagramEditGroup::Dispose()
{
    if (m_owns) {
        m_compound->ReleaseVertices(m_compound);
        delete m_compound;
        return;
    }
    for (DiagramShape* part : m_parts)
        if (part->IsPolygon())
            delete part;
}

void DiagramEditList::Clear()
{
    for (int i = m_edits.GetCount(); i-- > 0;) {
        DiagramEdit* edit = m_edits.GetAt(i);
        edit->Dispose();
        delete edit;
    }
    m_edits.Clear();
}

void DiagramEditList::UndoAll(DiagramComp& diagram)
{
    for (DiagramEdit* edit : m_edits)
        if (edit->IsGroup())
            edit->Undo(diagram);
    for (DiagramEdit* edit : m_edits)
        if (!edit->IsGroup())
            edit->Undo(diagram);
}
