#pragma once
// Constraints that tie vertices and segments to circles, Bezier curves and
// plots: a point on a curve ("BezC"), on a circle ("CirC") or on a plot
// ("PltC"); a curve shaped as a circular arc about a centre ("ArcC"); and a
// segment touching a circle ("crtC"), a curve ("cutC") or a plot ("pltC")
// at a vertex of tangency.
#include "drawing/ValueConstraint.h"

class CircleShape;
class CurveShape;
class PlotShape;
class SegmentShape;

// The kinds that hold a vertex P on a curve-like item G: the ring marker at
// P, P's hit test, and their items P and G.
class PointOnItemConstraint : public DrawConstraint {
public:
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const override;
    DiagramItem* GetFirstItem() const override;

protected:
    VertexShape* m_p = nullptr;
};

// P on the Bezier curve K at the free parameter t. Record: K, t, P.
class PointOnCurveConstraint : public PointOnItemConstraint {
public:
    PointOnCurveConstraint() = default;
    PointOnCurveConstraint(CurveShape* curve, VertexShape* p);
    PointOnCurveConstraint(CurveShape* curve, VertexShape* p, DrawVariable* t, bool visible);
    ~PointOnCurveConstraint() override;

    TypeTag GetTag() const override { return tag_BezC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override;
    DiagramItem* GetSecondItem() const override;
    int GetEquationCount() const override { return 2; }
    ConstraintEqn* GetEquation(int i) const override;
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();

    CurveShape* m_curve = nullptr;
    std::unique_ptr<ConstraintEqn> m_yEquation;
    DrawVariable* m_t = nullptr;
};

// P on the circle of centre C and radius r (the circle's variable).
// Record: C, r, P.
class PointOnCircleConstraint : public PointOnItemConstraint {
public:
    PointOnCircleConstraint() = default;
    PointOnCircleConstraint(VertexShape* centre, DrawVariable* radius, VertexShape* p, bool visible = true);

    TypeTag GetTag() const override { return tag_CirC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    std::vector<const DrawVariable*> GetUsedVariables() const override;
    DiagramItem* GetSecondItem() const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    VertexShape* m_centre = nullptr;
    DrawVariable* m_radius = nullptr;
    // Set only when a damaged file named a radius no circle holds.
    std::unique_ptr<DrawVariable> m_ownedRadius;
};

// P on the plot G; only the kernel can move it along the plot.
// Record: P, G.
class PointOnPlotConstraint : public PointOnItemConstraint {
public:
    PointOnPlotConstraint() = default;
    PointOnPlotConstraint(PlotShape* plot, VertexShape* p, bool visible = true);

    TypeTag GetTag() const override { return tag_PltC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    DiagramItem* GetSecondItem() const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    PlotShape* m_plot = nullptr;
};

// The curve K as a circular arc about C: both ends at the radius, both end
// tangents perpendicular to the radii, the middle point at the radius and
// the opening angle equal to the angle variable. Record: K, C, angle,
// radius, the label (showing the angle).
class ArcConstraint : public ValueConstraint {
public:
    static constexpr int kEquations = 6;

    ArcConstraint() = default;
    ArcConstraint(CurveShape* curve, VertexShape* centre);
    ArcConstraint(CurveShape* curve, VertexShape* centre, DrawVariable* angle, DrawVariable* radius, bool visible,
                  DrawLabel* label);
    ~ArcConstraint() override;

    TypeTag GetTag() const override { return tag_ArcC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    // The radius first, then the angle.
    int GetVariableCount() const override { return 2; }
    DrawVariable* GetVariable(int i) const override;
    int GetEquationCount() const override { return kEquations; }
    ConstraintEqn* GetEquation(int i) const override;
    // Only the angle equation takes the label.
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

protected:
    DrawVariable* LabelledVariable() const override { return m_angle; }
    DPoint LabelPlace(const DiagramDC& dc) const override;

private:
    void Build();
    DPoint End(int index) const;

    CurveShape* m_curve = nullptr;
    VertexShape* m_centre = nullptr;
    DrawVariable* m_angle = nullptr;
    DrawVariable* m_radius = nullptr;
    std::unique_ptr<ConstraintEqn> m_more[kEquations - 1];
};

// A segment L (ends A, B) touching a curve at the vertex T along the common
// direction (dx, dy). Record: dx, dy, L, T, then the kind's fields.
class TangentConstraint : public DrawConstraint {
public:
    TangentConstraint() = default;
    TangentConstraint(SegmentShape* segment, VertexShape* t);
    TangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx, DrawVariable* dy, bool visible);
    ~TangentConstraint() override;

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const override;
    DiagramItem* GetFirstItem() const override;
    DiagramItem* GetSecondItem() const override;
    bool IsTangent() const override { return true; }
    int GetEquationCount() const override { return 2 + KindEquationCount(); }
    ConstraintEqn* GetEquation(int i) const override;
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;
    // (dx, dy) takes the segment's direction B - A again, as when the
    // constraint was made; for a maker that moved T before adding it.
    void AlignDirection();

protected:
    virtual int KindEquationCount() const = 0;
    virtual ConstraintEqn* KindEquation(int i) const = 0;
    virtual void ReadKind(DocReader& reader) = 0;
    virtual void BuildKind() = 0;
    void BuildBase();
    // The segment, T and the direction variables copied through the map.
    SegmentShape* SegmentImage(ItemCopyMap& map) const;

    VertexShape* m_t = nullptr;
    SegmentShape* m_segment = nullptr;
    DrawVariable* m_dx = nullptr;
    DrawVariable* m_dy = nullptr;
    std::unique_ptr<ConstraintEqn> m_direction;

private:
    void Strokes(const DiagramDC& dc, DPoint (&points)[6]) const;
};

class CircleTangentConstraint : public TangentConstraint {
public:
    CircleTangentConstraint() = default;
    CircleTangentConstraint(SegmentShape* segment, VertexShape* t, CircleShape* circle);
    CircleTangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx, DrawVariable* dy,
                            VertexShape* centre, DrawVariable* radius, bool visible);
    TypeTag GetTag() const override { return tag_crtC; }
    void Write(DocWriter& writer) override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    DiagramItem* GetCurveItem() const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    std::vector<const DrawVariable*> GetUsedVariables() const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

protected:
    int KindEquationCount() const override { return 2; }
    ConstraintEqn* KindEquation(int i) const override { return m_kind[i].get(); }
    void ReadKind(DocReader& reader) override;
    void BuildKind() override;

private:
    VertexShape* m_centre = nullptr;
    DrawVariable* m_radius = nullptr;
    std::unique_ptr<DrawVariable> m_ownedRadius;
    std::unique_ptr<ConstraintEqn> m_kind[2];
};

class CurveTangentConstraint : public TangentConstraint {
public:
    CurveTangentConstraint() = default;
    CurveTangentConstraint(SegmentShape* segment, VertexShape* t, CurveShape* curve);
    CurveTangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx, DrawVariable* dy,
                           CurveShape* curve, DrawVariable* parameter, bool visible);
    ~CurveTangentConstraint() override;
    TypeTag GetTag() const override { return tag_cutC; }
    void Write(DocWriter& writer) override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    DiagramItem* GetCurveItem() const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

protected:
    int KindEquationCount() const override { return 3; }
    ConstraintEqn* KindEquation(int i) const override { return m_kind[i].get(); }
    void ReadKind(DocReader& reader) override;
    void BuildKind() override;

private:
    CurveShape* m_curve = nullptr;
    DrawVariable* m_parameter = nullptr;
    std::unique_ptr<ConstraintEqn> m_kind[3];
};

class PlotTangentConstraint : public TangentConstraint {
public:
    PlotTangentConstraint() = default;
    PlotTangentConstraint(SegmentShape* segment, VertexShape* t, PlotShape* plot);
    PlotTangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx, DrawVariable* dy,
                          PlotShape* plot, bool visible);
    TypeTag GetTag() const override { return tag_pltC; }
    void Write(DocWriter& writer) override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    DiagramItem* GetCurveItem() const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

protected:
    int KindEquationCount() const override { return 2; }
    ConstraintEqn* KindEquation(int i) const override { return m_kind[i].get(); }
    void ReadKind(DocReader& reader) override;
    void BuildKind() override;

private:
    PlotShape* m_plot = nullptr;
    std::unique_ptr<ConstraintEqn> m_kind[2];
};
