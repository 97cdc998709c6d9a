#pragma once
#include <utility>
#include <vector>
// The side effects of removing items from a drawing, each kept as a record
// so that the removal can be undone exactly and, once final, what it
// removed can be freed. A record owns what it holds until it is undone.
#include "drawing/DiagramComp.h"
#include "drawing/ItemArray.h"

class DiagramComp;
class DiagramShape;
class DrawConstraint;
class EqualLengthConstraint;
class SegmentShape;
class DrawLabel;
class DiagramItem;

class DiagramEdit {
public:
    virtual ~DiagramEdit() = default;
    virtual void Apply(DiagramComp& diagram) {}
    virtual bool IsGroup() const { return false; }
    // Gives the object back to the drawing; the record then owns nothing.
    virtual void Undo(DiagramComp& diagram) {}
    // Frees what the record still owns.
    virtual void Dispose() {}
    bool Owns() const { return m_owns; }

protected:
    bool m_owns = true;
};

// A constraint dropped because only some of the items it binds were removed.
class RemovedConstraintEdit : public DiagramEdit {
public:
    explicit RemovedConstraintEdit(DrawConstraint* constraint) : m_constraint(constraint) {}
    void Undo(DiagramComp& diagram) override;
    void Dispose() override;

private:
    DrawConstraint* m_constraint;
};

// Segments split off an equal-length constraint by a removal; undoing gives
// them back to it.
class EqualLengthSegmentsEdit : public DiagramEdit {
public:
    EqualLengthSegmentsEdit(EqualLengthConstraint* constraint, std::vector<SegmentShape*> segments)
        : m_constraint(constraint), m_segments(std::move(segments))
    {
    }
    void Undo(DiagramComp& diagram) override;

private:
    EqualLengthConstraint* m_constraint;
    std::vector<SegmentShape*> m_segments;
};

// An equal-length constraint made for the removed segments of another;
// undoing merges it back into the one it came from.
class EqualLengthEdit : public DiagramEdit {
public:
    EqualLengthEdit(EqualLengthConstraint* kept, EqualLengthConstraint* removed) : m_kept(kept), m_removed(removed) {}
    void Undo(DiagramComp& diagram) override;

private:
    EqualLengthConstraint* m_kept;
    EqualLengthConstraint* m_removed;
};

// The label of an item, removed as a free label of the removed drawing
// (which frees it); undoing gives it back to its item.
class RemovedLabelEdit : public DiagramEdit {
public:
    RemovedLabelEdit(DrawLabel* label, DiagramItem* owner) : m_label(label), m_owner(owner) {}
    void Undo(DiagramComp& diagram) override;

private:
    DrawLabel* m_label;
    DiagramItem* m_owner;
};

// A shape the file listed that is also a part of a removed shape; undoing
// lists it in the file's list again.
class ListedPartEdit : public DiagramEdit {
public:
    explicit ListedPartEdit(const ListedPart& part) : m_part(part) {}
    void Undo(DiagramComp& diagram) override;

private:
    ListedPart m_part;
};

// A point the file listed that stays as a shape of its own when the shapes
// that used it are removed; undoing makes it their part again.
class RelistedPointEdit : public DiagramEdit {
public:
    explicit RelistedPointEdit(const ListedPart& part) : m_part(part) {}
    void Undo(DiagramComp& diagram) override;

private:
    ListedPart m_part;
};

// The order of the drawing's shapes, constraints and labels, and of the
// segments of its equal-length constraints, before a removal: undone after
// every other record, it puts each item back at its place (the other
// records append what they give back).
class ListOrderEdit : public DiagramEdit {
public:
    explicit ListOrderEdit(const DiagramComp& diagram);
    void Undo(DiagramComp& diagram) override;

private:
    ItemArray<DiagramShape> m_shapes;
    ItemArray<DrawConstraint> m_constraints;
    ItemArray<DrawLabel> m_labels;
    std::vector<std::pair<EqualLengthConstraint*, std::vector<SegmentShape*>>> m_segments;
};

// A compound shape replaced by what is left of it without a part. Undoing
// puts the compound back with all its parts, the removed part included;
// freeing a final record frees the compound (but none of the parts it no
// longer holds), freeing an undone one frees the polygons made for it.
class DiagramEditGroup : public DiagramEdit {
public:
    DiagramEditGroup(DiagramShape* compound, ItemArray<DiagramShape> parts);
    bool IsGroup() const override { return true; }
    void Apply(DiagramComp& diagram) override;
    void Undo(DiagramComp& diagram) override;
    void Dispose() override;

    DiagramShape* GetCompound() const { return m_compound; }
    const ItemArray<DiagramShape>& GetParts() const { return m_parts; }

private:
    DiagramShape* m_compound;
    ItemArray<DiagramShape> m_parts;
};

// The records of one removal in the order they were made.
class DiagramEditList {
public:
    DiagramEditList() = default;
    ~DiagramEditList() { Clear(); }
    DiagramEditList(const DiagramEditList&) = delete;
    DiagramEditList& operator=(const DiagramEditList&) = delete;

    void Add(DiagramEdit* edit) { m_edits.Add(edit); }
    // Disposes and frees every record, oldest first.
    void Clear();
    // Every group first, newest first, then the other records in list order.
    void UndoAll(DiagramComp& diagram);
    const ItemArray<DiagramEdit>& GetEdits() const { return m_edits; }

private:
    ItemArray<DiagramEdit> m_edits;
};
