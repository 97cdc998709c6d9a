#pragma once
// What every answer of a drawing's solvers is held to before it counts, the
// kernel's and the editor's own alike, on every edit and every drag step:
// - each equation holds within a tolerance relative to the figure's own
//   extent (whatever the zoom, wherever the figure lies), measured as a
//   distance (the residual over the length of its gradient), and never
//   finer than the rounding of values of its size;
// - a length (a distance, an equal length, a radius) keeps its sign: the
//   equations read only its square, so a negative answer is turned back;
// - no segment, angle arm or circle that had a length shrinks to a point
//   unless the constraints demand it (its ends made one, a length of none):
//   an answer that chose it meets the equations only because an equation
//   of a point holds for every angle.
// A solve whose answer fails the check puts every value back.
//
// It also gives a solve of an angle that does not hold a start from which it
// can turn: at a straight angle (and near it) the angle's equation has no
// slope across the arms, and the least change to a right angle shortens the
// arms instead of turning them, down to the apex.
#include "drawing/ItemArray.h"

#include <array>
#include <cmath>
#include <functional>
#include <vector>

class ConstraintEqn;
class DiagramComp;
class DrawVariable;

// Whether an equation's distance from holding is within the tolerance,
// never finer than the rounding of values of this size. A distance that is
// not a finite number never holds.
bool HoldsWithin(double distance, double size, double tolerance);
// The same for an equation at its variables' present values.
bool EquationHolds(const ConstraintEqn& equation, double tolerance);
// Whether the equation reads the variable only squared, as a length.
bool IsLengthOf(const ConstraintEqn& equation, const DrawVariable* variable);

class AnswerCheck {
public:
    using Filter = std::function<bool(const DrawVariable*)>;
    using Values = std::function<double(const DrawVariable*)>;

    // The equations to hold, and the lengths, segments, arms and circles of
    // the drawing (none without one) that read a variable a solve moves.
    void Gather(const DiagramComp* diagram, const std::vector<ConstraintEqn*>& equations, const Filter& moves,
                double tolerance);
    // A tolerance in drawing units below which the check never goes (none
    // for a drawing's solvers: theirs follows the figure).
    void SetTolerance(double tolerance) { m_tolerance = tolerance; }
    // The tolerance at the present values: a share of the figure's extent
    // (the box of its points, its lengths and radii), no larger than that
    // share of the figure noted before the solve, or the one set.
    double Tolerance() const;
    // The figure as it stands bounds the tolerance of the answers to come.
    void NoteFigureBefore();
    double Extent() const;
    // Turns each negative length back, then answers whether the present
    // values pass; `before` gives each variable's value before the solve.
    // `held` tells that the caller has just found every equation to hold at
    // the present values, as EquationHolds does: they are read again only
    // when a length was turned back.
    bool Accept(const Values& before, bool held = false);
    // Each angle that does not hold and whose value is locked or held turns
    // its arms about the apex to that value, those that may move: half each
    // when both may.
    void TurnArms(const ItemArray<DrawVariable>& held, const Filter& movable) const;

private:
    // Two points (a segment's ends, an arm), and, for a distance, the
    // length that binds them.
    struct Span {
        DrawVariable* x1;
        DrawVariable* y1;
        DrawVariable* x2;
        DrawVariable* y2;
        DrawVariable* length;
    };
    static bool SameEnds(const Span& a, const Span& b);
    static double SpanSize(const Span& span);
    bool Tied(const Span& span) const;
    void AddSpan(Span span, const Filter& moves);
    // How short a span or a radius may be without being a point.
    static double PointSize(double size, double tolerance);
    bool Collapsed(const Values& before) const;

    std::vector<ConstraintEqn*> m_equations;
    std::vector<DrawVariable*> m_lengths;
    std::vector<DrawVariable*> m_radii;
    std::vector<Span> m_spans;
    // The angles among the equations, which TurnArms reads on every solve.
    std::vector<const ConstraintEqn*> m_angles;
    // The spans of the distances among the equations.
    std::vector<Span> m_bound;
    // The coordinates of the points that a solve moves, beside the spans' ends.
    std::vector<std::array<const DrawVariable*, 2>> m_points;
    double m_tolerance = 0.0;
    // The figure's share noted before the solve.
    double m_before = INFINITY;
};
