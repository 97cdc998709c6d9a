#pragma once
// The base of the shapes of a drawing. A shape may be a part of a compound
// shape (its owner shape), which then draws it, labels it and answers for it
// in selection and hit tests. The defaults are those of a shape without
// parts, sides, outline or variables.
#include "drawing/DiagramItem.h"
#include "drawing/ShapeStyle.h"

class DiagramEditGroup;
class DrawConstraint;
class MathMLOutput;
class DrawVariable;
class ItemCopyMap;
class VertexShape;

class DiagramShape : public DiagramItem {
public:
    explicit DiagramShape(DiagramShape* owner = nullptr) : m_ownerShape(owner) {}
    ~DiagramShape() override = default;

    bool IsShape() const override { return true; }
    // Also true while the owner shape is selected.
    bool IsSelected() const override;

    // A new copy made through the map, which records the (old, new) pair.
    virtual DiagramShape* Clone(ItemCopyMap& map) = 0;
    // Makes the drawing the owner of the shape's variables and parts.
    virtual void Attach(DiagramComp* diagram) {}
    virtual bool IsVertexShape() const { return false; }
    virtual bool IsEdge() const { return false; }
    virtual bool IsSegment() const { return false; }
    virtual bool IsCurve() const { return false; }
    virtual bool IsCircle() const { return false; }
    virtual bool IsPolygon() const { return false; }
    virtual bool IsPlot() const { return false; }
    virtual bool IsClosed() const { return false; }
    // A shape kept as its file record because its kind is not known here.
    virtual bool IsKeptRecord() const { return false; }
    virtual ShapeStyle GetStyle() const = 0;
    // The shape's SVG elements (nothing while hidden); see ShapeSvg.cpp.
    virtual void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const {}
    virtual void SetStyle(const ShapeStyle& style) = 0;
    // The style the user chose in a dialog that showed `shown`. A compound
    // shape gives its sides only what the user changed, so that they keep
    // the pens given to them one by one.
    virtual void Restyle(const ShapeStyle& shown, const ShapeStyle& chosen) { SetStyle(chosen); }
    virtual DiagramShape* SetOwner(DiagramShape* owner)
    {
        m_ownerShape = owner;
        return owner;
    }
    virtual void ReleaseVertices(DiagramShape* keeper) {}
    virtual void ClaimParts() {}
    // The shape or parts of it that lie inside the world rectangle.
    virtual ItemArray<DiagramShape> ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight) { return {}; }
    virtual ItemArray<VertexShape> GetVertices() const { return {}; }
    virtual int GetSideCount() const { return 0; }
    virtual ItemArray<DiagramShape> GetSides() const { return {}; }
    // Every vertex the shape uses, through its sides too, once per use: what
    // the vertices' use counts count.
    virtual ItemArray<VertexShape> GetVertexUses() const { return {}; }
    // The record of this shape replaced by what is left without the part,
    // or null when the shape cannot lose the part.
    virtual DiagramEditGroup* RemovePart(DiagramShape* part) { return nullptr; }
    // Every shape this one holds: sides and edges, vertices.
    virtual ItemArray<DiagramShape> GetParts() const { return {}; }
    // Forgets its parts without touching them, before a whole drawing's
    // shapes and parts are freed together.
    virtual void ForgetParts() {}
    // The shape no longer counts as a part of its owner; its vertices keep
    // theirs.
    void ClearOwnerLink() { m_ownerShape = nullptr; }
    virtual void AppendOutlinePoints(std::vector<DPoint>& points) const {}
    virtual ItemArray<DrawVariable> GetVariables() const { return {}; }
    virtual bool HasAnyLabel() const { return HasLabel(); }
    virtual ItemArray<DrawLabel> GetLabels() const { return {}; }
    virtual DiagramShape* FirstSideAt(VertexShape* vertex) { return nullptr; }
    virtual DiagramShape* SecondSideAt(VertexShape* vertex) { return nullptr; }
    virtual DiagramShape* FindSide(VertexShape* a, VertexShape* b) { return nullptr; }
    // A new constraint holding the vertex on this shape (the caller owns
    // it), or null for a shape that holds no point.
    virtual DrawConstraint* MakeAttachConstraint(VertexShape* vertex) { return nullptr; }

    DiagramShape* GetOwnerShape() const { return m_ownerShape; }
    // The owner when there is one, else the shape.
    DiagramShape* GetTopShape() { return m_ownerShape ? m_ownerShape : this; }

private:
    DiagramShape* m_ownerShape;
};

// What a compound shape answers for a rectangle: itself when every part lies
// inside it, else what its parts answer, each item once.
template <class Parts>
ItemArray<DiagramShape> ItemsOfPartsInRect(DiagramShape* whole, const Parts& parts, const DPoint& topLeft,
                                           const DPoint& bottomRight)
{
    ItemArray<DiagramShape> items;
    bool allInside = true;
    for (auto* part : parts)
        allInside = allInside && part->LiesInRect(topLeft, bottomRight);
    if (allInside) {
        items.Add(whole);
        return items;
    }
    for (auto* part : parts)
        for (DiagramShape* item : part->ItemsInRect(topLeft, bottomRight))
            items.AddOnce(item);
    return items;
}

// The vertices of every shape, in order, each once (first occurrence wins).
ItemArray<VertexShape> CollectVertices(const ItemArray<DiagramShape>& shapes);

// Whether c lies on the side of the directed line a -> b that triangles and
// rectangles take as their first (see the rule in the source).
bool SideTest(const VertexShape& a, const VertexShape& b, const VertexShape& c);
