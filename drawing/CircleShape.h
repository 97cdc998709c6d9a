#pragma once
// A circle ("Circ"): a centre vertex, which it uses and owns as a part, and
// a radius variable. Its centre answers for its label.
//
// Record: visible, centre (shape reference), radius (variable reference),
// pen style (16-bit), line colour, filled byte, fill colour.
#include "drawing/DiagramShape.h"

class DrawVariable;

class CircleShape : public DiagramShape {
public:
    // For reading.
    CircleShape() = default;
    // Takes the centre (one more use; the circle becomes its owner) and the radius.
    CircleShape(VertexShape* centre, DrawVariable* radius, const ShapeStyle& style = {});
    // Deletes the radius and lets go of the centre, which goes when no
    // other shape uses it.
    ~CircleShape() override;

    TypeTag GetTag() const override { return tag_Circ; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    // The centre first (a hit on it answers the centre), then the line.
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    DrawConstraint* MakeAttachConstraint(VertexShape* vertex) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;

    DiagramShape* Clone(ItemCopyMap& map) override;
    void Attach(DiagramComp* diagram) override;
    bool IsCircle() const override { return true; }
    bool IsClosed() const override { return true; }
    ShapeStyle GetStyle() const override { return m_style; }
    void SetStyle(const ShapeStyle& style) override { m_style = style; }
    ItemArray<DiagramShape> ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight) override;
    ItemArray<VertexShape> GetVertices() const override;
    ItemArray<VertexShape> GetVertexUses() const override { return GetVertices(); }
    ItemArray<DiagramShape> GetParts() const override;
    void ForgetParts() override { m_centre = nullptr; }
    void ClaimParts() override;
    // Radius, centre x, centre y.
    ItemArray<DrawVariable> GetVariables() const override;
    bool HasAnyLabel() const override;
    ItemArray<DrawLabel> GetLabels() const override;

    VertexShape* GetCentre() const { return m_centre; }
    DrawVariable* GetRadiusVar() const { return m_radius; }
    double GetRadius() const;

private:
    VertexShape* m_centre = nullptr;
    DrawVariable* m_radius = nullptr;
    ShapeStyle m_style;
};
