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
#include <limits>
#include <map>
#include <set>
#include <utility>

namespace {

// The share of the figure's extent within which its equations hold: far
// below what a value display shows, well above what Newton steps reach.
constexpr double kFigureShare = 1e-9;
// The share of the size of its values below which an equation's distance
// from holding is lost in their rounding: a few units in their last place.
constexpr double kRounding = 16 * std::numeric_limits<double>::epsilon();
// A span or a radius within this many tolerances of none is a point.
constexpr double kPointTolerances = 10.0;

// The field of a length that the equation reads squared, or -1.
int LengthField(const ConstraintEqn& equation)
{
    if (dynamic_cast<const DistanceEqn*>(&equation))
        return 0;
    if (dynamic_cast<const ArcMidpointEqn*>(&equation))
        return equation.GetFieldCount() - 1;
    return -1;
}

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

bool HoldsWithin(double distance, double size, double tolerance)
{
    return std::isfinite(distance) && distance <= std::max(tolerance, kRounding * size);
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

bool IsLengthOf(const ConstraintEqn& equation, const DrawVariable* variable)
{
    const int field = LengthField(equation);
    return field >= 0 && equation.GetField(field) == variable;
}

void AnswerCheck::Gather(const DiagramComp* diagram, const std::vector<ConstraintEqn*>& equations, const Filter& moves,
                         double tolerance)
{
    m_equations = equations;
    m_tolerance = tolerance;
    m_lengths.clear();
    m_radii.clear();
    m_spans.clear();
    m_points.clear();
    m_bound.clear();
    m_angles.clear();
    for (ConstraintEqn* equation : equations) {
        // A distance's first field is the length it reads squared, as an
        // arc midpoint's last is.
        const bool distance = dynamic_cast<const DistanceEqn*>(equation) != nullptr;
        const bool arc = !distance && dynamic_cast<const ArcMidpointEqn*>(equation) != nullptr;
        DrawVariable* length = distance ? equation->GetField(0)
            : arc                       ? equation->GetField(equation->GetFieldCount() - 1)
                                        : nullptr;
        if (length && moves(length) && std::find(m_lengths.begin(), m_lengths.end(), length) == m_lengths.end())
            m_lengths.push_back(length);
        auto v = [equation](int k) { return equation->GetField(k); };
        if (distance) {
            m_bound.push_back({v(1), v(2), v(3), v(4), v(0)});
            if (moves(v(1)) || moves(v(2)) || moves(v(3)) || moves(v(4)))
                m_points.insert(m_points.end(), {{v(1), v(2)}, {v(3), v(4)}});
        }
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
    // The ends of sides are the spans'; a circle counts by its radius.
    for (DiagramShape* shape : diagram->GetShapes()) {
        if (const auto* vertex = shape->IsVertexShape() ? static_cast<const VertexShape*>(shape) : nullptr;
            vertex && (moves(vertex->GetXVar()) || moves(vertex->GetYVar())))
            m_points.push_back({vertex->GetXVar(), vertex->GetYVar()});
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
}

void AnswerCheck::AddSpan(Span span, const Filter& moves)
{
    if (moves(span.x1) || moves(span.y1) || moves(span.x2) || moves(span.y2))
        m_spans.push_back(span);
}

// The diagonal of the box of the points, or the largest length or radius
// when that is longer (a circle alone, a length typed far beyond its span).
double AnswerCheck::Extent() const
{
    double left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
    const auto take = [&](const DrawVariable* x, const DrawVariable* y) {
        left = std::min(left, x->GetValue());
        right = std::max(right, x->GetValue());
        bottom = std::min(bottom, y->GetValue());
        top = std::max(top, y->GetValue());
    };
    for (const Span& span : m_spans) {
        take(span.x1, span.y1);
        take(span.x2, span.y2);
    }
    for (const auto& [x, y] : m_points)
        take(x, y);
    double extent = left <= right ? std::hypot(right - left, top - bottom) : 0.0;
    for (const std::vector<DrawVariable*>* list : {&m_lengths, &m_radii})
        for (const DrawVariable* length : *list)
            extent = std::max(extent, std::fabs(length->GetValue()));
    return std::isfinite(extent) ? extent : 0.0;
}

// An answer that throws a point far out widens its own extent: the figure
// before the solve bounds the tolerance, so that the rest of it is held as
// closely as before.
double AnswerCheck::Tolerance() const
{
    return std::max(m_tolerance, std::min(m_before, kFigureShare * Extent()));
}

void AnswerCheck::NoteFigureBefore() { m_before = kFigureShare * Extent(); }

double AnswerCheck::PointSize(double size, double tolerance)
{
    return kPointTolerances * std::max(tolerance, kRounding * size);
}

bool AnswerCheck::Accept(const Values& before, bool held)
{
    for (DrawVariable* length : m_lengths)
        if (length->GetValue() < 0.0 && !(before(length) < 0.0)) {
            length->SetValue(-length->GetValue());
            held = false;
        }
    if (!held) {
        const double tolerance = Tolerance();
        for (const ConstraintEqn* equation : m_equations)
            if (!EquationHolds(*equation, tolerance))
                return false;
    }
    return !Collapsed(before);
}

bool AnswerCheck::SameEnds(const Span& a, const Span& b)
{
    return (a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2) ||
        (a.x1 == b.x2 && a.y1 == b.y2 && a.x2 == b.x1 && a.y2 == b.y1);
}

// Whether equations make the span's ends one point (a coincidence of them).
bool AnswerCheck::Tied(const Span& span) const
{
    const auto equal = [this](const DrawVariable* a, const DrawVariable* b) {
        return std::any_of(m_equations.begin(), m_equations.end(), [a, b](const ConstraintEqn* e) {
            return dynamic_cast<const EqualEqn*>(e) &&
                ((e->GetField(0) == a && e->GetField(1) == b) || (e->GetField(0) == b && e->GetField(1) == a));
        });
    };
    return equal(span.x1, span.x2) && equal(span.y1, span.y2);
}

// A span may shrink to a point where the constraints demand it: its ends
// made one, or a length bound to it that the user gave as none (a distance
// typed 0), or that a span shrunk so binds too (a partner of equal length).
// Only a collapse that nothing demands, one a least change chose, is refused.
bool AnswerCheck::Collapsed(const Values& before) const
{
    const double tolerance = Tolerance();
    for (const DrawVariable* radius : m_radii) {
        const double point = PointSize(std::fabs(before(radius)), tolerance);
        if (std::fabs(before(radius)) > point && !(std::fabs(radius->GetValue()) > point))
            return true;
    }
    std::vector<const Span*> shrunk;
    for (const Span& span : m_spans) {
        const double point = PointSize(SpanSize(span), tolerance);
        // Longer than a point along either axis, the span is no point now:
        // most spans are, and need no more reading.
        if (std::fabs(span.x1->GetValue() - span.x2->GetValue()) > point ||
            std::fabs(span.y1->GetValue() - span.y2->GetValue()) > point)
            continue;
        const double was = Distance(before(span.x1), before(span.y1), before(span.x2), before(span.y2));
        const double now = Distance(span.x1->GetValue(), span.y1->GetValue(), span.x2->GetValue(), span.y2->GetValue());
        if (was > point && !(now > point))
            shrunk.push_back(&span);
    }
    if (shrunk.empty())
        return false;
    std::vector<const DrawVariable*> none;
    for (const Span& bound : m_bound)
        if (std::fabs(before(bound.length)) <= PointSize(SpanSize(bound), tolerance))
            none.push_back(bound.length);
    const auto boundByNone = [&](const Span& span) {
        return std::any_of(m_bound.begin(), m_bound.end(), [&](const Span& bound) {
            return SameEnds(span, bound) && std::find(none.begin(), none.end(), bound.length) != none.end();
        });
    };
    // The points that demanded collapses make one: a span between two of
    // them (the third side of a triangle whose other two must vanish) is
    // demanded too.
    using Point = std::pair<const DrawVariable*, const DrawVariable*>;
    std::map<Point, Point> joined;
    const auto group = [&joined](Point point) {
        for (auto at = joined.find(point); at != joined.end() && at->second != point; at = joined.find(point))
            point = at->second;
        return point;
    };
    const auto ends = [](const Span& span) { return std::pair{Point{span.x1, span.y1}, Point{span.x2, span.y2}}; };
    std::vector<char> demanded(shrunk.size(), 0);
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < shrunk.size(); ++i) {
            const auto [first, second] = ends(*shrunk[i]);
            if (demanded[i] || !(Tied(*shrunk[i]) || boundByNone(*shrunk[i]) || group(first) == group(second)))
                continue;
            demanded[i] = 1;
            grew = true;
            joined[group(first)] = group(second);
            for (const Span& bound : m_bound)
                if (SameEnds(*shrunk[i], bound))
                    none.push_back(bound.length);
        }
    }
    return std::find(demanded.begin(), demanded.end(), 0) != demanded.end();
}

double AnswerCheck::SpanSize(const Span& span)
{
    return std::max({std::fabs(span.x1->GetValue()), std::fabs(span.y1->GetValue()), std::fabs(span.x2->GetValue()),
                     std::fabs(span.y2->GetValue())});
}

// The signed angle from the first arm to the second is s·phi; each arm
// turns by its share of the difference so that it becomes s·(wanted angle).
// At a straight angle either way round is as near.
void AnswerCheck::TurnArms(const ItemArray<DrawVariable>& held, const Filter& movable) const
{
    const double tolerance = Tolerance();
    for (const ConstraintEqn* equation : m_angles) {
        auto v = [equation](int k) { return equation->GetField(k); };
        const DrawVariable* angle = v(6);
        if (!(angle->IsFixed() || held.Contains(angle)) || v(0) == v(4) || EquationHolds(*equation, tolerance))
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
