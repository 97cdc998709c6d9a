#include "drawing/DiagramEdit.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/GroupConstraints.h"
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

void EqualLengthSegmentsEdit::Undo(DiagramComp&)
{
    m_owns = false;
    m_constraint->AddSegments(m_segments);
    m_segments.clear();
}

void EqualLengthEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    diagram.RemoveConstraint(m_removed);
    m_kept->AddSegments(m_removed->TakeSegments());
    delete m_removed;
}

void RemovedLabelEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    m_owner->SetLabel(m_label);
    m_label->SetDiagram(&diagram);
}

void ListedPartEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    diagram.RestoreListedPart(m_part);
}

void RelistedPointEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    diagram.UnlistPoint(m_part);
}

ListOrderEdit::ListOrderEdit(const DiagramComp& diagram)
    : m_shapes(diagram.GetShapes()), m_constraints(diagram.GetConstraints()), m_labels(diagram.GetLabels())
{
    for (DrawConstraint* constraint : m_constraints)
        if (auto* equal = dynamic_cast<EqualLengthConstraint*>(constraint))
            m_segments.emplace_back(equal, equal->GetSegments());
}

void ListOrderEdit::Undo(DiagramComp& diagram)
{
    m_owns = false;
    diagram.RestoreOrder(m_shapes, m_constraints, m_labels);
    for (const auto& [constraint, segments] : m_segments)
        constraint->OrderSegmentsLike(segments);
}

DiagramEditGroup::DiagramEditGroup(DiagramShape* compound, ItemArray<DiagramShape> parts)
    : m_compound(compound), m_parts(std::move(parts))
{
}

// A part another record left listed already (the far end of two segments
// that lost the same vertex) is listed once.
void DiagramEditGroup::Apply(DiagramComp& diagram)
{
    for (DiagramShape* part : m_parts)
        if (!diagram.GetShapes().Contains(part))
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
    for (DiagramShape* part : m_compound->GetParts())
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

// A later group may replace what an earlier one made (a second part removed
// from the polygon left by the first): the earlier compound still names the
// parts the later one frees, so it lets go of them first.
void DiagramEditList::Clear()
{
    for (DiagramEdit* edit : m_edits) {
        edit->Dispose();
        delete edit;
    }
    m_edits.Clear();
}

// Later groups are undone first, so that each finds the shapes it made.
void DiagramEditList::UndoAll(DiagramComp& diagram)
{
    for (int i = m_edits.GetCount(); i-- > 0;)
        if (m_edits.GetAt(i)->IsGroup())
            m_edits.GetAt(i)->Undo(diagram);
    for (DiagramEdit* edit : m_edits)
        if (!edit->IsGroup())
            edit->Undo(diagram);
}
