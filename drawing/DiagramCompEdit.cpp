// Removing items from a drawing and putting them back.
//
// Ownership: every listed shape has no owner; a vertex is either listed
// (used by no listed shape) or a part, owned by the listed shape that holds
// it; each side or edge belongs to one shape; a vertex's use count counts
// the edges and circles that use it, including those of compound shapes
// that a pending removal still holds.
#include "drawing/DiagramComp.h"

#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/GroupConstraints.h"
#include "drawing/VertexShape.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

void DiagramComp::PasteItems(DiagramComp* source, DiagramEditList* edits)
{
    DeselectAll(false);
    for (DiagramShape* shape : source->m_shapes) {
        shape->Attach(this);
        m_shapes.Add(shape);
        if (shape->IsKeptRecord())
            continue;
        m_selectedShapes.Add(shape);
        shape->Select();
    }
    source->m_shapes.Clear();
    for (DrawConstraint* constraint : source->m_constraints) {
        constraint->SetVariableTag(this);
        constraint->ApplyLock();
        m_constraints.Add(constraint);
    }
    source->m_constraints.Clear();
    for (DrawLabel* label : source->m_labels) {
        label->SetDiagram(this);
        label->Deselect();
        m_labels.AddOnce(label);
    }
    source->m_labels.Clear();
    m_keptRecords = m_keptRecords || source->m_keptRecords;
    source->Delete();
    if (edits) {
        edits->UndoAll(*this);
        SettleOwners();
    }
    Changed();
}

void DiagramComp::TakeLabelsOf(DiagramShape* shape)
{
    if (shape->HasAnyLabel())
        for (DrawLabel* label : shape->GetLabels())
            m_labels.Remove(label);
}

namespace {

bool UsesAnyOf(const DrawConstraint& constraint, const std::set<const DrawVariable*>& variables)
{
    if (variables.empty())
        return false;
    for (const DrawVariable* variable : constraint.GetUsedVariables())
        if (variables.count(variable))
            return true;
    return false;
}

// The list in the order of the model; entries the model lacks keep their
// order after the others.
template <class T>
void Reorder(ItemArray<T>& list, const ItemArray<T>& model)
{
    std::map<const T*, int> rank;
    for (T* item : model)
        rank.emplace(item, static_cast<int>(rank.size()));
    std::vector<T*> items(list.begin(), list.end());
    const auto rankOf = [&rank](const T* item) {
        auto it = rank.find(item);
        return it == rank.end() ? std::numeric_limits<int>::max() : it->second;
    };
    std::stable_sort(items.begin(), items.end(), [&](const T* a, const T* b) { return rankOf(a) < rankOf(b); });
    list.Clear();
    for (T* item : items)
        list.Add(item);
}

constexpr int kAllBoundSelected = 5;
constexpr int kSomeBoundSelected = 4;

} // namespace

// A selected constraint goes at once. One that the selection of its items
// touches waits until the shapes are gone (pending): an item counts as
// selected while its owner is, though another shape that stays may hold it
// (the centre of two circles).
void DiagramComp::RemoveConstraintsOfSelection(ItemArray<DrawConstraint>& removed, DiagramEditList& edits,
                                               std::vector<std::pair<DrawConstraint*, int>>& pending)
{
    for (int i = 0; i < m_constraints.GetCount(); ++i) {
        DrawConstraint* constraint = m_constraints.GetAt(i);
        if (constraint->IsKeptRecord())
            continue;
        if (constraint->IsSelected()) {
            TakeOutConstraint(constraint);
            --i;
            removed.Add(constraint);
            continue;
        }
        const int code = constraint->SelectionCode();
        if (code == kAllBoundSelected || code == kSomeBoundSelected) {
            pending.emplace_back(constraint, code);
            continue;
        }
        if (auto* equal = dynamic_cast<EqualLengthConstraint*>(constraint); equal && code != 0)
            if (SplitEqualLength(equal, code, removed, edits))
                --i;
    }
}

// A pending constraint that binds and uses only what stays, stays; else it
// goes with the removal when all its items were selected, or is dropped and
// kept for undo when some were.
void DiagramComp::SettlePendingConstraints(const std::vector<std::pair<DrawConstraint*, int>>& pending,
                                           const std::set<const DiagramItem*>& held,
                                           const std::set<const DrawVariable*>& freedVariables,
                                           ItemArray<DrawConstraint>& removed, DiagramEditList& edits)
{
    for (auto [constraint, code] : pending) {
        const std::vector<const DiagramItem*> bound = constraint->GetBoundItems();
        const bool allHeld =
            std::all_of(bound.begin(), bound.end(), [&held](const DiagramItem* item) { return held.count(item) > 0; });
        if (allHeld && !UsesAnyOf(*constraint, freedVariables))
            continue;
        TakeOutConstraint(constraint);
        if (code == kAllBoundSelected)
            removed.Add(constraint);
        else
            edits.Add(new RemovedConstraintEdit(constraint));
    }
}

void DiagramComp::TakeOutConstraint(DrawConstraint* constraint)
{
    constraint->ReleaseLock();
    m_selectedConstraints.Remove(constraint);
    constraint->Deselect();
    m_constraints.Remove(constraint);
    if (constraint->HasLabel())
        m_labels.Remove(constraint->GetLabel());
}

// What a removal frees: the variables of the removed shapes and of the
// compounds it replaced (a circle's radius, the control points of a curve
// that lost an end), less those of every shape that stays.
std::set<const DrawVariable*> DiagramComp::FreedVariables(const ItemArray<DiagramShape>& removed,
                                                          const DiagramEditList& edits,
                                                          const std::set<const DiagramItem*>& held)
{
    std::set<const DrawVariable*> variables;
    std::vector<DiagramShape*> pending(removed.begin(), removed.end());
    for (DiagramEdit* edit : edits.GetEdits())
        if (auto* group = dynamic_cast<DiagramEditGroup*>(edit))
            pending.push_back(group->GetCompound());
    std::set<const DiagramShape*> seen;
    while (!pending.empty()) {
        DiagramShape* shape = pending.back();
        pending.pop_back();
        if (!seen.insert(shape).second)
            continue;
        for (DrawVariable* variable : shape->GetVariables())
            variables.insert(variable);
        for (DiagramShape* part : shape->GetParts())
            pending.push_back(part);
    }
    for (const DiagramItem* item : held)
        if (auto* shape = dynamic_cast<const DiagramShape*>(item))
            for (DrawVariable* variable : shape->GetVariables())
                variables.erase(variable);
    return variables;
}

std::set<const DiagramItem*> DiagramComp::HeldItems() const
{
    std::set<const DiagramItem*> held;
    std::vector<DiagramShape*> pending(m_shapes.begin(), m_shapes.end());
    while (!pending.empty()) {
        DiagramShape* shape = pending.back();
        pending.pop_back();
        if (!held.insert(shape).second)
            continue;
        for (DiagramShape* part : shape->GetParts())
            pending.push_back(part);
        for (VertexShape* vertex : shape->GetVertices())
            pending.push_back(vertex);
    }
    return held;
}

// A constraint bound to an item that no shape left in the drawing holds
// (the sides of a triangle whose corner went, a free segment that lost an
// end) would outlive that item once the removal is final: it goes with the
// removal, kept for undo. An equal-length constraint that keeps two segments
// gives up only the others.
void DiagramComp::DropConstraintsOfFreedItems(const std::set<const DiagramItem*>& held,
                                              const std::set<const DrawVariable*>& freedVariables,
                                              DiagramEditList& edits)
{
    const ItemArray<DrawConstraint> all = m_constraints;
    for (DrawConstraint* constraint : all) {
        const std::vector<const DiagramItem*> bound = constraint->GetBoundItems();
        const auto freed = [&held](const DiagramItem* item) { return !held.count(item); };
        const auto count = std::count_if(bound.begin(), bound.end(), freed);
        if (count == 0 && !UsesAnyOf(*constraint, freedVariables))
            continue;
        auto* equal = dynamic_cast<EqualLengthConstraint*>(constraint);
        if (equal && bound.size() - static_cast<size_t>(count) >= 2) {
            edits.Add(new EqualLengthSegmentsEdit(equal, equal->SplitOffSegments(freed)));
            continue;
        }
        TakeOutConstraint(constraint);
        edits.Add(new RemovedConstraintEdit(constraint));
    }
}

// An equal-length constraint with segments on both sides of a removal keeps
// those of the larger side: 2 keeps the unselected ones, 1 also moves the
// selected ones out under a new constraint, 3 moves out with the selected
// ones. Answers whether it left the list.
bool DiagramComp::SplitEqualLength(EqualLengthConstraint* constraint, int code, ItemArray<DrawConstraint>& removed,
                                   DiagramEditList& edits)
{
    constexpr int kBothSidesMany = 1;
    constexpr int kOneSelected = 2;
    constexpr int kOneUnselected = 3;
    if (code == kOneSelected) {
        edits.Add(new EqualLengthSegmentsEdit(constraint, constraint->SplitOffSelected()));
        return false;
    }
    if (code == kBothSidesMany) {
        auto* moved = new EqualLengthConstraint(constraint->SplitOffSelected());
        removed.Add(moved);
        edits.Add(new EqualLengthEdit(constraint, moved));
        return false;
    }
    if (code != kOneUnselected)
        return false;
    m_selectedConstraints.Remove(constraint);
    constraint->Deselect();
    m_constraints.Remove(constraint);
    removed.Add(constraint);
    edits.Add(new EqualLengthSegmentsEdit(constraint, constraint->SplitOffUnselected()));
    return true;
}

// Every listed shape that uses the vertex, whichever of them owns it.
ItemArray<DiagramShape> DiagramComp::UsersOf(VertexShape* vertex) const
{
    ItemArray<DiagramShape> users;
    for (DiagramShape* shape : m_shapes)
        if (shape != vertex && (shape->GetVertexUses().Contains(vertex) || shape->GetVertices().Contains(vertex)))
            users.Add(shape);
    return users;
}

// The selected shapes of the list go whole first, whatever the order of
// the selection, so that no part selected with them leaves a piece behind.
// Then a part of a circle takes the circle with it; a part of another
// compound leaves the compound replaced by what is left (recorded in
// edits). A vertex goes from every shape that uses it, not only from its
// owner, and from the list when what is left of an earlier shape listed it.
void DiagramComp::RemoveSelectedShapes(ItemArray<DiagramShape>& removed, DiagramEditList& edits)
{
    const ItemArray<DiagramShape> selected = m_selectedShapes;
    for (DiagramShape* shape : selected)
        shape->Deselect();
    for (DiagramShape* shape : selected)
        if (!shape->IsVertexShape() && !shape->GetOwnerShape() && m_shapes.Contains(shape))
            RemoveListed(shape, removed);
    for (DiagramShape* shape : selected) {
        if (shape->IsVertexShape()) {
            auto* vertex = static_cast<VertexShape*>(shape);
            for (DiagramShape* user : UsersOf(vertex))
                RemovePartOf(user, vertex, removed, edits);
            if (m_shapes.Contains(vertex))
                RemoveListed(vertex, removed);
            continue;
        }
        DiagramShape* owner = shape->GetOwnerShape();
        if (owner && m_shapes.Contains(owner))
            RemovePartOf(owner, shape, removed, edits);
    }
    m_selectedShapes.Clear();
    KeepSharedVerticesAsParts(removed);
}

void DiagramComp::RemoveListed(DiagramShape* shape, ItemArray<DiagramShape>& removed)
{
    m_shapes.Remove(shape);
    removed.AddOnce(shape);
    TakeLabelsOf(shape);
}

void DiagramComp::RemovePartOf(DiagramShape* owner, DiagramShape* shape, ItemArray<DiagramShape>& removed,
                               DiagramEditList& edits)
{
    if (owner->IsCircle()) {
        RemoveListed(owner, removed);
        return;
    }
    // The compound splits over every part it holds: a vertex it shares with
    // another shape, or that what is left of another compound took, is one
    // of its own while it does (SettleOwners gives each its owner after).
    owner->ClaimParts();
    const ItemArray<DrawLabel> ownerLabels = owner->GetLabels();
    DiagramEditGroup* group = owner->RemovePart(shape);
    if (!group)
        return;
    m_shapes.Remove(owner);
    removed.AddOnce(shape);
    TakeLabelsOf(shape);
    shape->ClearOwnerLink();
    // A removed edge owns the ends that no part left behind holds.
    if (!shape->IsVertexShape())
        for (VertexShape* vertex : shape->GetVertices())
            if (vertex->GetOwnerShape() == owner)
                vertex->SetOwner(shape);
    group->Apply(*this);
    edits.Add(group);
    // Sides the compound keeps (those at a removed corner) go with it.
    ItemArray<DrawLabel> left;
    for (DiagramShape* part : group->GetParts())
        for (DrawLabel* label : part->GetLabels())
            left.Add(label);
    for (DrawLabel* label : ownerLabels)
        if (!left.Contains(label))
            m_labels.Remove(label);
}

// A vertex a compound left listed stays a part of another listed shape that
// uses it, else it is a point of its own; a removed vertex that another
// removed shape uses goes as its part (a circle's centre, the end of a
// removed side).
void DiagramComp::KeepSharedVerticesAsParts(ItemArray<DiagramShape>& removed)
{
    std::set<const DiagramShape*> used;
    for (DiagramShape* shape : m_shapes)
        if (!shape->IsVertexShape()) {
            for (VertexShape* vertex : shape->GetVertexUses())
                used.insert(vertex);
            for (VertexShape* vertex : shape->GetVertices())
                used.insert(vertex);
        }
    // A point that stays listed is a shape of its own, owned by none (a
    // removed edge that shares it lets go of it without freeing it).
    const ItemArray<DiagramShape> listed = m_shapes;
    for (DiagramShape* shape : listed)
        if (shape->IsVertexShape() && used.count(shape))
            m_shapes.Remove(shape);
        else if (shape->IsVertexShape())
            shape->ClearOwnerLink();
    const ItemArray<DiagramShape> gone = removed;
    for (DiagramShape* shape : gone) {
        if (!shape->IsVertexShape())
            continue;
        auto* vertex = static_cast<VertexShape*>(shape);
        for (DiagramShape* user : gone)
            if (!user->IsVertexShape() &&
                (user->GetVertexUses().Contains(vertex) || user->GetVertices().Contains(vertex))) {
                removed.Remove(shape);
                shape->SetOwner(user);
                break;
            }
    }
}

DiagramComp* DiagramComp::RemoveSelection(DiagramEditList& edits)
{
    const ItemArray<DiagramShape> shapesBefore = m_shapes;
    const ItemArray<DrawConstraint> constraintsBefore = m_constraints;
    auto* order = new ListOrderEdit(*this);
    const ItemArray<DiagramShape> selected = m_selectedShapes;
    DeselectListedPoints();
    ItemArray<DrawConstraint> constraints;
    std::vector<std::pair<DrawConstraint*, int>> pending;
    RemoveConstraintsOfSelection(constraints, edits, pending);
    ItemArray<DiagramShape> shapes;
    RemoveSelectedShapes(shapes, edits);
    ItemArray<DrawLabel> labels;
    const ItemArray<DrawLabel> all = m_labels;
    for (DrawLabel* label : all) {
        if (!label->IsSelected())
            continue;
        m_labels.Remove(label);
        labels.Add(label);
        if (DiagramItem* owner = label->GetOwner()) {
            owner->ClearLabel();
            label->SetOwner(nullptr);
            edits.Add(new RemovedLabelEdit(label, owner));
        }
    }
    std::set<const DiagramItem*> held = HeldItems();
    RelistFreedPoints(selected, held, edits);
    const std::set<const DrawVariable*> freedVariables = FreedVariables(shapes, edits, held);
    SettlePendingConstraints(pending, held, freedVariables, constraints, edits);
    DropConstraintsOfFreedItems(held, freedVariables, edits);
    ForgetFreedListedParts(held, edits);
    ReapplyLocks();
    DeselectAll(true);
    SettleOwners();
    // The removed items keep the order they stood in.
    Reorder(shapes, shapesBefore);
    Reorder(constraints, constraintsBefore);
    auto* removed = new DiagramComp(m_dc, m_width, m_height, std::move(shapes), std::move(constraints),
                                    std::move(labels), *this);
    removed->m_keptRecords = false;
    SettleLabels(held, *removed);
    // A removed part may share vertices with what stays; they stay this
    // drawing's.
    for (DiagramShape* shape : m_shapes)
        shape->Attach(this);
    // Undone last: every item back, the lists take their old order.
    edits.Add(order);
    return removed;
}

// A selected shape marks its parts selected through their owner link; the
// points are let go of for the removal, and SettleOwners gives those that
// stay parts their owners again.
void DiagramComp::DeselectListedPoints()
{
    for (const ListedPart& part : m_listedParts)
        if (part.shape->IsVertexShape() && !m_selectedShapes.Contains(part.shape)) {
            part.shape->ClearOwnerLink();
            part.shape->Deselect();
        }
}

void DiagramComp::RelistFreedPoints(const ItemArray<DiagramShape>& selected, std::set<const DiagramItem*>& held,
                                    DiagramEditList& edits)
{
    for (size_t i = m_listedParts.size(); i-- > 0;) {
        const ListedPart part = m_listedParts[i];
        if (held.count(part.shape) || !part.shape->IsVertexShape() || selected.Contains(part.shape))
            continue;
        m_listedParts.erase(m_listedParts.begin() + static_cast<std::ptrdiff_t>(i));
        // Its place among the listed shapes: the file's place less the
        // parts listed before it.
        m_shapes.InsertAt(part.index - static_cast<int>(i), part.shape);
        part.shape->ClearOwnerLink();
        held.insert(part.shape);
        edits.Add(new RelistedPointEdit(part));
    }
}

// The labels of items are listed by the drawing that holds the items: the
// removed drawing may have gathered those of points and corners that stay
// (a point listed again, a vertex a removed shape shared), a compound that
// lost a part may have let go of one its kept corner still has, and this
// drawing lets go of those whose items went.
void DiagramComp::SettleLabels(const std::set<const DiagramItem*>& held, DiagramComp& removed)
{
    for (DiagramShape* shape : m_shapes)
        for (DrawLabel* label : shape->GetLabels()) {
            removed.m_labels.Remove(label);
            label->SetDiagram(this);
            m_labels.AddOnce(label);
        }
    ForgetLabelsNotHeld(held);
}

void DiagramComp::RestoreOrder(const ItemArray<DiagramShape>& shapes, const ItemArray<DrawConstraint>& constraints,
                               const ItemArray<DrawLabel>& labels)
{
    Reorder(m_shapes, shapes);
    Reorder(m_constraints, constraints);
    Reorder(m_labels, labels);
    Changed();
}

void DiagramComp::UnlistPoint(const ListedPart& part)
{
    m_shapes.Remove(part.shape);
    m_selectedShapes.Remove(part.shape);
    part.shape->Deselect();
    RestoreListedPart(part);
    Changed();
}

// A listed part the removal frees leaves the file's list with it.
void DiagramComp::ForgetFreedListedParts(const std::set<const DiagramItem*>& held, DiagramEditList& edits)
{
    for (size_t i = m_listedParts.size(); i-- > 0;) {
        const ListedPart part = m_listedParts[i];
        if (held.count(part.shape))
            continue;
        m_listedParts.erase(m_listedParts.begin() + static_cast<std::ptrdiff_t>(i));
        edits.Add(new ListedPartEdit(part));
    }
}

void DiagramComp::RestoreListedPart(const ListedPart& part)
{
    auto at = std::find_if(m_listedParts.begin(), m_listedParts.end(),
                           [&part](const ListedPart& other) { return other.index > part.index; });
    m_listedParts.insert(at, part);
}

void DiagramComp::SettleOwners()
{
    std::set<VertexShape*> settled;
    for (DiagramShape* shape : m_shapes) {
        if (shape->IsVertexShape())
            continue;
        const ItemArray<DiagramShape> partList = shape->GetParts();
        const std::set<DiagramShape*> parts(partList.begin(), partList.end());
        for (VertexShape* vertex : shape->GetVertexUses()) {
            if (!settled.insert(vertex).second)
                continue;
            DiagramShape* owner = vertex->GetOwnerShape();
            const bool ownerHolds = owner && !owner->IsVertexShape() && (owner == shape || parts.count(owner));
            if (!ownerHolds)
                vertex->SetOwner(shape);
        }
    }
}

void DiagramComp::SettleAfterRead()
{
    std::set<DiagramShape*> parts;
    std::map<VertexShape*, int> uses;
    for (DiagramShape* shape : m_shapes) {
        for (DiagramShape* part : shape->GetParts())
            if (!parts.insert(part).second && !part->IsVertexShape())
                throw CFormatException("A part belongs to two shapes");
        for (VertexShape* vertex : shape->GetVertexUses())
            ++uses[vertex];
    }
    ItemArray<DiagramShape> listed;
    listed.Reserve(m_shapes.GetCount());
    for (int i = 0; i < m_shapes.GetCount(); ++i) {
        DiagramShape* shape = m_shapes.GetAt(i);
        if (parts.count(shape)) {
            m_listedParts.push_back({i, shape});
            continue;
        }
        shape->ClearOwnerLink();
        listed.Add(shape);
    }
    m_shapes = std::move(listed);
    // Kept records use vertices without telling them: beside them the counts
    // stay as the file gave them.
    if (!m_keptRecords) {
        for (DiagramShape* shape : m_shapes)
            for (VertexShape* vertex : shape->GetVertices())
                uses.try_emplace(vertex, 0);
        for (auto [vertex, count] : uses)
            vertex->SetUseCount(count);
    }
    SettleOwners();
}
