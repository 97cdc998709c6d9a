#pragma once
// Constraints on vertices: an angle ("AngC"), two coincident points
// ("AttC"), a distance ("DstC"), a fixed point ("FixC"), a midpoint ("MidC")
// and a circle's radius ("RadC"). The angle, distance and radius kinds hold
// their value in a locked variable and may show it in a label.
#include "drawing/ValueConstraint.h"

#include <utility>

class CircleShape;

// The angle at the apex A between P1 and P2, in radians.
// Record: P1, A, P2, the angle variable, the label.
class AngleConstraint : public ValueConstraint {
public:
    AngleConstraint() = default;
    AngleConstraint(VertexShape* p1, VertexShape* apex, VertexShape* p2);
    AngleConstraint(VertexShape* p1, VertexShape* apex, VertexShape* p2, DrawVariable* angle, bool visible,
                    DrawLabel* label);
    ~AngleConstraint() override;

    TypeTag GetTag() const override { return tag_AngC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool HasLabelAnchor() const override { return true; }
    DPoint GetLabelAnchor(const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override { SetOwnedVariableTag(m_angle, diagram); }
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    int GetVariableCount() const override { return 1; }
    DrawVariable* GetVariable(int i) const override { return i == 0 ? m_angle : nullptr; }
    bool IsAttachedTo(const DiagramShape* shape) const override;

protected:
    DrawVariable* LabelledVariable() const override { return m_angle; }
    DPoint LabelPlace(const DiagramDC& dc) const override;

private:
    // The arms of the marker: its arc turns counter-clockwise from the
    // second to the first through the angle held.
    std::pair<DPoint, DPoint> MarkerArms() const;
    void Build();

    VertexShape* m_p1 = nullptr;
    VertexShape* m_apex = nullptr;
    VertexShape* m_p2 = nullptr;
    DrawVariable* m_angle = nullptr;
};

// P at Q. Record: P, Q.
class CoincidentConstraint : public DrawConstraint {
public:
    CoincidentConstraint() = default;
    CoincidentConstraint(VertexShape* p, VertexShape* q, bool visible = true);

    TypeTag GetTag() const override { return tag_AttC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const override;
    DiagramItem* GetFirstItem() const override;
    DiagramItem* GetSecondItem() const override;
    int GetEquationCount() const override { return 2; }
    ConstraintEqn* GetEquation(int i) const override;
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();

    VertexShape* m_p = nullptr;
    VertexShape* m_q = nullptr;
    std::unique_ptr<ConstraintEqn> m_yEquation;
};

// The distance between P1 and P2, shown as a dimension line on one side.
// Record: P1, P2, the distance variable, the side byte, the label.
class DistanceConstraint : public ValueConstraint {
public:
    DistanceConstraint() = default;
    DistanceConstraint(VertexShape* p1, VertexShape* p2);
    DistanceConstraint(VertexShape* p1, VertexShape* p2, DrawVariable* distance, bool side, bool visible,
                       DrawLabel* label);
    ~DistanceConstraint() override;

    TypeTag GetTag() const override { return tag_DstC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool HasLabelAnchor() const override { return true; }
    DPoint GetLabelAnchor(const DiagramDC& dc) const override { return LabelPlace(dc); }
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override { SetOwnedVariableTag(m_distance, diagram); }
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    int GetVariableCount() const override { return 1; }
    DrawVariable* GetVariable(int i) const override { return i == 0 ? m_distance : nullptr; }
    bool IsAttachedTo(const DiagramShape* shape) const override;
    bool GetSide() const { return m_side; }
    void SetSide(bool side) { m_side = side; }

protected:
    DrawVariable* LabelledVariable() const override { return m_distance; }
    DPoint LabelPlace(const DiagramDC& dc) const override;

private:
    void Build();
    // The dimension line's three strokes: P1 out, across, back to P2.
    void Strokes(const DiagramDC& dc, DPoint (&points)[6]) const;

    VertexShape* m_p1 = nullptr;
    VertexShape* m_p2 = nullptr;
    DrawVariable* m_distance = nullptr;
    bool m_side = true;
};

// P stays where it is: its vertex and both coordinates are locked.
// Record: P.
class FixedPointConstraint : public DrawConstraint {
public:
    FixedPointConstraint() = default;
    explicit FixedPointConstraint(VertexShape* p, bool visible = true);

    TypeTag GetTag() const override { return tag_FixC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void ReleaseLock() override;
    void ApplyLock() override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    int GetEquationCount() const override { return 2; }
    ConstraintEqn* GetEquation(int i) const override;
    // The kernel receives the vertex as fixed values instead.
    int GetKernelEquationCount() const override { return 0; }
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();

    VertexShape* m_p = nullptr;
    std::unique_ptr<ConstraintEqn> m_yEquation;
};

// M halfway between E1 and E2. Record: M, E1, E2.
class MidpointConstraint : public DrawConstraint {
public:
    MidpointConstraint() = default;
    MidpointConstraint(VertexShape* e1, VertexShape* m, VertexShape* e2, bool visible = true);

    TypeTag GetTag() const override { return tag_MidC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const override;
    int GetEquationCount() const override { return 2; }
    ConstraintEqn* GetEquation(int i) const override;
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();
    void Tick(const DiagramDC& dc, DPoint& a, DPoint& b) const;

    VertexShape* m_e1 = nullptr;
    VertexShape* m_m = nullptr;
    VertexShape* m_e2 = nullptr;
    std::unique_ptr<ConstraintEqn> m_yEquation;
};

// A circle's radius held at its value: the radius variable (the circle's)
// is locked while the constraint is in the drawing. Record: r, C, the label.
class RadiusConstraint : public ValueConstraint {
public:
    RadiusConstraint() = default;
    RadiusConstraint(VertexShape* centre, DrawVariable* radius, bool visible = true, DrawLabel* label = nullptr);

    TypeTag GetTag() const override { return tag_RadC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool HasLabelAnchor() const override { return true; }
    DPoint GetLabelAnchor(const DiagramDC& dc) const override { return LabelPlace(dc); }
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    std::vector<const DrawVariable*> GetUsedVariables() const override;
    void ReleaseLock() override;
    void ApplyLock() override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    int GetVariableCount() const override { return 1; }
    DrawVariable* GetVariable(int i) const override { return i == 0 ? m_radius : nullptr; }
    // A radius with Locked cleared is free for the kernel as for the
    // editor's solver, unless its label gives it.
    int GetKernelEquationCount() const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;
    // The radius held from now on (a value the user typed); answers the
    // one held before.
    double HoldRadius(double value);
    // The radius's Locked state as the user sets it; it is given back
    // whenever the drawing locks its constraints again.
    void SetLocked(bool locked);

protected:
    DrawVariable* LabelledVariable() const override { return m_radius; }
    DPoint LabelPlace(const DiagramDC& dc) const override;

private:
    void Build();
    DPoint RadiusEnd() const;

    VertexShape* m_centre = nullptr;
    DrawVariable* m_radius = nullptr;
    // Set only when a damaged file named a radius no circle holds.
    std::unique_ptr<DrawVariable> m_ownedRadius;
    bool m_locked = true;
};
