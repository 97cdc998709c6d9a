#include "drawing/AnswerCheck.h"

#include "drawing/CircleShape.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/LocalSolver.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace {

// The share of the size of its values below which an equation's distance
// from holding is lost in the precision of the values.
constexpr double kPrecision = 1e-10;
// A span or a radius within this many tolerances of none is a point.
constexpr double kPointTolerances = 10.0;

double Distance(double x1, double y1, double x2, double y2)
{
    return std::hypot(x1 - x2, y1 - y2);
}

// (x, y) turned by the angle about the origin.
std::array<double, 2> Turned(double x, double y, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * x - s * y, s * x + c * y};
}

} // namespace

double DrawingTolerance(const DiagramComp& diagram)
{
    return LocalSolver::kTolerancePoints * diagram.GetDC().GetCurrentScale();
}

bool HoldsWithin(double distance, double size, double tolerance)
{
    return std::isfinite(distance) && distance <= std::max(tolerance, kPrecision * (1.0 + size));
}

bool EquationHolds(const ConstraintEqn& equation, double tolerance)
{
    std::array<double, ConstraintEqn::kMaxVariables> partials{};
    equation.Partials(partials.data());
    double squares = 0.0;
    double size = 0.0;
    for (int k = 0; k < equation.GetFieldCount(); ++k) {
        squares += partials[static_cast<size_t>(k)] * partials[static_cast<size_t>(k)];
        size = std::max(size, std::fabs(equation.GetField(k)->GetValue()));
    }
    return HoldsWithin(equation.Distance(equation.Residual(), squares), size, tolerance);
}

void AnswerCheck::Gather(const DiagramComp* diagram, const std::vector<ConstraintEqn*>& equations, const Filter& moves,
                         double tolerance)
{
    m_equations = equations;
    m_tolerance = tolerance;
    m_lengths.clear();
    m_radii.clear();
    m_spans.clear();
    m_angles.clear();
    // The distances, whose first field is the length they read squared, as
    // the arc midpoint's last is.
    std::vector<const ConstraintEqn*> bound;
    for (ConstraintEqn* equation : equations) {
        const bool distance = dynamic_cast<const DistanceEqn*>(equation) != nullptr;
        const bool arc = !distance && dynamic_cast<const ArcMidpointEqn*>(equation) != nullptr;
        DrawVariable* length = distance ? equation->GetField(0)
            : arc                       ? equation->GetField(equation->GetFieldCount() - 1)
                                        : nullptr;
        if (length && moves(length) && std::find(m_lengths.begin(), m_lengths.end(), length) == m_lengths.end())
            m_lengths.push_back(length);
        auto v = [equation](int k) { return equation->GetField(k); };
        if (distance)
            bound.push_back(equation);
        else if (arc && moves(length))
            m_radii.push_back(length);
        else if (dynamic_cast<const AngleEqn*>(equation)) {
            m_angles.push_back(equation);
            AddSpan({v(0), v(1), v(2), v(3), nullptr}, moves);
            AddSpan({v(4), v(5), v(2), v(3), nullptr}, moves);
        }
    }
    if (!diagram)
        return;
    std::set<const DiagramShape*> segments;
    for (DiagramShape* shape : diagram->GetShapes()) {
        if (shape->IsCircle()) {
            DrawVariable* radius = static_cast<CircleShape*>(shape)->GetRadiusVar();
            if (moves(radius))
                m_radii.push_back(radius);
        }
        for (DiagramShape* side : shape->GetSides()) {
            if (!side->IsSegment() || !segments.insert(side).second)
                continue;
            const auto* segment = static_cast<const SegmentShape*>(side);
            Span span{segment->GetStart()->GetXVar(), segment->GetStart()->GetYVar(), segment->GetEnd()->GetXVar(),
                      segment->GetEnd()->GetYVar(), nullptr};
            AddSpan(span, moves);
        }
    }
    // A span bound by a distance takes that length, whichever end it names first.
    for (Span& span : m_spans)
        for (const ConstraintEqn* length : bound) {
            const DrawVariable* x1 = length->GetField(1);
            const DrawVariable* x2 = length->GetField(3);
            if ((x1 == span.x1 && x2 == span.x2) || (x1 == span.x2 && x2 == span.x1))
                span.length = length->GetField(0);
        }
}

void AnswerCheck::AddSpan(Span span, const Filter& moves)
{
    if (moves(span.x1) || moves(span.y1) || moves(span.x2) || moves(span.y2))
        m_spans.push_back(span);
}

double AnswerCheck::PointSize(double size) const
{
    return kPointTolerances * std::max(m_tolerance, kPrecision * (1.0 + size));
}

bool AnswerCheck::Accept(const Values& before, bool held)
{
    for (DrawVariable* length : m_lengths)
        if (length->GetValue() < 0.0 && !(before(length) < 0.0)) {
            length->SetValue(-length->GetValue());
            held = false;
        }
    if (!held)
        for (const ConstraintEqn* equation : m_equations)
            if (!EquationHolds(*equation, m_tolerance))
                return false;
    return !Collapsed(before);
}

// A length the user gave as none (a distance typed 0) lets its span go.
bool AnswerCheck::Collapsed(const Values& before) const
{
    for (const Span& span : m_spans) {
        const double size = std::max({std::fabs(span.x1->GetValue()), std::fabs(span.y1->GetValue()),
                                      std::fabs(span.x2->GetValue()), std::fabs(span.y2->GetValue())});
        const double point = PointSize(size);
        // Longer than a point along either axis, the span is no point now:
        // most spans are, and need no more reading.
        if (std::fabs(span.x1->GetValue() - span.x2->GetValue()) > point ||
            std::fabs(span.y1->GetValue() - span.y2->GetValue()) > point)
            continue;
        const double was = Distance(before(span.x1), before(span.y1), before(span.x2), before(span.y2));
        const double now = Distance(span.x1->GetValue(), span.y1->GetValue(), span.x2->GetValue(), span.y2->GetValue());
        const bool given = span.length && std::fabs(before(span.length)) <= point;
        if (was > point && !(now > point) && !given)
            return true;
    }
    for (const DrawVariable* radius : m_radii) {
        const double point = PointSize(std::fabs(before(radius)));
        if (std::fabs(before(radius)) > point && !(std::fabs(radius->GetValue()) > point))
            return true;
    }
    return false;
}

// The signed angle from the first arm to the second is s·phi; each arm
// turns by its share of the difference so that it becomes s·(wanted angle).
// At a straight angle either way round is as near.
void AnswerCheck::TurnArms(const ItemArray<DrawVariable>& held, const Filter& movable) const
{
    for (const ConstraintEqn* equation : m_angles) {
        auto v = [equation](int k) { return equation->GetField(k); };
        const DrawVariable* angle = v(6);
        if (!(angle->IsFixed() || held.Contains(angle)) || v(0) == v(4) || EquationHolds(*equation, m_tolerance))
            continue;
        const bool first = movable(v(0)) && movable(v(1));
        const bool second = movable(v(4)) && movable(v(5));
        const double apexX = v(2)->GetValue(), apexY = v(3)->GetValue();
        const double ax = v(0)->GetValue() - apexX, ay = v(1)->GetValue() - apexY;
        const double cx = v(4)->GetValue() - apexX, cy = v(5)->GetValue() - apexY;
        const double cross = ax * cy - ay * cx;
        const double wanted = std::acos(std::clamp(std::cos(angle->GetValue()), -1.0, 1.0));
        const double turn = (cross < 0.0 ? -1.0 : 1.0) * (wanted - std::atan2(std::fabs(cross), ax * cx + ay * cy));
        if (!(first || second) || !(std::hypot(ax, ay) > 0.0) || !(std::hypot(cx, cy) > 0.0) || !std::isfinite(turn))
            continue;
        const double secondShare = second ? (first ? 0.5 : 1.0) : 0.0;
        if (first) {
            const auto [x, y] = Turned(ax, ay, -(1.0 - secondShare) * turn);
            v(0)->SetValue(apexX + x);
            v(1)->SetValue(apexY + y);
        }
        if (second) {
            const auto [x, y] = Turned(cx, cy, secondShare * turn);
            v(4)->SetValue(apexX + x);
            v(5)->SetValue(apexY + y);
        }
    }
}
