#include "drawing/DiagramComp.h"

#include "drawing/DiagramActions.h"

#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawIdentities.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawPile.h"
#include "drawing/DrawTool.h"
#include "foundation/MouseTracker.h"
#include "drawing/DrawVariable.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/KeptRecords.h"
#include "drawing/PointConstraints.h"
#include "drawing/TEditValueAction.h"
#include "drawing/VertexShape.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "plot/PlotCurveSet.h"

#include <set>
#include <unordered_set>
#include <utility>

using namespace drawing;

// Each shape forgets its parts first, so that nothing is freed twice
// whatever the parts' use counts and owners say.
void DeleteShapes(const std::vector<DiagramShape*>& shapes)
{
    std::set<DiagramShape*> all;
    std::vector<DiagramShape*> pending(shapes.begin(), shapes.end());
    while (!pending.empty()) {
        DiagramShape* shape = pending.back();
        pending.pop_back();
        if (!shape || !all.insert(shape).second)
            continue;
        for (DiagramShape* part : shape->GetParts())
            pending.push_back(part);
        for (VertexShape* vertex : shape->GetVertexUses())
            pending.push_back(vertex);
    }
    for (DiagramShape* shape : all)
        shape->ForgetParts();
    for (DiagramShape* shape : all)
        delete shape;
}

// A listed vertex is held while the other shapes go, so that a vertex both
// listed and used (as drawings once stored them) is freed once.
void DeleteByUse(const ItemArray<DiagramShape>& shapes)
{
    std::vector<DiagramShape*> vertices;
    std::vector<DiagramShape*> others;
    for (DiagramShape* shape : shapes) {
        if (shape->IsVertexShape()) {
            static_cast<VertexShape*>(shape)->AddUse();
            vertices.push_back(shape);
        } else {
            others.push_back(shape);
        }
    }
    for (DiagramShape* shape : others)
        delete shape;
    for (DiagramShape* shape : vertices)
        delete shape;
}

// ---- construction ----

DiagramComp::DiagramComp()
{
    SetDefaults();
    m_variables.SetOwner(this);
}

DiagramComp::DiagramComp(const DiagramDC& dc, int32_t width, int32_t height, ItemArray<DiagramShape> shapes,
                         ItemArray<DrawConstraint> constraints, ItemArray<DrawLabel> freeLabels,
                         const DiagramComp& settings)
    : m_dc(dc), m_width(width), m_height(height)
{
    CopySettingsFrom(settings);
    m_variables.SetOwner(this);
    AdoptItems(std::move(shapes), std::move(constraints), std::move(freeLabels));
}

void DiagramComp::SetDefaults()
{
    m_xName = Str255("x");
    m_yName = Str255("y");
}

void DiagramComp::CopySettingsFrom(const DiagramComp& other)
{
    m_showAxes = other.m_showAxes;
    m_xName = other.m_xName;
    m_yName = other.m_yName;
    m_showGrid = other.m_showGrid;
    m_gridThickness = other.m_gridThickness;
    m_gridColour = other.m_gridColour;
    m_showFrame = other.m_showFrame;
    m_keptRecords = other.m_keptRecords;
    m_sizeStep = other.m_sizeStep;
}

void DiagramComp::AdoptItems(ItemArray<DiagramShape> shapes, ItemArray<DrawConstraint> constraints,
                             ItemArray<DrawLabel> freeLabels)
{
    m_shapes = std::move(shapes);
    m_constraints = std::move(constraints);
    m_labels = std::move(freeLabels);
    std::unordered_set<const DrawLabel*> listed(m_labels.begin(), m_labels.end());
    for (DiagramShape* shape : m_shapes) {
        shape->Attach(this);
        for (DrawLabel* label : shape->GetLabels())
            if (listed.insert(label).second)
                m_labels.Add(label);
    }
    for (DrawConstraint* constraint : m_constraints) {
        constraint->SetVariableTag(this);
        if (constraint->HasLabel())
            m_labels.Add(constraint->GetLabel());
    }
    for (DrawLabel* label : m_labels)
        label->SetDiagram(this);
}

DiagramComp::~DiagramComp()
{
    DropPile();
    DrawIdentities::ForgetDiagram(this);
    FreeItems();
    DrawContext::DeleteMetafile(m_picture);
}

// Free labels first (a label of an item goes with its item), then the
// shapes with their parts, then the constraints.
void DiagramComp::FreeItems()
{
    for (DrawLabel* label : m_labels)
        if (!label->GetOwner())
            delete label;
    m_labels.Clear();
    // Kept records use vertices without telling them, so their use counts
    // cannot say when a vertex is free.
    if (m_keptRecords)
        DeleteShapes(std::vector<DiagramShape*>(m_shapes.begin(), m_shapes.end()));
    else
        DeleteByUse(m_shapes);
    m_shapes.Clear();
    m_listedParts.clear();
    for (DrawConstraint* constraint : m_constraints)
        delete constraint;
    m_constraints.Clear();
    ClearDragConstraints();
    m_selectedShapes.Clear();
    m_selectedConstraints.Clear();
}

// ---- items ----

void DiagramComp::AddShape(DiagramShape* shape)
{
    shape->Attach(this);
    m_shapes.Add(shape);
    for (DrawLabel* label : shape->GetLabels()) {
        label->SetDiagram(this);
        m_labels.AddOnce(label);
    }
    Changed();
}

void DiagramComp::AddConstraint(DrawConstraint* constraint)
{
    m_constraints.Add(constraint);
    constraint->SetVariableTag(this);
    // A removal's undo may have given the label back already.
    if (DrawLabel* label = constraint->GetLabel()) {
        label->SetDiagram(this);
        m_labels.AddOnce(label);
    }
    Changed();
}

void DiagramComp::AddLabel(DrawLabel* label)
{
    label->SetDiagram(this);
    m_labels.Add(label);
    Changed();
}

void DiagramComp::AddReadLabel(DrawLabel* label)
{
    label->SetDiagram(this);
    m_labels.Add(label);
}

void DiagramComp::RemoveLabel(DrawLabel* label)
{
    m_labels.Remove(label);
    Changed();
}

void DiagramComp::RemoveConstraint(DrawConstraint* constraint)
{
    m_constraints.Remove(constraint);
    m_selectedConstraints.Remove(constraint);
    constraint->Deselect();
    if (DrawLabel* label = constraint->GetLabel())
        m_labels.Remove(label);
    Changed();
}

void DiagramComp::ReapplyLocks()
{
    for (DrawConstraint* constraint : m_constraints)
        constraint->ApplyLock();
}

ItemArray<DrawLabel> DiagramComp::DetachLabels()
{
    return std::exchange(m_labels, {});
}

void DiagramComp::InsertShape(DiagramShape* shape)
{
    m_shapes.Add(shape);
    if (shape->HasAnyLabel())
        for (DrawLabel* label : shape->GetLabels()) {
            label->SetDiagram(this);
            m_labels.AddOnce(label);
        }
    Changed();
}

void DiagramComp::InsertShapeAt(int index, DiagramShape* shape)
{
    InsertShape(shape);
    m_shapes.Remove(shape);
    m_shapes.InsertAt(index, shape);
}

// Parts of the shape leave the selection and the labels with it, unless a
// shape that stays holds them too (a corner it shared).
void DiagramComp::TakeOutShape(DiagramShape* shape)
{
    Unselect(shape);
    shape->Deselect();
    SettleOwners();
    const std::set<const DiagramItem*> held = HeldItems();
    const ItemArray<DiagramShape> selected = m_selectedShapes;
    for (DiagramShape* item : selected)
        if (!held.count(item)) {
            m_selectedShapes.Remove(item);
            item->Deselect();
        }
    ForgetLabelsNotHeld(held);
}

void DiagramComp::ForgetLabelsNotHeld(const std::set<const DiagramItem*>& held)
{
    const ItemArray<DrawLabel> listed = m_labels;
    for (DrawLabel* label : listed)
        if (dynamic_cast<DiagramShape*>(label->GetOwner()) && !held.count(label->GetOwner()))
            m_labels.Remove(label);
}

void DiagramComp::Unselect(DiagramShape* shape)
{
    m_shapes.Remove(shape);
    m_selectedShapes.Remove(shape);
    Changed();
}

void DiagramComp::DropFromList(DiagramShape* shape)
{
    m_shapes.Remove(shape);
    Changed();
}

void DiagramComp::RestoreShapeList(const ItemArray<DiagramShape>& shapes)
{
    DeselectAll(false);
    m_shapes = shapes;
    Changed();
}

ItemArray<DiagramShape> DiagramComp::TakeShapes()
{
    m_selectedShapes.Clear();
    return std::exchange(m_shapes, {});
}

ItemArray<DrawConstraint> DiagramComp::TakeConstraints()
{
    m_selectedConstraints.Clear();
    return std::exchange(m_constraints, {});
}

void DiagramComp::ClearDragConstraints()
{
    for (DrawConstraint* constraint : m_dragConstraints)
        delete constraint;
    m_dragConstraints.Clear();
}

ItemArray<VertexShape> DiagramComp::GetSelectedVertices() const
{
    return CollectVertices(m_selectedShapes);
}

void DiagramComp::Changed()
{
    m_pictureStale = true;
    Invalidate();
    InvalidateBox();
}

// ---- selection ----

void DiagramComp::SelectShape(DiagramShape* shape, bool toggle)
{
    const bool selected = shape->IsSelected() && m_selectedShapes.Contains(shape);
    if (!toggle && selected)
        return;
    if (toggle && selected) {
        Unpick(shape);
    } else {
        if (!toggle)
            DeselectAll(false);
        m_selectedShapes.Add(shape);
        shape->Select();
    }
    Changed();
}

// Deselecting a shape clears the marks of its parts: a part still selected
// on its own is marked again.
void DiagramComp::Unpick(DiagramShape* shape)
{
    m_selectedShapes.Remove(shape);
    shape->Deselect();
    for (DiagramShape* other : m_selectedShapes)
        other->Select();
}

void DiagramComp::SelectConstraint(DrawConstraint* constraint, bool toggle)
{
    const bool selected = constraint->IsSelected();
    if (!toggle && selected)
        return;
    if (toggle && selected) {
        m_selectedConstraints.Remove(constraint);
        constraint->Deselect();
    } else {
        if (!toggle)
            DeselectAll(false);
        m_selectedConstraints.Add(constraint);
        constraint->Select();
    }
    Changed();
}

void DiagramComp::DeselectAll(bool rebuild)
{
    for (DrawLabel* label : m_labels)
        label->Deselect();
    for (DiagramShape* shape : m_selectedShapes)
        shape->Deselect();
    for (DrawConstraint* constraint : m_selectedConstraints)
        constraint->Deselect();
    m_selectedShapes.Clear();
    m_selectedConstraints.Clear();
    if (rebuild)
        Changed();
}

DiagramComp::ItemSelection DiagramComp::GetItemSelection() const
{
    ItemSelection selection{m_selectedShapes, m_selectedConstraints, {}};
    for (DrawLabel* label : m_labels)
        if (label->IsSelected())
            selection.labels.Add(label);
    return selection;
}

void DiagramComp::SetItemSelection(const ItemSelection& selection)
{
    DeselectAll(false);
    const std::set<const DiagramItem*> held = HeldItems();
    for (DiagramShape* shape : selection.shapes)
        if (held.count(shape)) {
            m_selectedShapes.Add(shape);
            shape->Select();
        }
    for (DrawConstraint* constraint : selection.constraints)
        if (m_constraints.Contains(constraint)) {
            m_selectedConstraints.Add(constraint);
            constraint->Select();
        }
    for (DrawLabel* label : selection.labels)
        if (m_labels.Contains(label))
            label->Select();
    Changed();
}

void DiagramComp::SelectInRect(const DPoint& topLeft, const DPoint& bottomRight, bool extend)
{
    ItemArray<DiagramShape> found = extend ? m_selectedShapes : ItemArray<DiagramShape>();
    if (!extend)
        DeselectAll(false);
    for (DiagramShape* shape : m_shapes)
        for (DiagramShape* item : shape->ItemsInRect(topLeft, bottomRight)) {
            item->Select();
            found.AddOnce(item);
        }
    m_selectedShapes = std::move(found);
    for (DrawConstraint* constraint : m_constraints)
        if (constraint->IsInRect(topLeft, bottomRight)) {
            constraint->Select();
            m_selectedConstraints.AddOnce(constraint);
        }
    Changed();
}

bool DiagramComp::HasSelection() const
{
    if (!m_selectedShapes.IsEmpty() || !m_selectedConstraints.IsEmpty())
        return true;
    for (DrawLabel* label : m_labels)
        if (label->IsSelected())
            return true;
    return false;
}

void DiagramComp::SelectOwners()
{
    ItemArray<DiagramShape> owners;
    for (DiagramShape* shape : m_selectedShapes) {
        shape->Deselect();
        owners.AddOnce(shape->GetTopShape());
    }
    for (DiagramShape* owner : owners)
        owner->Select();
    m_selectedShapes = std::move(owners);
    Changed();
}

void DiagramComp::ClickSelect(const IntPoint& device, bool extend)
{
    const DPoint w = m_dc.ScreenToWorld(device);
    bool selectedHit = false;
    for (DiagramShape* shape : m_selectedShapes)
        selectedHit = selectedHit || shape->HitTest(w, m_dc) != nullptr;
    if (!extend && !selectedHit)
        DeselectAll(false);
    ItemArray<DiagramShape> seen;
    for (DiagramShape* shape : m_shapes) {
        auto* item = dynamic_cast<DiagramShape*>(shape->HitTest(w, m_dc));
        if (!item || seen.Contains(item))
            continue;
        seen.Add(item);
        const bool ownerSelected = item->GetOwnerShape() && item->GetOwnerShape()->IsSelected();
        if (!item->IsSelected() && !ownerSelected) {
            m_selectedShapes.Add(item);
            item->Select();
        } else if (item->IsSelected() && extend) {
            Unpick(item);
        }
    }
    Changed();
}

void DiagramComp::ClickSelectConstraint(const IntPoint& device, bool extend)
{
    const DPoint w = m_dc.ScreenToWorld(device);
    bool selectedHit = false;
    for (DrawConstraint* constraint : m_selectedConstraints)
        selectedHit = selectedHit || constraint->HitTest(w, m_dc) == constraint;
    if (!extend && !selectedHit)
        DeselectAll(false);
    for (DrawConstraint* constraint : m_constraints) {
        if (constraint->HitTest(w, m_dc) != constraint)
            continue;
        if (!constraint->IsSelected()) {
            m_selectedConstraints.Add(constraint);
            constraint->Select();
        } else if (extend) {
            m_selectedConstraints.Remove(constraint);
            constraint->Deselect();
        }
    }
    Changed();
}

void DiagramComp::ClickLabel(DrawLabel* label, bool extend)
{
    if (extend) {
        if (label->IsSelected())
            label->Deselect();
        else
            label->Select();
    } else if (!label->IsSelected()) {
        DeselectAll(false);
        label->Select();
    }
    Changed();
}

// ---- queries ----

ItemArray<DiagramItem> DiagramComp::ShapesAt(const DPoint& point)
{
    ItemArray<DiagramItem> hits;
    for (DiagramShape* shape : m_shapes)
        if (DiagramItem* item = shape->HitTest(point, m_dc))
            hits.Add(item);
    return hits;
}

VertexShape* DiagramComp::VertexAt(const DPoint& point)
{
    for (DiagramShape* shape : m_shapes) {
        auto* item = dynamic_cast<DiagramShape*>(shape->HitTest(point, m_dc));
        if (item && item->IsVertexShape())
            return static_cast<VertexShape*>(item);
    }
    return nullptr;
}

DrawHit DiagramComp::HitItem(const IntPoint& device)
{
    const DPoint w = m_dc.ScreenToWorld(device);
    for (DrawLabel* label : m_labels) {
        if (label->HitText(device))
            return {DrawHitKind::LabelText, nullptr, label};
        if (label->IsShown() && label->HitFrame(w))
            return {DrawHitKind::Label, nullptr, label};
    }
    for (DrawConstraint* constraint : m_constraints)
        if (DiagramItem* item = constraint->HitTest(w, m_dc))
            return {item->IsShape() ? DrawHitKind::Shape : DrawHitKind::Constraint, item, nullptr};
    for (DiagramShape* shape : m_shapes)
        if (DiagramItem* item = shape->HitTest(w, m_dc))
            return {DrawHitKind::Shape, item, nullptr};
    return {};
}

// ---- order and style ----

void DiagramComp::BringToFront()
{
    for (DiagramShape* shape : m_selectedShapes)
        m_shapes.MoveToBack(shape->GetTopShape());
    Changed();
}

void DiagramComp::SendToBack()
{
    for (DiagramShape* shape : m_selectedShapes)
        m_shapes.MoveToFront(shape->GetTopShape());
    Changed();
}

bool DiagramComp::GetSelectionStyle(ShapeStyle& style) const
{
    if (m_selectedShapes.IsEmpty())
        return false;
    style = m_selectedShapes.GetAt(0)->GetStyle();
    for (DiagramShape* shape : m_selectedShapes)
        if (shape->IsClosed())
            return true;
    return false;
}

// The dialog showed the first selected shape's style; the sides of compound
// shapes take only what the user changed from it (see Restyle).
void DiagramComp::SetSelectionStyle(const ShapeStyle& style)
{
    if (m_selectedShapes.IsEmpty())
        return;
    const ShapeStyle shown = m_selectedShapes.GetAt(0)->GetStyle();
    for (DiagramShape* shape : m_selectedShapes)
        shape->Restyle(shown, style);
    Changed();
}

void DiagramComp::SetVerticesShown(bool shown)
{
    for (VertexShape* vertex : CollectVertices(m_shapes)) {
        if (shown)
            vertex->ShowVertex();
        else
            vertex->HideVertex();
    }
    DeselectAll(true);
}

void DiagramComp::SetConstraintsShown(bool shown)
{
    for (DrawConstraint* constraint : m_constraints) {
        if (shown)
            constraint->ShowConstraint();
        else
            constraint->HideConstraint();
    }
    for (DiagramShape* shape : m_shapes) {
        if (shown)
            shape->ShowConstraint();
        else
            shape->HideConstraint();
    }
    DeselectAll(true);
}

// ---- values ----

void DiagramComp::AddPendingMove(DrawVariable* variable, double value)
{
    m_pendingMoves.push_back({variable, value});
}

std::vector<PendingMove> DiagramComp::TakePendingMoves()
{
    return RefreshForMoves(std::exchange(m_pendingMoves, {}));
}

std::vector<PendingMove> DiagramComp::RefreshForMoves(std::vector<PendingMove> moves)
{
    // The refresh may drop named variables the kernel no longer reports: a
    // move of one of those has nothing left to move.
    std::set<const DrawVariable*> named;
    for (int i = 0; i < m_variables.GetCount(); ++i)
        named.insert(m_variables.GetAt(i).variable.get());
    UpdateNamedVariables();
    for (int i = 0; i < m_variables.GetCount(); ++i)
        named.erase(m_variables.GetAt(i).variable.get());
    std::erase_if(moves, [&](const PendingMove& move) { return named.count(move.variable) != 0; });
    return moves;
}

std::vector<RadiusConstraint*> DiagramComp::RadiiHolding(const DrawVariable* variable) const
{
    std::vector<RadiusConstraint*> radii;
    for (DrawConstraint* constraint : m_constraints)
        if (auto* radius = dynamic_cast<RadiusConstraint*>(constraint); radius && radius->GetVariable(0) == variable)
            radii.push_back(radius);
    return radii;
}

// A fixed radius keeps the state the user gives it when the drawing locks
// its constraints again (after a delete or an undo).
void DiagramComp::SetVariableLocked(DrawVariable* variable, bool locked)
{
    variable->SetFixed(locked);
    for (RadiusConstraint* radius : RadiiHolding(variable))
        radius->SetLocked(locked);
}

// The same step as a value typed into a value display, performed at once.
void DiagramComp::ChangeVariable(DrawVariable* variable, double value)
{
    TEditValueAction change(this, variable, variable->IsFixed(), value);
    change.Perform();
    change.Commit();
}

// ---- copy and paste ----

namespace {

// A constraint that binds no item (an equation) goes with a partial copy
// only when it is selected itself.
bool IsUnboundUnselected(const DrawConstraint& constraint)
{
    return constraint.BindsNoItem() && !constraint.IsSelected();
}

// A part selected with a shape that holds it (a corner and its triangle, a
// vertex and a segment on it) comes along in the copy of that shape: only
// the copies no other copy holds are listed.
ItemArray<DiagramShape> OutermostCopies(const ItemArray<DiagramShape>& copies)
{
    std::set<const DiagramShape*> held;
    for (DiagramShape* copy : copies) {
        for (DiagramShape* part : copy->GetParts()) {
            held.insert(part);
            for (DiagramShape* inner : part->GetParts())
                held.insert(inner);
        }
        for (VertexShape* vertex : copy->GetVertexUses())
            held.insert(vertex);
    }
    ItemArray<DiagramShape> outermost;
    for (DiagramShape* copy : copies)
        if (!held.count(copy))
            outermost.AddOnce(copy);
    return outermost;
}

} // namespace

DiagramComp* DiagramComp::CopyItems(LinkRemap& remap, bool selectedOnly)
{
    ItemCopyMap map(&remap);
    ItemArray<DiagramShape> shapes;
    for (DiagramShape* shape : selectedOnly ? m_selectedShapes : m_shapes)
        shapes.Add(map.FindOrClone(shape));
    if (selectedOnly)
        shapes = OutermostCopies(shapes);
    ItemArray<DrawConstraint> constraints;
    for (DrawConstraint* constraint : m_constraints) {
        DrawConstraint* copy = nullptr;
        if (!selectedOnly && constraint->IsKeptRecord())
            copy = static_cast<KeptConstraint*>(constraint)->Duplicate();
        else if (!constraint->IsKeptRecord() && (!selectedOnly || !IsUnboundUnselected(*constraint)))
            copy = constraint->Copy(map);
        if (copy)
            constraints.Add(copy);
    }
    ItemArray<DrawLabel> labels;
    for (DrawLabel* label : m_labels)
        if (!label->GetOwner() && (!selectedOnly || label->IsSelected()))
            labels.Add(label->Clone(map));
    auto* copy = new DiagramComp(m_dc, m_width, m_height, std::move(shapes), std::move(constraints),
                                 std::move(labels), *this);
    // Kept records use vertices without telling them; a whole copy keeps
    // the counts as they were.
    if (!selectedOnly && m_keptRecords)
        for (VertexShape* vertex : CollectVertices(m_shapes))
            static_cast<VertexShape*>(map.LookupItem(vertex))->SetUseCount(vertex->GetUseCount());
    if (!selectedOnly)
        for (const ListedPart& part : m_listedParts)
            if (auto* image = dynamic_cast<DiagramShape*>(map.LookupItem(part.shape)))
                copy->m_listedParts.push_back({part.index, image});
    if (!selectedOnly) {
        copy->m_variables.CopyFrom(m_variables, map);
        copy->m_variables.SetOwner(copy);
    } else {
        copy->SettleOwners();
    }
    return copy;
}

TextComp* DiagramComp::Clone(LinkRemap& remap)
{
    return CopyItems(remap, false);
}

DiagramComp* DiagramComp::CopySelection(LinkRemap& remap)
{
    DiagramComp* copy = CopyItems(remap, true);
    copy->m_keptRecords = false;
    return copy;
}

// ---- editing state ----

bool DiagramComp::SetSize(int32_t width, int32_t height)
{
    constexpr int32_t kMaxSize = INT16_MAX;
    if (width < 1 || height < 1 || width > kMaxSize || height > kMaxSize)
        return false;
    m_width = width;
    m_height = height;
    m_allPlotsDue = true;
    Changed();
    return true;
}

void DiagramComp::EndEdit(bool deselect)
{
    m_active = false;
    if (deselect)
        DeselectAll(true);
}
