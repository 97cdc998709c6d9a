// The fifteen equation classes: each holds at a configuration that
// satisfies it, its analytic partials agree with central differences away
// from it, its variable list agrees with DependsOn, and its kernel form reads
// as the formula.
#include "DrawingTestSupport.h"

#include "drawing/DrawingNodes.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingKernelHooks.h"
#include "drawing/PlotShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ExprNode.h"
#include "foundation/Str255.h"
#include "kernel/LeafNodes.h"

#include <cmath>
#include <functional>
#include <iostream>
#include <map>

namespace {

// Every variable the case makes, named for the kernel forms.
struct Names {
    std::map<const DrawVariable*, std::string> names;
};
Names* gNames = nullptr;

ExprNode* NamedNode(DrawVariable* variable)
{
    auto found = gNames->names.find(variable);
    return new SymbolNode(found == gNames->names.end() ? std::string("v") : found->second);
}

struct Scene {
    std::vector<std::unique_ptr<VertexShape>> vertices;
    std::vector<std::unique_ptr<DrawVariable>> variables;
    std::vector<std::unique_ptr<DiagramShape>> shapes;
    Names names;

    VertexShape* Point(const char* name, double x, double y)
    {
        vertices.push_back(std::make_unique<VertexShape>(x, y));
        names.names[vertices.back()->GetXVar()] = std::string("x") + name;
        names.names[vertices.back()->GetYVar()] = std::string("y") + name;
        return vertices.back().get();
    }
    DrawVariable* Value(const char* name, double value)
    {
        variables.push_back(std::make_unique<DrawVariable>(value, false));
        names.names[variables.back().get()] = name;
        return variables.back().get();
    }
    // The curve c0 (0, 0), c1 (1, 2), c2 (3, 2), c3 (4, 0); it holds its vertices.
    CurveShape* Curve()
    {
        VertexShape* c[4];
        const double xs[] = {0, 1, 3, 4}, ys[] = {0, 2, 2, 0};
        for (int i = 0; i < 4; ++i) {
            auto* v = new VertexShape(xs[i], ys[i]);
            names.names[v->GetXVar()] = "c" + std::to_string(i) + "x";
            names.names[v->GetYVar()] = "c" + std::to_string(i) + "y";
            c[i] = v;
        }
        auto* curve = new CurveShape(c[0], c[3], c[1], c[2]);
        shapes.emplace_back(curve);
        return curve;
    }
    ~Scene()
    {
        for (auto& shape : shapes)
            if (auto* curve = dynamic_cast<CurveShape*>(shape.get()))
                DeleteShapes({curve}), shape.release();
    }
};

struct EquationCase {
    const char* name;
    // Builds the equation over a configuration where it holds.
    std::function<ConstraintEqn*(Scene&)> build;
    // The kernel form's plain text.
    const char* kernelText;
};

double CentralDifference(const ConstraintEqn& eqn, DrawVariable* variable)
{
    const double value = variable->GetValue();
    const double h = 1e-6 * std::max(1.0, std::fabs(value));
    variable->SetValue(value + h);
    const double up = eqn.Residual();
    variable->SetValue(value - h);
    const double down = eqn.Residual();
    variable->SetValue(value);
    return (up - down) / (2.0 * h);
}

const std::vector<EquationCase>& Cases()
{
    static const std::vector<EquationCase> cases = {
        {"Distance",
         [](Scene& s) { return new DistanceEqn(s.Point("1", 0, 0), s.Point("2", 3, 4), s.Value("d", 5)); }, "(x1 - x2)^2 + (y1 - y2)^2 = d^2"},
        {"Equal", [](Scene& s) { return new EqualEqn(s.Value("a", 2), s.Value("b", 2)); }, "a = b"},
        {"Midpoint", [](Scene& s) { return new MidpointEqn(s.Value("a", 1), s.Value("m", 2), s.Value("b", 3)); },
         "2 m = a + b"},
        {"Angle",
         [](Scene& s) {
             return new AngleEqn(s.Point("1", 2, 0), s.Point("2", 0, 0), s.Point("3", 1, 1), s.Value("t", M_PI / 4));
         },
         "(x1 - x2)^2 + (y1 - y2)^2 + (x3 - x2)^2 + (y3 - y2)^2 - 2 sqrt((x1 - x2)^2 + (y1 - y2)^2) sqrt((x3 - x2)^2 + (y3 - y2)^2) Cos[t] = (x1 - x3)^2 + (y1 - y3)^2"},
        {"Collinear",
         [](Scene& s) { return new CollinearEqn(s.Point("1", 0, 0), s.Point("2", 1, 1), s.Point("3", 3, 3)); }, "(y1 - y2) (x2 - x3) = (x1 - x2) (y2 - y3)"},
        {"BezierPoint",
         [](Scene& s) {
             return new BezierPointEqn(s.Value("a", 2), s.Value("c0", 0), s.Value("c1", 1), s.Value("c2", 3),
                                       s.Value("c3", 4), s.Value("t", 0.5));
         },
         "a - (c0 (1 - t)^3 + 3 c1 t (1 - t)^2 + 3 c2 t^2 (1 - t) + c3 t^3)"},
        {"Parallel",
         [](Scene& s) {
             return new ParallelEqn(s.Point("1", 0, 0), s.Point("2", 2, 1), s.Point("3", 1, 3), s.Point("4", 5, 5));
         },
         "y4 x1 - y3 x1 + y3 x2 - y4 x2 = y2 x3 - y1 x3 + y1 x4 - y2 x4"},
        {"Perpendicular",
         [](Scene& s) { return new PerpendicularEqn(s.Point("1", 0, 2), s.Point("2", 0, 0), s.Point("3", 3, 0)); },
         "(x1 - x2) (x2 - x3) + (y1 - y2) (y2 - y3) = 0"},
        {"FixValue", [](Scene& s) { return new FixValueEqn(s.Value("v", 1.5)); }, "v = 1.5"},
        {"PlotPoint",
         [](Scene& s) {
             s.shapes.push_back(std::make_unique<PlotShape>());
             return new PlotPointEqn(static_cast<PlotShape*>(s.shapes.back().get()), s.Point("p", 1, 2));
         },
         "VXPlotConstraint[x,xp,y,yp]"},
        {"ArcMidpoint",
         // The middle of the curve is (2, 1.5): at 2.5 from (0, 0).
         [](Scene& s) { return new ArcMidpointEqn(s.Curve(), s.Point("q", 0, 0), s.Value("r", 2.5)); }, "(xq - (c0x + 3 c1x + 3 c2x + c3x)/8)^2 + (yq - (c0y + 3 c1y + 3 c2y + c3y)/8)^2 - r^2"},
        {"Direction",
         [](Scene& s) {
             return new DirectionEqn(s.Point("1", 0, 0), s.Point("2", 2, 1), s.Value("a", 4), s.Value("b", 2));
         },
         "(y2 - y1) a = (x2 - x1) b"},
        {"Normal",
         [](Scene& s) {
             return new NormalEqn(s.Point("1", 0, 0), s.Point("2", 2, 1), s.Value("a", -1), s.Value("b", 2));
         },
         "(x2 - x1) a + (y2 - y1) b = 0"},
        {"CurveDirection",
         // At t = 1/2 the curve runs along (1, 0).
         [](Scene& s) {
             return new CurveDirectionEqn(s.Curve(), s.Value("t", 0.5), s.Value("v", 3), s.Value("w", 0));
         },
         "w ((3 c1x - c0x + c3x - 3 c2x) t^2 + 2 t (c0x + c2x - 2 c1x) + c1x - c0x) = v ((3 c1y - c0y + c3y - 3 c2y) t^2 + 2 t (c0y + c2y - 2 c1y) + c1y - c0y)"},
        {"PlotTangent",
         [](Scene& s) {
             s.shapes.push_back(std::make_unique<PlotShape>());
             return new PlotTangentEqn(static_cast<PlotShape*>(s.shapes.back().get()), s.Point("p", 1, 2),
                                       s.Value("v", 1), s.Value("w", 0));
         },
         "VXTangentConstraint[x,xp,y,yp,v,w]"},
    };
    return cases;
}

class EquationTest : public DrawingTest {
protected:
    EquationTest() { InstallDrawingNodeMakers(&NamedNode, nullptr); }
    ~EquationTest() override { InstallDrawingNodeMakers(nullptr, nullptr); }
};

} // namespace

TEST_F(EquationTest, EveryClassHoldsWhereBuiltAndItsPartialsMatchCentralDifferences)
{
    ASSERT_EQ(Cases().size(), 15u);
    std::cout << "class            variable  analytic      central difference\n";
    for (const EquationCase& c : Cases()) {
        Scene scene;
        gNames = &scene.names;
        std::unique_ptr<ConstraintEqn> eqn(c.build(scene));
        EXPECT_NEAR(eqn->Residual(), 0.0, 1e-12) << c.name;
        const ItemArray<DrawVariable> variables = eqn->Variables();
        // Away from the solution, with every variable moved a little.
        double shift = 0.137;
        for (DrawVariable* variable : variables) {
            variable->SetValue(variable->GetValue() + shift);
            shift = -shift * 1.31;
        }
        eqn->PrepareForCluster();
        for (DrawVariable* variable : variables) {
            variable->SetValue(variable->GetValue() + 0.05);
            const double analytic = eqn->Derivative(variable);
            const double numeric = CentralDifference(*eqn, variable);
            EXPECT_NEAR(analytic, numeric, 1e-6 * std::max(1.0, std::fabs(numeric)))
                << c.name << " by " << scene.names.names[variable];
            std::printf("%-16s %-9s %+.8f   %+.8f\n", c.name, scene.names.names[variable].c_str(), analytic, numeric);
            EXPECT_TRUE(eqn->DependsOn(variable));
        }
        DrawVariable stranger(1.0, false);
        EXPECT_FALSE(eqn->DependsOn(&stranger));
        EXPECT_EQ(eqn->Derivative(&stranger), 0.0);

        std::unique_ptr<ExprNode> form(eqn->BuildExpr(nullptr, nullptr));
        ASSERT_NE(form, nullptr) << c.name;
        Str255 text;
        form->GetText(text);
        std::cout << c.name << ": " << text.GetText() << "\n";
        EXPECT_STREQ(text.GetText(), c.kernelText) << c.name;
        gNames = nullptr;
    }
}

TEST(ConstraintEquation, KernelFormsCarryTheVariablesAsDrawingNodes)
{
    DrawVariable a(1.0, false), b(2.5, false);
    EqualEqn equal(&a, &b);
    std::unique_ptr<ExprNode> form(equal.BuildExpr(nullptr, nullptr));
    auto* relation = dynamic_cast<CompositeNode*>(form.get());
    ASSERT_NE(relation, nullptr);
    auto* left = dynamic_cast<DrawVarNode*>(relation->First());
    auto* right = dynamic_cast<DrawVarNode*>(relation->GetLastChild());
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->GetVariable(), &a);
    EXPECT_EQ(right->GetVariable(), &b);
    EXPECT_EQ(right->GetRealValue(), 2.5);
}

TEST(ConstraintEquation, BezierPointPartialInTAtTheEndsIsThreeTimesTheEndChord)
{
    DrawVariable a(0, false), c0(1, false), c1(4, false), c2(6, false), c3(2, false), t(0, false);
    BezierPointEqn eqn(&a, &c0, &c1, &c2, &c3, &t);
    EXPECT_DOUBLE_EQ(eqn.Residual(), -1.0);
    EXPECT_DOUBLE_EQ(eqn.Derivative(&t), 3.0 * (1 - 4));
    t.SetValue(1.0);
    EXPECT_DOUBLE_EQ(eqn.Residual(), -2.0);
    EXPECT_DOUBLE_EQ(eqn.Derivative(&t), 3.0 * (6 - 2));
}

// An angle's distance from holding is the turn still to make, along the
// shorter arm: arms of 2 and 3 at an angle phi, a value theta a hair or far
// off it, beyond pi or below zero (the angle between arms is in [0, pi]),
// with the value changed under the same equation.
TEST(ConstraintEquation, AnAnglesDistanceIsTheTurnLeftAlongTheShorterArm)
{
    VertexShape first(0, 0), apex(1, 1), second(0, 0);
    DrawVariable theta(0, false);
    AngleEqn eqn(&first, &apex, &second, &theta);
    for (const double phi : {1e-3, 0.7, M_PI / 2, 3.0, M_PI})
        for (const double off : {0.0, 1e-9, -3e-6, 2e-4, 0.5})
            for (const double turns : {0.0, 1.0, -1.0}) {
                first.SetPoint(DPoint(1 + 2 * std::cos(0.3), 1 + 2 * std::sin(0.3)));
                second.SetPoint(DPoint(1 + 3 * std::cos(0.3 + phi), 1 + 3 * std::sin(0.3 + phi)));
                // theta and theta + 2 pi k, or its negative, make the same angle.
                const double value = phi + off;
                theta.SetValue(turns == 0.0 ? value : turns * (2 * M_PI - value));
                const double between = std::fabs(std::remainder(value, 2 * M_PI));
                EXPECT_NEAR(eqn.Distance(eqn.Residual(), 1.0), 2 * std::fabs(phi - between), 1e-12)
                    << phi << " " << off << " " << turns;
            }
}

TEST(ConstraintEquation, FixValueLocksItsVariableAndPlotPointHoldsWhereTheClusterFoundIt)
{
    DrawVariable v(2.5, false);
    FixValueEqn fix(&v);
    EXPECT_TRUE(v.IsFixed());
    EXPECT_EQ(fix.Residual(), 0.0);
    EXPECT_TRUE(fix.PrepareForCluster());

    VertexShape p(1.0, 2.0);
    PlotShape plot;
    PlotPointEqn on(&plot, &p);
    p.SetPoint(DPoint(4.0, 2.0));
    EXPECT_FALSE(on.PrepareForCluster());
    EXPECT_EQ(on.Residual(), 0.0);
    p.SetPoint(DPoint(5.0, 2.0));
    EXPECT_EQ(on.Residual(), 1.0);
    EXPECT_EQ(on.Derivative(p.GetXVar()), 2.0);
}
