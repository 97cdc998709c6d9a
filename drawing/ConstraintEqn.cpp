#include "drawing/ConstraintEqn.h"

#include "drawing/CurveShape.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingKernelHooks.h"
#include "drawing/PlotShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "kernel/LeafNodes.h"
#include "kernel/NodeBuilders.h"
#include "kernel/RelationNodes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

ExprNode* Int(int32_t n) { return MakeIntegerNode(n); }
ExprNode* Sub(ExprNode* a, ExprNode* b) { return MakeDifference(a, b); }
ExprNode* Add2(ExprNode* a, ExprNode* b) { return MakeSum(a, b); }
ExprNode* Mul(ExprNode* a, ExprNode* b) { return MakeProduct(a, b); }
ExprNode* Sq(ExprNode* x) { return MakeSquare(x); }
ExprNode* Rel(ExprNode* l, ExprNode* r) { return MakeRelation(l, r); }

// The label's math text as an expression, or null without a label.
ExprNode* LabelExpr(DrawLabel* label)
{
    return label && label->GetText() ? label->GetText()->BuildNode() : nullptr;
}

ExprNode* Sequence(std::initializer_list<ExprNode*> items)
{
    auto* sequence = new SequenceNode;
    for (ExprNode* item : items)
        sequence->AppendChild(item);
    return sequence;
}

ExprNode* NameSymbol(const Str255& name) { return new SymbolNode(std::string(name.GetText())); }

// The plot's function as a kernel expression.
ExprNode* PlotExpr(PlotShape* plot);

} // namespace

ItemArray<DrawVariable> ConstraintEqn::Variables() const
{
    ItemArray<DrawVariable> list;
    for (int i = 0; i < m_count; ++i)
        list.AddOnce(GetField(i));
    return list;
}

bool ConstraintEqn::DependsOn(const DrawVariable* variable) const
{
    for (int i = 0; i < m_count; ++i)
        if (GetField(i) == variable)
            return true;
    return false;
}

double ConstraintEqn::Derivative(const DrawVariable* variable) const
{
    std::array<double, kMaxVariables> partials{};
    Partials(partials.data());
    double sum = 0.0;
    for (int i = 0; i < m_count; ++i)
        if (GetField(i) == variable)
            sum += partials[static_cast<size_t>(i)];
    return sum;
}

double ConstraintEqn::AbsResidual() const { return std::fabs(Residual()); }

// A residual or a gradient that is not finite (a value so large that its
// square overflows, an arm of no length) is no distance.
double ConstraintEqn::Distance(double residual, double squaredGradient) const
{
    if (!std::isfinite(residual) || !std::isfinite(squaredGradient))
        return std::numeric_limits<double>::quiet_NaN();
    if (residual == 0.0)
        return 0.0;
    return std::fabs(residual) / std::sqrt(squaredGradient);
}

ExprNode* ConstraintEqn::BuildExpr(DrawLabel* label, DiagramComp* context) const
{
    // Without the kernel's variable nodes there is no kernel form.
    ExprNode* probe = MakeDrawVariableNode(GetField(0));
    if (!probe)
        return nullptr;
    delete probe;
    return BuildKernelExpr(label, context);
}

void ConstraintEqn::AddPoint(const VertexShape* point)
{
    Add(point->GetXVar());
    Add(point->GetYVar());
}

void ConstraintEqn::AddCurve(const CurveShape* curve)
{
    for (int i = 0; i < 4; ++i)
        Add(curve->GetControlPoint(i)->GetXVar());
    for (int i = 0; i < 4; ++i)
        Add(curve->GetControlPoint(i)->GetYVar());
}

// Inline: the equations read their values through it at every Newton step,
// and a position-independent build would not inline it otherwise.
inline double ConstraintEqn::V(int i) const { return GetField(i)->GetValue(); }

ExprNode* ConstraintEqn::N(int i) const { return MakeDrawVariableNode(GetField(i)); }

// ---- distance: fields d, x1, y1, x2, y2 ----

DistanceEqn::DistanceEqn(const VertexShape* p1, const VertexShape* p2, DrawVariable* distance)
{
    Add(distance);
    AddPoint(p1);
    AddPoint(p2);
}

double DistanceEqn::Residual() const
{
    const double dx = V(1) - V(3);
    const double dy = V(2) - V(4);
    return dx * dx + dy * dy - V(0) * V(0);
}

void DistanceEqn::Partials(double* out) const
{
    const double dx = V(1) - V(3);
    const double dy = V(2) - V(4);
    out[0] = -2.0 * V(0);
    out[1] = 2.0 * dx;
    out[2] = 2.0 * dy;
    out[3] = -2.0 * dx;
    out[4] = -2.0 * dy;
}

ExprNode* DistanceEqn::BuildKernelExpr(DrawLabel* label, DiagramComp*) const
{
    ExprNode* d = LabelExpr(label);
    if (!d)
        d = N(0);
    return Rel(Add2(Sq(Sub(N(1), N(3))), Sq(Sub(N(2), N(4)))), Sq(d));
}

// ---- equal: a, b ----

EqualEqn::EqualEqn(DrawVariable* a, DrawVariable* b)
{
    Add(a);
    Add(b);
}

double EqualEqn::Residual() const { return V(0) - V(1); }

void EqualEqn::Partials(double* out) const
{
    out[0] = 1.0;
    out[1] = -1.0;
}

ExprNode* EqualEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const { return Rel(N(0), N(1)); }

// ---- midpoint: a, m, b ----

MidpointEqn::MidpointEqn(DrawVariable* a, DrawVariable* m, DrawVariable* b)
{
    Add(a);
    Add(m);
    Add(b);
}

double MidpointEqn::Residual() const { return 2.0 * V(1) - V(0) - V(2); }

void MidpointEqn::Partials(double* out) const
{
    out[0] = -1.0;
    out[1] = 2.0;
    out[2] = -1.0;
}

ExprNode* MidpointEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    return Rel(Mul(Int(2), N(1)), Add2(N(0), N(2)));
}

// ---- angle: x1, y1, x2, y2, x3, y3, theta ----

AngleEqn::AngleEqn(const VertexShape* p1, const VertexShape* apex, const VertexShape* p3, DrawVariable* angle)
{
    AddPoint(p1);
    AddPoint(apex);
    AddPoint(p3);
    Add(angle);
}

const AngleEqn::Turn& AngleEqn::TurnOfValue() const
{
    const double value = V(6);
    if (!(value == m_turn.value)) {
        m_turn.value = value;
        m_turn.cosine = std::cos(value);
        m_turn.sine = std::sin(value);
        m_turn.between = std::acos(std::clamp(m_turn.cosine, -1.0, 1.0));
    }
    return m_turn;
}

double AngleEqn::Residual() const
{
    const double ax = V(0) - V(2), ay = V(1) - V(3);
    const double cx = V(4) - V(2), cy = V(5) - V(3);
    const double ex = V(0) - V(4), ey = V(1) - V(5);
    const double a = ax * ax + ay * ay, c = cx * cx + cy * cy, e = ex * ex + ey * ey;
    return (a + c - e) / 2.0 - TurnOfValue().cosine * std::sqrt(a) * std::sqrt(c);
}

// The shorter arm's length is the root of its square, unless the square
// overflows or is lost below the normal numbers. The angle still to turn is
// that between the arms less the value's: the arms' cross and dot products
// turned back by the value give its sine and cosine (times the arms'
// lengths), and near where the angle holds (the tangent of the turn below
// 1e-4) two terms of the arc tangent's series give it to the last digit.
double AngleEqn::Distance(double residual, double squaredGradient) const
{
    const double ax = V(0) - V(2), ay = V(1) - V(3);
    const double cx = V(4) - V(2), cy = V(5) - V(3);
    const double shorter = std::min(ax * ax + ay * ay, cx * cx + cy * cy);
    const double arm =
        std::isnormal(shorter) ? std::sqrt(shorter) : std::min(std::hypot(ax, ay), std::hypot(cx, cy));
    if (!(arm > 0.0))
        return ConstraintEqn::Distance(residual, squaredGradient);
    const Turn& turn = TurnOfValue();
    const double cross = std::fabs(ax * cy - ay * cx), dot = ax * cx + ay * cy;
    const double sine = cross * turn.cosine - dot * std::fabs(turn.sine);
    const double cosine = dot * turn.cosine + cross * std::fabs(turn.sine);
    const double tangent = sine / cosine;
    if (cosine > 0.0 && std::fabs(tangent) <= 1e-4)
        return std::fabs(tangent - tangent * tangent * tangent / 3.0) * arm;
    return std::fabs(std::atan2(cross, dot) - turn.between) * arm;
}

void AngleEqn::Partials(double* out) const
{
    const double ax = V(0) - V(2), ay = V(1) - V(3);
    const double cx = V(4) - V(2), cy = V(5) - V(3);
    const double a = std::sqrt(ax * ax + ay * ay);
    const double b = std::sqrt(cx * cx + cy * cy);
    const Turn& turn = TurnOfValue();
    out[0] = cx - turn.cosine * ax * b / a;
    out[1] = cy - turn.cosine * ay * b / a;
    out[4] = ax - turn.cosine * cx * a / b;
    out[5] = ay - turn.cosine * cy * a / b;
    out[2] = -out[0] - out[4];
    out[3] = -out[1] - out[5];
    out[6] = turn.sine * a * b;
}

ExprNode* AngleEqn::BuildKernelExpr(DrawLabel* label, DiagramComp*) const
{
    auto sumOfSquares = [this](int p, int q) {
        return Add2(Sq(Sub(N(p), N(q))), Sq(Sub(N(p + 1), N(q + 1))));
    };
    ExprNode* theta = LabelExpr(label);
    if (!theta)
        theta = N(6);
    ExprNode* cosine = MakeFunction("Cos", theta);
    ExprNode* roots = Mul(Mul(MakeSqrt(sumOfSquares(0, 2)), MakeSqrt(sumOfSquares(4, 2))), cosine);
    return Rel(Sub(Add2(sumOfSquares(0, 2), sumOfSquares(4, 2)), Mul(Int(2), roots)), sumOfSquares(0, 4));
}

// ---- collinear: x1, y1, x2, y2, x3, y3 ----

CollinearEqn::CollinearEqn(const VertexShape* p1, const VertexShape* p2, const VertexShape* p3)
{
    AddPoint(p1);
    AddPoint(p2);
    AddPoint(p3);
}

double CollinearEqn::Residual() const
{
    return (V(2) - V(4)) * (V(1) - V(3)) - (V(3) - V(5)) * (V(0) - V(2));
}

void CollinearEqn::Partials(double* out) const
{
    out[0] = V(5) - V(3);
    out[2] = V(1) - V(5);
    out[4] = V(3) - V(1);
    out[1] = V(2) - V(4);
    out[3] = V(4) - V(0);
    out[5] = V(0) - V(2);
}

ExprNode* CollinearEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    return Rel(Mul(Sub(N(1), N(3)), Sub(N(2), N(4))), Mul(Sub(N(0), N(2)), Sub(N(3), N(5))));
}

// ---- Bezier point: t, a, c0, c1, c2, c3 ----

BezierPointEqn::BezierPointEqn(DrawVariable* a, DrawVariable* c0, DrawVariable* c1, DrawVariable* c2,
                               DrawVariable* c3, DrawVariable* t)
{
    Add(t);
    Add(a);
    Add(c0);
    Add(c1);
    Add(c2);
    Add(c3);
}

double BezierPointEqn::Residual() const
{
    const double t = V(0), s = 1.0 - t;
    return V(1) - (V(2) * s * s * s + 3.0 * V(3) * t * s * s + 3.0 * V(4) * t * t * s + V(5) * t * t * t);
}

void BezierPointEqn::Partials(double* out) const
{
    const double t = V(0), s = 1.0 - t;
    out[0] = 3.0 * (V(2) * s * s + V(3) * s * (2.0 * t - s) + V(4) * t * (t - 2.0 * s)) - 3.0 * V(5) * t * t;
    out[1] = 1.0;
    out[2] = -s * s * s;
    out[3] = -3.0 * t * s * s;
    out[4] = -3.0 * t * t * s;
    out[5] = -t * t * t;
}

ExprNode* BezierPointEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    auto s = [this] { return Sub(Int(1), N(0)); };
    ExprNode* first = Mul(N(2), MakePower(s(), Int(3)));
    ExprNode* second = Mul(Mul(Int(3), N(3)), Mul(N(0), Sq(s())));
    ExprNode* third = Mul(Mul(Int(3), N(4)), Mul(Sq(N(0)), s()));
    ExprNode* fourth = Mul(N(5), MakePower(N(0), Int(3)));
    return Sub(N(1), Add2(Add2(first, second), Add2(third, fourth)));
}

// ---- parallel: x1, y1, x2, y2, x3, y3, x4, y4 ----

ParallelEqn::ParallelEqn(const VertexShape* p1, const VertexShape* p2, const VertexShape* p3,
                         const VertexShape* p4)
{
    AddPoint(p1);
    AddPoint(p2);
    AddPoint(p3);
    AddPoint(p4);
}

double ParallelEqn::Residual() const
{
    return (V(2) - V(0)) * (V(5) - V(7)) - (V(3) - V(1)) * (V(4) - V(6));
}

void ParallelEqn::Partials(double* out) const
{
    out[0] = V(7) - V(5);
    out[2] = V(5) - V(7);
    out[4] = V(1) - V(3);
    out[6] = V(3) - V(1);
    out[1] = V(4) - V(6);
    out[3] = V(6) - V(4);
    out[5] = V(2) - V(0);
    out[7] = V(0) - V(2);
}

ExprNode* ParallelEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    // x1..x4 are fields 0, 2, 4, 6 and y1..y4 fields 1, 3, 5, 7.
    ExprNode* left = Add2(Sub(Mul(N(7), N(0)), Mul(N(5), N(0))), Sub(Mul(N(5), N(2)), Mul(N(7), N(2))));
    ExprNode* right = Add2(Sub(Mul(N(3), N(4)), Mul(N(1), N(4))), Sub(Mul(N(1), N(6)), Mul(N(3), N(6))));
    return Rel(left, right);
}

// ---- perpendicular: x1, y1, x2, y2, x3, y3 ----

PerpendicularEqn::PerpendicularEqn(const VertexShape* p1, const VertexShape* corner, const VertexShape* p3)
{
    AddPoint(p1);
    AddPoint(corner);
    AddPoint(p3);
}

double PerpendicularEqn::Residual() const
{
    return (V(0) - V(2)) * (V(2) - V(4)) + (V(1) - V(3)) * (V(3) - V(5));
}

void PerpendicularEqn::Partials(double* out) const
{
    for (int k = 0; k < 2; ++k) {
        out[k] = V(2 + k) - V(4 + k);
        out[2 + k] = V(k) - 2.0 * V(2 + k) + V(4 + k);
        out[4 + k] = V(2 + k) - V(k);
    }
}

ExprNode* PerpendicularEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    return Rel(Add2(Mul(Sub(N(0), N(2)), Sub(N(2), N(4))), Mul(Sub(N(1), N(3)), Sub(N(3), N(5)))), Int(0));
}

// ---- fixed value: v ----

FixValueEqn::FixValueEqn(DrawVariable* variable) : m_constant(variable->GetValue())
{
    Add(variable);
    variable->SetFixed(true);
}

double FixValueEqn::Residual() const { return V(0) - m_constant; }

void FixValueEqn::Partials(double* out) const { out[0] = 1.0; }

ExprNode* FixValueEqn::BuildKernelExpr(DrawLabel* label, DiagramComp*) const
{
    ExprNode* value = LabelExpr(label);
    return Rel(N(0), value ? value : MakeRealNode(m_constant));
}

// ---- point on a plot: x, y ----

PlotPointEqn::PlotPointEqn(PlotShape* plot, const VertexShape* point) : m_plot(plot)
{
    AddPoint(point);
    m_xc = V(0);
    m_yc = V(1);
}

double PlotPointEqn::Residual() const
{
    return (V(0) - m_xc) * (V(0) - m_xc) + (V(1) - m_yc) * (V(1) - m_yc);
}

void PlotPointEqn::Partials(double* out) const
{
    out[0] = 2.0 * (V(0) - m_xc);
    out[1] = 2.0 * (V(1) - m_yc);
}

bool PlotPointEqn::PrepareForCluster()
{
    m_xc = V(0);
    m_yc = V(1);
    return false;
}

ExprNode* PlotPointEqn::BuildKernelExpr(DrawLabel*, DiagramComp* context) const
{
    const Str255 xName = context ? context->GetXName() : Str255("x");
    const Str255 yName = context ? context->GetYName() : Str255("y");
    return MakeFunction("VXPlotConstraint",
                        Sequence({PlotExpr(m_plot), NameSymbol(xName), N(0), NameSymbol(yName), N(1)}));
}

// ---- arc midpoint: qx, qy, r, c0x, c0y, c1x, c1y, c2x, c2y, c3x, c3y ----

ArcMidpointEqn::ArcMidpointEqn(const CurveShape* curve, const VertexShape* centre, DrawVariable* radius)
{
    AddPoint(centre);
    Add(radius);
    for (int i = 0; i < 4; ++i)
        AddPoint(curve->GetControlPoint(i));
}

namespace {

// The curve point at t = 1/2 in coordinate k (0 x, 1 y) from the fields 3...
double ArcMid(const ConstraintEqn& eqn, int k)
{
    auto c = [&](int i) { return eqn.GetField(3 + 2 * i + k)->GetValue(); };
    return (c(0) + 3.0 * (c(1) + c(2)) + c(3)) / 8.0;
}

} // namespace

double ArcMidpointEqn::Residual() const
{
    const double dx = V(0) - ArcMid(*this, 0);
    const double dy = V(1) - ArcMid(*this, 1);
    return dy * dy + dx * dx - V(2) * V(2);
}

void ArcMidpointEqn::Partials(double* out) const
{
    const double d[2] = {V(0) - ArcMid(*this, 0), V(1) - ArcMid(*this, 1)};
    out[0] = 2.0 * d[0];
    out[1] = 2.0 * d[1];
    out[2] = -2.0 * V(2);
    for (int k = 0; k < 2; ++k) {
        out[3 + k] = -0.25 * d[k];
        out[5 + k] = -0.75 * d[k];
        out[7 + k] = -0.75 * d[k];
        out[9 + k] = -0.25 * d[k];
    }
}

ExprNode* ArcMidpointEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    auto offset = [this](int k) {
        ExprNode* sum = Add2(Add2(N(3 + k), Mul(MakeRealNode(3.0), N(5 + k))),
                             Add2(Mul(MakeRealNode(3.0), N(7 + k)), N(9 + k)));
        return Sq(Sub(N(k), MakeQuotient(sum, MakeRealNode(8.0))));
    };
    return Sub(Add2(offset(0), offset(1)), Sq(N(2)));
}

// ---- direction: a, b, x1, y1, x2, y2 ----

DirectionEqn::DirectionEqn(const VertexShape* p1, const VertexShape* p2, DrawVariable* a, DrawVariable* b)
{
    Add(a);
    Add(b);
    AddPoint(p1);
    AddPoint(p2);
}

double DirectionEqn::Residual() const { return (V(5) - V(3)) * V(0) - (V(4) - V(2)) * V(1); }

void DirectionEqn::Partials(double* out) const
{
    out[0] = V(5) - V(3);
    out[1] = -(V(4) - V(2));
    out[2] = V(1);
    out[4] = -V(1);
    out[3] = -V(0);
    out[5] = V(0);
}

ExprNode* DirectionEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    return Rel(Mul(Sub(N(5), N(3)), N(0)), Mul(Sub(N(4), N(2)), N(1)));
}

// ---- normal: a, b, x2, y2, x1, y1 ----

NormalEqn::NormalEqn(const VertexShape* p1, const VertexShape* p2, DrawVariable* a, DrawVariable* b)
{
    Add(a);
    Add(b);
    AddPoint(p2);
    AddPoint(p1);
}

double NormalEqn::Residual() const { return (V(3) - V(5)) * V(1) + (V(2) - V(4)) * V(0); }

void NormalEqn::Partials(double* out) const
{
    out[0] = V(2) - V(4);
    out[1] = V(3) - V(5);
    out[2] = V(0);
    out[4] = -V(0);
    out[3] = V(1);
    out[5] = -V(1);
}

ExprNode* NormalEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    return Rel(Add2(Mul(Sub(N(2), N(4)), N(0)), Mul(Sub(N(3), N(5)), N(1))), Int(0));
}

// ---- curve direction: c0x..c3x, c0y..c3y, t, v, w ----

CurveDirectionEqn::CurveDirectionEqn(const CurveShape* curve, DrawVariable* t, DrawVariable* v, DrawVariable* w)
{
    AddCurve(curve);
    Add(t);
    Add(v);
    Add(w);
}

namespace {

// One third of dB/dt in the coordinate whose controls start at field base.
double CurveD(const ConstraintEqn& eqn, int base, double t)
{
    auto c = [&](int i) { return eqn.GetField(base + i)->GetValue(); };
    return (c(1) - c(0)) + 2.0 * t * (c(0) - 2.0 * c(1) + c(2)) + t * t * (c(3) - 3.0 * c(2) + 3.0 * c(1) - c(0));
}

} // namespace

double CurveDirectionEqn::Residual() const
{
    const double t = V(8);
    return CurveD(*this, 0, t) * V(10) - CurveD(*this, 4, t) * V(9);
}

void CurveDirectionEqn::Partials(double* out) const
{
    const double t = V(8), s = 1.0 - t;
    const double coefficients[4] = {-s * s, 1.0 - 4.0 * t + 3.0 * t * t, 2.0 * t - 3.0 * t * t, t * t};
    for (int i = 0; i < 4; ++i) {
        out[i] = coefficients[i] * V(10);
        out[4 + i] = -coefficients[i] * V(9);
    }
    auto slope = [&](int base) {
        auto c = [&](int i) { return V(base + i); };
        return 2.0 * ((c(3) - 3.0 * c(2) + 3.0 * c(1) - c(0)) * t + (c(0) - 2.0 * c(1) + c(2)));
    };
    out[8] = slope(0) * V(10) - slope(4) * V(9);
    out[9] = -CurveD(*this, 4, t);
    out[10] = CurveD(*this, 0, t);
}

ExprNode* CurveDirectionEqn::BuildKernelExpr(DrawLabel*, DiagramComp*) const
{
    auto derivative = [this](int base) {
        ExprNode* cubic = Add2(Sub(Mul(Int(3), N(base + 1)), N(base)), Sub(N(base + 3), Mul(Int(3), N(base + 2))));
        ExprNode* quadratic = Sub(Add2(N(base), N(base + 2)), Mul(Int(2), N(base + 1)));
        return Add2(Add2(Mul(cubic, Sq(N(8))), Mul(Mul(Int(2), N(8)), quadratic)), Sub(N(base + 1), N(base)));
    };
    return Rel(Mul(N(10), derivative(0)), Mul(N(9), derivative(4)));
}

// ---- plot tangent: v, w (x, y kept for the kernel form) ----

PlotTangentEqn::PlotTangentEqn(PlotShape* plot, const VertexShape* point, DrawVariable* v, DrawVariable* w)
    : m_plot(plot), m_x(point->GetXVar()), m_y(point->GetYVar()), m_vc(v->GetValue()), m_wc(w->GetValue())
{
    Add(v);
    Add(w);
}

double PlotTangentEqn::Residual() const
{
    return (V(0) - m_vc) * (V(0) - m_vc) + (V(1) - m_wc) * (V(1) - m_wc);
}

void PlotTangentEqn::Partials(double* out) const
{
    out[0] = 2.0 * (V(0) - m_vc);
    out[1] = 2.0 * (V(1) - m_wc);
}

bool PlotTangentEqn::PrepareForCluster()
{
    m_vc = V(0);
    m_wc = V(1);
    return false;
}

ExprNode* PlotTangentEqn::BuildKernelExpr(DrawLabel*, DiagramComp* context) const
{
    const Str255 xName = context ? context->GetXName() : Str255("x");
    const Str255 yName = context ? context->GetYName() : Str255("y");
    return MakeFunction("VXTangentConstraint",
                        Sequence({PlotExpr(m_plot), NameSymbol(xName), MakeDrawVariableNode(m_x),
                                  NameSymbol(yName), MakeDrawVariableNode(m_y), N(0), N(1)}));
}

namespace {

ExprNode* PlotExpr(PlotShape* plot)
{
    // Building a node does not change the row.
    auto* function = plot ? const_cast<CompList*>(plot->GetFunction()) : nullptr;
    return function ? function->BuildNode() : new SymbolNode(std::string("Null"));
}

} // namespace
