#pragma once
// A point of a drawing ("Vert"): two variables, x and y, that the solvers
// move. Other shapes are built on vertices and share them; the use count
// says how many shapes use the vertex and is stored with it. A vertex may
// carry a coordinate label, "(x, y)" made of value displays.
//
// Record: visible, fixed, use count (16-bit), x and y (variable references),
// a has-label byte and the label, pen style (16-bit), colour.
#include "drawing/DiagramShape.h"
#include "platform/draw/GdiTypes.h"

class DrawVariable;

class VertexShape : public DiagramShape {
public:
    // For reading.
    VertexShape();
    VertexShape(double x, double y, DiagramShape* owner = nullptr);
    // Takes over the variables and label (used by Clone).
    VertexShape(DrawVariable* x, DrawVariable* y, DrawLabel* label, int32_t penStyle, COLORREF colour, bool visible,
                DiagramShape* owner);
    ~VertexShape() override;

    TypeTag GetTag() const override { return tag_Vert; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;

    DrawConstraint* MakeAttachConstraint(VertexShape* vertex) override;
    void HideVertex() override { m_visible = false; }
    void ShowVertex() override { m_visible = true; }
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool HasLabelAnchor() const override { return true; }
    DPoint GetLabelAnchor(const DiagramDC&) const override { return GetPoint(); }

    bool CanShowLabel() const override;
    // A label "(x, y)" of two value displays, kept by the vertex.
    DrawLabel* MakeLabel(DiagramComp* diagram) override;
    bool HasLabel() const override { return m_label != nullptr; }
    DrawLabel* GetLabel() const override { return m_label; }
    void ClearLabel() override { m_label = nullptr; }
    void SetLabel(DrawLabel* label) override;
    void PlaceLabel(const DiagramDC& dc) override;

    DiagramShape* Clone(ItemCopyMap& map) override;
    void Attach(DiagramComp* diagram) override;
    bool IsVertexShape() const override { return true; }
    ShapeStyle GetStyle() const override;
    void SetStyle(const ShapeStyle& style) override;
    ItemArray<DiagramShape> ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight) override;
    ItemArray<VertexShape> GetVertices() const override;
    ItemArray<DrawVariable> GetVariables() const override;
    ItemArray<DrawLabel> GetLabels() const override;

    double GetX() const;
    double GetY() const;
    DPoint GetPoint() const { return {GetX(), GetY()}; }
    DrawVariable* GetXVar() const { return m_x; }
    DrawVariable* GetYVar() const { return m_y; }
    // Sets x, then y; both tell their observers.
    void SetPoint(const DPoint& point);
    // Moves each coordinate that is not fixed.
    void MoveBy(double dx, double dy);
    void Fix() { SetFixedAll(true); }
    void Unfix() { SetFixedAll(false); }
    bool IsFixed() const { return m_fixed; }
    // Closer than two device pixels.
    bool IsNear(const VertexShape& other, const DiagramDC& dc) const;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const;

    int GetUseCount() const { return m_useCount; }
    void AddUse() { ++m_useCount; }
    void SetUseCount(int32_t count) { m_useCount = count; }
    // Answers the count left.
    int RemoveUse() { return --m_useCount; }

private:
    void SetFixedAll(bool fixed);

    DrawVariable* m_x = nullptr;
    DrawVariable* m_y = nullptr;
    int32_t m_useCount = 0;
    bool m_fixed = false;
    DrawLabel* m_label = nullptr;
    int32_t m_penStyle = drawing::kDefaultPenStyle;
    COLORREF m_colour = drawing::kBlack;
};
