#pragma once
// The base of the shapes that join two vertices: straight segments and
// Bezier curves. An edge uses its end vertices (their use counts say how
// many edges and circles use them; the last one to let go deletes the
// vertex). A free edge owns its vertices; a side of a triangle, rectangle or
// polygon leaves them to that shape. The edge owns its label.
//
// Record: visible, start and end (vertex references), a has-label byte and
// the label, pen style (16-bit, with the arrowhead bits), pen colour.
#include "drawing/DiagramShape.h"

#include <string>
#include <vector>

class EdgeShape : public DiagramShape {
public:
    // For reading.
    EdgeShape() = default;
    // One more use of each end; without an owner the edge owns them. The
    // default style goes to the edge and its ends.
    EdgeShape(VertexShape* start, VertexShape* end, DiagramShape* owner);
    // Takes the label over and keeps the pen as given (used by Clone).
    EdgeShape(VertexShape* start, VertexShape* end, DrawLabel* label, int32_t penStyle, COLORREF colour,
              DiagramShape* owner);
    // Lets go of both ends and deletes the label.
    ~EdgeShape() override;
    EdgeShape(const EdgeShape&) = delete;
    EdgeShape& operator=(const EdgeShape&) = delete;

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    bool CanShowLabel() const override;
    DrawLabel* MakeLabel(DiagramComp* diagram) override;
    bool HasLabel() const override { return m_label != nullptr; }
    DrawLabel* GetLabel() const override { return m_label; }
    void ClearLabel() override { m_label = nullptr; }
    void SetLabel(DrawLabel* label) override;
    // Beside the chord's midpoint, to the right of the way from start to end.
    void PlaceLabel(const DiagramDC& dc) override;

    bool IsEdge() const override { return true; }
    void Select() override;
    void Deselect() override;
    void Attach(DiagramComp* diagram) override;
    void ReleaseVertices(DiagramShape* keeper) override;
    void ClaimParts() override;
    ItemArray<DiagramShape> ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight) override;
    ItemArray<VertexShape> GetVertices() const override;
    ItemArray<VertexShape> GetVertexUses() const override { return GetVertices(); }
    ItemArray<DiagramShape> GetParts() const override;
    void ForgetParts() override;
    ItemArray<DrawVariable> GetVariables() const override;
    bool HasAnyLabel() const override;
    ItemArray<DrawLabel> GetLabels() const override;
    ShapeStyle GetStyle() const override;
    void SetStyle(const ShapeStyle& style) override;
    DiagramShape* FirstSideAt(VertexShape* vertex) override;
    DiagramShape* SecondSideAt(VertexShape* vertex) override;
    DiagramShape* FindSide(VertexShape* a, VertexShape* b) override;
    // Each edge's own vertices inside the world rectangle.
    bool LiesInRect(const DPoint& topLeft, const DPoint& bottomRight) const;

    virtual void DrawStartArrow(DiagramDC& dc) const = 0;
    virtual void DrawEndArrow(DiagramDC& dc) const = 0;
    // Appends this edge's step of a path walked from `current` (which moves
    // to the far end) to text; lineBefore tells whether the previous command
    // was a line. Answers whether this step's command is a line.
    virtual bool AppendPathStep(const DiagramDC& dc, std::string& text, bool lineBefore,
                                VertexShape*& current) const = 0;

    VertexShape* GetStart() const { return m_start; }
    VertexShape* GetEnd() const { return m_end; }
    VertexShape* OtherEnd(const VertexShape* vertex) const { return vertex == m_start ? m_end : m_start; }
    bool HasEnd(const VertexShape* vertex) const { return vertex == m_start || vertex == m_end; }
    int32_t GetPenStyle() const { return m_penStyle; }
    COLORREF GetPenColour() const { return m_penColour; }
    // Puts the new vertex in the old one's place (one more use of it); the
    // old one loses this use and is deleted when asked and no longer used.
    void ReplaceEnd(VertexShape* oldVertex, VertexShape* newVertex, bool deleteOld);

protected:
    // Every vertex the edge uses: the ends first.
    virtual std::vector<VertexShape**> VertexSlots();
    std::vector<VertexShape*> VertexList() const;
    // The arrowhead with its tip at tip, pointing away from from.
    void DrawArrow(DiagramDC& dc, const DPoint& tip, const DPoint& from) const;
    void ReadEnds(DocReader& reader, void* context);
    // A vertex of this shape's record; one without an owner gets the user.
    static VertexShape* ReadUsedVertex(DocReader& reader, DiagramShape* user);
    // Lets go of a vertex this edge uses (null afterwards); a part no
    // longer used goes.
    static void LetGo(VertexShape*& vertex);
    // The vertex stops being used by this edge without being deleted.
    void DropVertexUnlessOwnedBy(VertexShape*& vertex, DiagramShape* keeper);

    VertexShape* m_start = nullptr;
    VertexShape* m_end = nullptr;
    DrawLabel* m_label = nullptr;
    int32_t m_penStyle = drawing::kDefaultPenStyle;
    COLORREF m_penColour = drawing::kBlack;
};

// Device point text of a path ("x y ").
std::string DevicePointText(const DiagramDC& dc, const DPoint& point);
