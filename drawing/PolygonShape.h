#pragma once
// A chain of edges ("Poly"), open or closed, whose edges are segments or
// Bezier curves. It owns its edges and is the owner of them and of their end
// vertices; it is closed when every vertex ends exactly two of its edges.
// Polygons are made by joining edges end to end and split again when an
// edge is detached or a part removed.
//
// Record: visible, vertex count (32-bit) and the vertex references, edge
// count (32-bit) and for each edge a byte (1 segment, 0 curve) and its
// reference, filled byte, fill colour.
#include "drawing/DiagramShape.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class EdgeShape;

class PolygonShape : public DiagramShape {
public:
    // No edges yet; the default style.
    PolygonShape();
    PolygonShape(bool filled, COLORREF fill) : m_fillColour(fill), m_filled(filled) {}
    // Adds the edges in order; every edge gets the default pen.
    explicit PolygonShape(const ItemArray<EdgeShape>& edges);
    // Deletes its edges.
    ~PolygonShape() override;
    PolygonShape(const PolygonShape&) = delete;
    PolygonShape& operator=(const PolygonShape&) = delete;

    TypeTag GetTag() const override { return tag_Poly; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void HideConstraint() override;
    void ShowConstraint() override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    DiagramShape* Clone(ItemCopyMap& map) override;
    void Attach(DiagramComp* diagram) override;
    bool IsPolygon() const override { return true; }
    bool IsClosed() const override;
    ShapeStyle GetStyle() const override;
    void SetStyle(const ShapeStyle& style) override;
    void Restyle(const ShapeStyle& shown, const ShapeStyle& chosen) override;
    void ReleaseVertices(DiagramShape* keeper) override;
    void ClaimParts() override;
    ItemArray<DiagramShape> ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight) override;
    // Along the path from edge 0's start, curves' control vertices where
    // the path meets them; vertices off that path follow.
    ItemArray<VertexShape> GetVertices() const override;
    // The straight edges.
    int GetSideCount() const override;
    ItemArray<DiagramShape> GetSides() const override;
    ItemArray<VertexShape> GetVertexUses() const override;
    ItemArray<DiagramShape> GetParts() const override;
    void ForgetParts() override { Abandon(); }
    void AppendOutlinePoints(std::vector<DPoint>& points) const override;
    ItemArray<DrawVariable> GetVariables() const override;
    bool HasAnyLabel() const override;
    ItemArray<DrawLabel> GetLabels() const override;
    DiagramEditGroup* RemovePart(DiagramShape* part) override;
    DiagramShape* FirstSideAt(VertexShape* vertex) override;
    DiagramShape* SecondSideAt(VertexShape* vertex) override;
    DiagramShape* FindSide(VertexShape* a, VertexShape* b) override;

    // Appends the edge and its ends (each once) and owns them.
    void AddEdge(EdgeShape* edge);
    // Forgets its edges and vertices without touching them.
    void Abandon();
    // Holds exactly these edges and vertices again (owners are the caller's).
    void RestoreParts(const ItemArray<EdgeShape>& edges, const ItemArray<VertexShape>& vertices)
    {
        m_edges = edges;
        m_vertices = vertices;
    }
    // The edges reached from the vertex through vertices this polygon owns,
    // breadth first; each taken edge and vertex is marked as no longer the
    // polygon's (its owner becomes the start vertex).
    ItemArray<EdgeShape> CollectConnected(VertexShape* start);
    // The old vertex leaves the polygon and the edge takes the new one.
    void ReplaceVertex(VertexShape* newVertex, EdgeShape* edge, VertexShape* oldVertex);
    // Takes every edge and vertex of the other polygon (the old vertex
    // replaced by the new one) and deletes it.
    void Absorb(PolygonShape* other, VertexShape* newVertex, VertexShape* oldVertex);
    // Takes a joined edge out again with vertices of its own; answers the
    // shape the drawing must add (a free edge or a polygon), or null.
    DiagramShape* DetachEdge(EdgeShape* edge);
    // The path of the exported picture: from the end of the chain (or the
    // last vertex of a closed one) along every edge, "M", "L" and "C" steps
    // in device points. Edges that branch off the chain are not walked.
    std::string PathText(const DiagramDC& dc) const;

    const ItemArray<EdgeShape>& GetEdges() const { return m_edges; }
    const ItemArray<VertexShape>& GetVertexArray() const { return m_vertices; }
    bool IsFilled() const { return m_filled; }

private:
    using EdgeIndex = std::map<const VertexShape*, std::vector<EdgeShape*>>;
    EdgeIndex IndexEdges() const;
    // The first edge at the vertex not walked yet, or null.
    static EdgeShape* NextEdge(const EdgeIndex& index, const VertexShape* at, const std::set<EdgeShape*>& walked);
    int EdgesAt(const VertexShape* vertex) const;
    std::pair<EdgeShape*, EdgeShape*> EdgesMeetingAt(VertexShape* vertex) const;
    // A collected piece as a shape: null, a free edge or a new polygon.
    static DiagramShape* PieceShape(const ItemArray<EdgeShape>& piece);
    // The edge takes a new vertex of its own at the place of one end.
    static void GiveOwnEnd(EdgeShape* edge, VertexShape* end);
    void TakeOut(EdgeShape* edge);

    ItemArray<EdgeShape> m_edges;
    ItemArray<VertexShape> m_vertices;
    COLORREF m_fillColour = drawing::kWhite;
    bool m_filled = false;
};
