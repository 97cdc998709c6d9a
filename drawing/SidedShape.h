#pragma once
// Triangles ("Tria") and rectangles ("Quad"): a closed chain of segments,
// side k joining vertex k to vertex k+1 and the last side joining the last
// vertex to the first. The shape owns its sides and is the owner of its
// sides and vertices; the vertices are shared through the sides' use
// counts. Its pen is that of its sides; it keeps the fill.
//
// Record: visible, the vertices and the sides (shared references), filled
// byte, fill colour.
#include "drawing/DiagramShape.h"

#include <vector>

class SegmentShape;

class SidedShape : public DiagramShape {
public:
    // Deletes the sides it holds.
    ~SidedShape() override;
    SidedShape(const SidedShape&) = delete;
    SidedShape& operator=(const SidedShape&) = delete;

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    // The sides in turn; the interior is never hit.
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    DiagramShape* Clone(ItemCopyMap& map) override;
    void Attach(DiagramComp* diagram) override;
    bool IsClosed() const override { return true; }
    ShapeStyle GetStyle() const override;
    void SetStyle(const ShapeStyle& style) override;
    void Restyle(const ShapeStyle& shown, const ShapeStyle& chosen) override;
    void ReleaseVertices(DiagramShape* keeper) override;
    void ClaimParts() override;
    ItemArray<DiagramShape> ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight) override;
    ItemArray<VertexShape> GetVertices() const override;
    int GetSideCount() const override { return static_cast<int>(m_sides.size()); }
    ItemArray<DiagramShape> GetSides() const override;
    ItemArray<VertexShape> GetVertexUses() const override;
    ItemArray<DiagramShape> GetParts() const override;
    void ForgetParts() override;
    void AppendOutlinePoints(std::vector<DPoint>& points) const override;
    ItemArray<DrawVariable> GetVariables() const override;
    bool HasAnyLabel() const override;
    ItemArray<DrawLabel> GetLabels() const override;
    DiagramShape* FirstSideAt(VertexShape* vertex) override;
    DiagramShape* SecondSideAt(VertexShape* vertex) override;
    DiagramShape* FindSide(VertexShape* a, VertexShape* b) override;

    SegmentShape* GetSide(int i) const { return m_sides[static_cast<size_t>(i)]; }
    VertexShape* GetVertex(int i) const { return m_vertices[static_cast<size_t>(i)]; }

protected:
    // For reading: no sides or vertices yet.
    explicit SidedShape(int count);
    // Sides made between the vertices in turn.
    explicit SidedShape(const std::vector<VertexShape*>& vertices);
    // Takes the parts over (used by Clone).
    SidedShape(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides, bool filled, COLORREF fill);
    virtual SidedShape* MakeCopy(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides) const = 0;
    // The sides at a vertex ordered by the side test; null for a vertex not here.
    std::pair<SegmentShape*, SegmentShape*> SidesAt(VertexShape* vertex) const;
    int IndexOfSide(const DiagramShape* side) const;
    int IndexOfVertex(const DiagramShape* vertex) const;
    // A group whose replacement is one side made free.
    DiagramEditGroup* FreeSideGroup(int side);
    // A group whose replacement is an open polygon of the sides, in order.
    DiagramEditGroup* PolygonGroup(const std::vector<int>& sides);

    std::vector<SegmentShape*> m_sides;
    std::vector<VertexShape*> m_vertices;
    COLORREF m_fillColour = drawing::kWhite;
    bool m_filled = false;
};

class TriangleShape : public SidedShape {
public:
    static constexpr int kCorners = 3;
    TriangleShape() : SidedShape(kCorners) {}
    TriangleShape(VertexShape* v1, VertexShape* v2, VertexShape* v3) : SidedShape({v1, v2, v3}) {}
    TypeTag GetTag() const override { return tag_Tria; }
    // A vertex leaves its opposite side free; a side leaves an open
    // polygon of the other two.
    DiagramEditGroup* RemovePart(DiagramShape* part) override;

private:
    using SidedShape::SidedShape;
    SidedShape* MakeCopy(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides) const override;
};

class RectangleShape : public SidedShape {
public:
    static constexpr int kCorners = 4;
    RectangleShape() : SidedShape(kCorners) {}
    RectangleShape(VertexShape* v1, VertexShape* v2, VertexShape* v3, VertexShape* v4) : SidedShape({v1, v2, v3, v4})
    {
    }
    TypeTag GetTag() const override { return tag_Quad; }
    // A vertex leaves an open polygon of the two sides away from it; a side
    // one of the other three.
    DiagramEditGroup* RemovePart(DiagramShape* part) override;

private:
    using SidedShape::SidedShape;
    SidedShape* MakeCopy(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides) const override;
};
