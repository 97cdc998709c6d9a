#pragma once
// One scalar equation over drawing variables, built by a constraint from its
// items. The numeric solver reads its residual (zero when it holds) and the
// exact partial derivatives of the residual; the kernel solver reads it as a
// kernel expression in which every variable stands as a drawing-variable
// node. Equations are never stored: constraints rebuild them.
//
// Every class keeps its variables in one small array in the order of
// Variables(); a variable held twice (a degenerate constraint) gets the sum
// of its partials.
#include "drawing/ItemArray.h"

#include <array>
#include <limits>

class CurveShape;
class DiagramComp;
class DrawLabel;
class DrawVariable;
class ExprNode;
class PlotShape;
class VertexShape;

class ConstraintEqn {
public:
    static constexpr int kMaxVariables = 11;

    virtual ~ConstraintEqn() = default;
    ConstraintEqn(const ConstraintEqn&) = delete;
    ConstraintEqn& operator=(const ConstraintEqn&) = delete;

    // Each variable once, in the class's order.
    ItemArray<DrawVariable> Variables() const;
    bool DependsOn(const DrawVariable* variable) const;
    double Derivative(const DrawVariable* variable) const;
    virtual double Residual() const = 0;
    double AbsResidual() const;
    // How far the present values are from where the equation holds, in
    // drawing units, from its residual and the squared length of its
    // gradient: the residual over that length.
    virtual double Distance(double residual, double squaredGradient) const;
    // True keeps the equation out of clusters met through shared variables.
    virtual bool PrepareForCluster() { return false; }
    // The kernel form; the label's expression stands for the value variable
    // in the classes that take one. Null when drawing variables have no nodes.
    ExprNode* BuildExpr(DrawLabel* label, DiagramComp* context) const;

    // The fields as held (a variable may repeat) and the partial of the
    // residual with respect to each field, in the same order.
    int GetFieldCount() const { return m_count; }
    DrawVariable* GetField(int i) const { return m_vars[static_cast<size_t>(i)]; }
    virtual void Partials(double* out) const = 0;

protected:
    ConstraintEqn() = default;
    void Add(DrawVariable* variable) { m_vars[static_cast<size_t>(m_count++)] = variable; }
    void AddPoint(const VertexShape* point);
    // c0x..c3x then c0y..c3y.
    void AddCurve(const CurveShape* curve);
    virtual ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const = 0;
    double V(int i) const;
    // A new node of field i.
    ExprNode* N(int i) const;

private:
    std::array<DrawVariable*, kMaxVariables> m_vars{};
    int m_count = 0;
};

// (x1-x2)^2 + (y1-y2)^2 - d^2
class DistanceEqn : public ConstraintEqn {
public:
    DistanceEqn(const VertexShape* p1, const VertexShape* p2, DrawVariable* distance);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// a - b
class EqualEqn : public ConstraintEqn {
public:
    EqualEqn(DrawVariable* a, DrawVariable* b);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// 2m - a - b
class MidpointEqn : public ConstraintEqn {
public:
    MidpointEqn(DrawVariable* a, DrawVariable* m, DrawVariable* b);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// The law of cosines at the apex P2: (A + C - E)/2 - cos(theta) sqrt(A) sqrt(C).
class AngleEqn : public ConstraintEqn {
public:
    AngleEqn(const VertexShape* p1, const VertexShape* apex, const VertexShape* p3, DrawVariable* angle);
    double Residual() const override;
    // At a straight angle the residual has no slope at all: the distance is
    // the angle still to turn, along the shorter arm.
    double Distance(double residual, double squaredGradient) const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;

private:
    // The cosine and sine of the angle's value, and the value as the angle
    // between two arms measures it (in [0, pi]): a drawing's angles are
    // mostly locked, and every Newton step reads them for every angle, so
    // they are kept until the value changes.
    struct Turn {
        double value = std::numeric_limits<double>::quiet_NaN();
        double cosine = 0.0;
        double sine = 0.0;
        double between = 0.0;
    };
    const Turn& TurnOfValue() const;

    mutable Turn m_turn;
};

// P2 on the line P1 P3.
class CollinearEqn : public ConstraintEqn {
public:
    CollinearEqn(const VertexShape* p1, const VertexShape* p2, const VertexShape* p3);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// One coordinate a of a point on a cubic Bezier at parameter t: a - B(t).
class BezierPointEqn : public ConstraintEqn {
public:
    BezierPointEqn(DrawVariable* a, DrawVariable* c0, DrawVariable* c1, DrawVariable* c2, DrawVariable* c3,
                   DrawVariable* t);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// P1P2 parallel to P3P4.
class ParallelEqn : public ConstraintEqn {
public:
    ParallelEqn(const VertexShape* p1, const VertexShape* p2, const VertexShape* p3, const VertexShape* p4);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// A right angle at the corner P2.
class PerpendicularEqn : public ConstraintEqn {
public:
    PerpendicularEqn(const VertexShape* p1, const VertexShape* corner, const VertexShape* p3);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// v - c with c the value at construction; building it fixes the variable.
class FixValueEqn : public ConstraintEqn {
public:
    explicit FixValueEqn(DrawVariable* variable);
    double Residual() const override;
    void Partials(double* out) const override;
    bool PrepareForCluster() override { return true; }
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
    double GetConstant() const { return m_constant; }
    void SetConstant(double value) { m_constant = value; }

private:
    double m_constant;
};

// Locally only holds the point where the cluster found it; the kernel form
// puts it on the plot.
class PlotPointEqn : public ConstraintEqn {
public:
    PlotPointEqn(PlotShape* plot, const VertexShape* point);
    double Residual() const override;
    void Partials(double* out) const override;
    bool PrepareForCluster() override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;

private:
    PlotShape* m_plot;
    double m_xc = 0.0;
    double m_yc = 0.0;
};

// The curve point at t = 1/2 at distance r from the centre Q.
class ArcMidpointEqn : public ConstraintEqn {
public:
    ArcMidpointEqn(const CurveShape* curve, const VertexShape* centre, DrawVariable* radius);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// The line P1P2 parallel to the direction (a, b).
class DirectionEqn : public ConstraintEqn {
public:
    DirectionEqn(const VertexShape* p1, const VertexShape* p2, DrawVariable* a, DrawVariable* b);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// The line P1P2 perpendicular to the direction (a, b).
class NormalEqn : public ConstraintEqn {
public:
    NormalEqn(const VertexShape* p1, const VertexShape* p2, DrawVariable* a, DrawVariable* b);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// The curve's tangent at t parallel to (v, w).
class CurveDirectionEqn : public ConstraintEqn {
public:
    CurveDirectionEqn(const CurveShape* curve, DrawVariable* t, DrawVariable* v, DrawVariable* w);
    double Residual() const override;
    void Partials(double* out) const override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;
};

// Locally only holds the direction where the cluster found it.
class PlotTangentEqn : public ConstraintEqn {
public:
    PlotTangentEqn(PlotShape* plot, const VertexShape* point, DrawVariable* v, DrawVariable* w);
    double Residual() const override;
    void Partials(double* out) const override;
    bool PrepareForCluster() override;
    ExprNode* BuildKernelExpr(DrawLabel* label, DiagramComp* context) const override;

private:
    PlotShape* m_plot;
    DrawVariable* m_x;
    DrawVariable* m_y;
    double m_vc;
    double m_wc;
};
