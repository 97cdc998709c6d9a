// Every node kind written in the package form and the plain form.
#include "NodeTestSupport.h"

#include "kernel/AccentNode.h"
#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeBuilders.h"
#include "kernel/OperatorNodes.h"
#include "kernel/PowerNodes.h"
#include "kernel/RelationNodes.h"
#include "kernel/SumProductNodes.h"

#include "foundation/Str255.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

ExprNode* Relation(ExprNode* a, int entry, ExprNode* b)
{
    auto* relation = new RelationNode(a);
    relation->AppendChild(new SymbolNode(entry));
    relation->AppendChild(b);
    return relation;
}

ExprNode* Matrix2()
{
    auto* matrix = new MatrixNode(List2(Int(1), Int(2)));
    matrix->AppendChild(List2(Int(3), Int(4)));
    return matrix;
}

ExprNode* Case(ExprNode* value, ExprNode* condition)
{
    return List2(value, condition);
}

// f with `order` primes, not applied.
ExprNode* PrimedF(int order)
{
    return new FunctionNode(new PrimeDerivativeNode(Int(order)), Sym("f"));
}

struct FormCase {
    const char* name;
    std::function<ExprNode*()> make;
    const char* package;
    const char* plain;
};

const FormCase kCases[] = {
    {"difference", [] { return MakeDifference(Sym("x"), Sym("y")); }, "VXPlus[x, VXTimes[-1, y]]",
     "Plus[x, Times[-1, y]]"},
    {"square", [] { return MakeSquare(Sym("x")); }, "VXPower[x, 2]", "Power[x, 2]"},
    {"quotient", [] { return MakeQuotient(Sym("a"), Sym("b")); }, "VXDivide[a, b]", "Divide[a, b]"},
    {"square root", [] { return MakeSqrt(Sym("x")); }, "VXRadical[x, 2]", "Sqrt[x]"},
    {"n-th root", [] { return new RadicalNode(Sym("x"), Sym("n")); }, "VXRadical[x, n]",
     "Power[x, Divide[1, n]]"},
    {"transpose", [] { return new PowerNode(new SymbolNode(Entry::Transpose), Matrix2(), true); },
     "VXPower[VXMatrix[List[1, 2], List[3, 4]], VXT]", "Transpose[List[List[1, 2], List[3, 4]]]"},
    {"matrix power", [] { return new PowerNode(Int(3), Matrix2(), true); },
     "VXPower[VXMatrix[List[1, 2], List[3, 4]], 3]", "MatrixPower[List[List[1, 2], List[3, 4]], 3]"},
    {"group", [] { return new GroupNode(MakeSum(Sym("a"), Sym("b")), true); }, "VXPlus[a, b]", "Plus[a, b]"},
    {"equation", [] { return Relation(Sym("x"), Entry::Equal, Sym("y")); }, "VXInequality[x, Equal, y]",
     "Equal[x, y]"},
    {"inequality", [] { return Relation(Sym("x"), Entry::Less, Sym("y")); }, "VXInequality[x, Less, y]",
     "Inequality[x, Less, y]"},
    {"two indices", [] { return new SubscriptNode(Sym("x"), Seq(Sym("i"), Sym("j"))); }, "VXSubscript[x, i, j]",
     "Subscript[x, i, j]"},
    {"limit from above",
     [] {
         return new LimitNode(Sym("f"), new RuleNode(Sym("x"), new DirectionRuleNode(Int(0), 0)), 0);
     },
     "VXLimit[f, Rule[x, 0], Rule[Direction, -1]]", "Limit[f, Rule[x, 0], Rule[Direction, -1]]"},
    {"sum with bounds",
     [] {
         auto* sum = new BigOperatorNode(SourceRange(), new SymbolNode(Entry::Sum), nullptr, nullptr);
         auto* bounds = new ListNode(Sym("i"));
         bounds->AppendChild(Int(1));
         bounds->AppendChild(Sym("n"));
         sum->SetBounds(bounds);
         sum->AppendChild(new SubscriptNode(Sym("a"), Sym("i")));
         return sum;
     },
     "VXSum[VXSubscript[a, i], List[i, 1, n]]", "Sum[Subscript[a, i], List[i, 1, n]]"},
    {"hat over a symbol", [] { return new AccentNode(Sym("x"), AccentCode::Hat); }, "x$vxhat", "OverHat[x]"},
    {"hat over a sum", [] { return new AccentNode(MakeSum(Sym("x"), Sym("y")), AccentCode::Hat); },
     "VXOverHat[VXPlus[x, y]]", "OverHat[Plus[x, y]]"},
    {"double dot", [] { return new AccentNode(Sym("x"), AccentCode::DoubleDot); }, "VXDoubleOverDot[x]",
     "OverscriptBox[x, \"..\"]"},
    {"split",
     [] {
         auto* split = new SplitNode(Case(Sym("a"), Sym("p")));
         split->AppendChild(Case(Sym("b"), Sym("q")));
         split->AppendChild(Case(Sym("c"), new SymbolNode(122)));
         return split;
     },
     "VXSplit[List[a, p], List[b, q], List[c, vxOtherwise]]", "If[p, a, If[q, b, c]]"},
    {"f prime of x",
     [] { return new FunctionNode(new FunctionNode(new PrimeDerivativeNode(Int(1)), Sym("f")), Sym("x")); },
     "Derivative[1][f][x]", "Derivative[1][f][x]"},
    {"prime on an expression",
     [] { return new FunctionNode(new PrimeDerivativeNode(Int(1)), MakeSquare(Sym("x"))); },
     "VXDt[VXPower[x, 2], vxDefaultVar]", "Dt[Power[x, 2], x]"},
    {"second prime on an expression", [] { return new FunctionNode(new PrimeDerivativeNode(Int(2)), Sym("y")); },
     "VXDt[y, List[vxDefaultVar, 2]]", "Dt[y, List[x, 2]]"},
    {"f prime then (x), as typed", [] { return MakeProduct(PrimedF(1), new GroupNode(Sym("x"), true)); },
     "VXTimes[VXDt[f, vxDefaultVar], x]", "Derivative[1][f][x]"},
    {"2 f'' (x + 1) g",
     [] {
         auto* product = MakeProduct(Int(2), PrimedF(2));
         product->AppendChild(new GroupNode(MakeSum(Sym("x"), Int(1)), true));
         product->AppendChild(Sym("g"));
         return product;
     },
     "VXTimes[2, VXDt[f, List[vxDefaultVar, 2]], VXPlus[x, 1], g]", "Times[2, Derivative[2][f][Plus[x, 1]], g]"},
    {"f prime then brackets [x]", [] { return MakeProduct(PrimedF(1), new GroupNode(Sym("x"), false)); },
     "VXTimes[VXDt[f, vxDefaultVar], x]", "Times[Dt[f, x], x]"},
    // A comma row is one expression wherever it stands; a call takes its
    // elements as its arguments.
    {"comma row", [] { return Seq(Sym("a"), Sym("b")); }, "Sequence[a, b]", "Sequence[a, b]"},
    {"comma row over c", [] { return MakeQuotient(Seq(Sym("a"), Sym("b")), Sym("c")); }, "VXDivide[Sequence[a, b], c]",
     "Divide[Sequence[a, b], c]"},
    {"equation of a comma row", [] { return Relation(Seq(Sym("a"), Sym("b")), Entry::Equal, Sym("c")); },
     "VXInequality[Sequence[a, b], Equal, c]", "Equal[Sequence[a, b], c]"},
    {"matrix of comma rows", [] { return new MatrixNode(List2(Seq(Sym("a"), Sym("b")), Int(2))); },
     "VXMatrix[List[Sequence[a, b], 2]]", "List[List[Sequence[a, b], 2]]"},
    {"comma row in parentheses", [] { return new GroupNode(Seq(Sym("a"), Sym("b")), true); }, "Sequence[a, b]",
     "Sequence[a, b]"},
    {"call with bracketed arguments",
     [] { return new FunctionNode(Sym("f"), new GroupNode(Seq(Sym("x"), Sym("y")), false)); }, "f[x, y]", "f[x, y]"},
    {"call with empty brackets", [] { return new FunctionNode(Sym("f"), new GroupNode(nullptr, false)); }, "f[]",
     "f[]"},
    {"subscripts in brackets",
     [] { return new SubscriptNode(Sym("x"), new GroupNode(Seq(Sym("i"), Sym("j")), false)); }, "VXSubscript[x, i, j]",
     "Subscript[x, i, j]"},
    {"sine", [] { return new FunctionNode(new SymbolNode(93), Sym("x")); }, "VXSin[x]", "Sin[x]"},
    {"free head, two arguments", [] { return new FunctionNode(Sym("f"), Seq(Sym("x"), Sym("y"))); }, "f[x, y]",
     "f[x, y]"},
    {"partial derivative",
     [] {
         auto* d = new DerivativeNode(DerivativeNode::kPartial, Seq(Sym("x"), List2(Sym("y"), Int(2))), nullptr);
         d->AppendChild(Sym("f"));
         return d;
     },
     "VXD[f, x, List[y, 2]]", "D[f, x, List[y, 2]]"},
    {"definite integral", [] { return new IntegralNode(Int(1), Int(0), Sym("f"), Sym("x")); },
     "VXIntegrate[f, List[x, 0, 1]]", "Integrate[f, List[x, 0, 1]]"},
    {"integral with one bound", [] { return new IntegralNode(nullptr, Int(0), Sym("f"), Sym("x")); },
     "VXIntegrate[f, x]", "Integrate[f, x]"},
    {"factorial", [] { return new FactorialNode(Int(5)); }, "VXFactorial[5]", "Factorial[5]"},
    {"conjugate", [] { return new ConjugateNode(Sym("z")); }, "VXConjugate[z]", "Conjugate[z]"},
    {"cross", [] { return new CrossNode(Sym("u"), Sym("v")); }, "VXCross[u, v]", "Cross[u, v]"},
    {"dot", [] { return new DotNode(Sym("u"), Sym("v")); }, "VXDot[u, v]", "Dot[u, v]"},
    {"mod", [] { return new ModNode(Sym("a"), Sym("b")); }, "VXMod[a, b]", "Mod[a, b]"},
    {"rule", [] { return new RuleNode(Sym("x"), Int(2)); }, "Rule[x, 2]", "Rule[x, 2]"},
    {"tagged variable", [] { return new TagVarNode(Sym("x"), Int(3)); }, "VXTagVar[x, 3]", "VXTagVar[x, 3]"},
    {"absolute value", [] { return new AbsNode(Sym("x")); }, "VXAbs[x]", "Abs[x]"},
    {"determinant", [] { return new AbsNode(Matrix2()); }, "VXDet[VXMatrix[List[1, 2], List[3, 4]]]",
     "Det[List[List[1, 2], List[3, 4]]]"},
    {"or", [] { auto* o = new OrNode(Sym("a")); o->AppendChild(Sym("b")); return o; }, "VXOr[a, b]", "Or[a, b]"},
    {"point", [] { return PointNode::FromSequence(SourceRange(), static_cast<SequenceNode*>(Seq(Int(1), Int(2)))); },
     "QVPoint[1, 2]", "QVPoint[1, 2]"},
    {"equation set", [] { auto* s = new EqnSetNode(Sym("a")); s->AppendChild(Sym("b")); return s; },
     "VXEqnSet[a, b]", "List[a, b]"},
    {"table", [] { return new TableNode(new ColumnNode(Int(1))); }, "VXTable[VXColumn[1]]", "List[List[1]]"},
    {"plus-minus", [] { return new PlusMinusNode; }, "plusMinus", "plusMinus"},
    {"string", [] { return new StringNode("abc"); }, "\"abc\"", "\"abc\""},
    {"long integer", [] { return new IntegerTextNode("12345678901234567890"); }, "12345678901234567890",
     "12345678901234567890"},
    {"real", [] { return new RealNode(2.5); }, "2.5", "2.5"},
    {"Euler's number", [] { return new SymbolNode(Entry::Euler); }, "E", "E"},
    {"typed capital E", [] { return new SymbolNode(115); }, "capE", "capE"},
    {"x coordinate of a point",
     [] { return MakeXCoord(PointNode::FromSequence(SourceRange(), static_cast<SequenceNode*>(Seq(Int(1), Int(2))))); },
     "1", "1"},
    {"y coordinate of an expression", [] { return MakeYCoord(Sym("p")); }, "QVYCoord[p]", "QVYCoord[p]"},
    {"function builder", [] { return MakeFunction(Str255("Cos"), Sym("t")); }, "Cos[t]", "Cos[t]"},
};

TEST(NodeFormsTest, EveryKindWritesBothForms)
{
    LoopbackLink link;
    for (const FormCase& c : kCases) {
        std::unique_ptr<ExprNode> node(c.make());
        EXPECT_EQ(link.Package(*node), c.package) << c.name;
        EXPECT_EQ(link.Plain(*node), c.plain) << c.name;
        std::unique_ptr<ExprNode> copy(node->Clone());
        EXPECT_EQ(link.Package(*copy), c.package) << c.name << " (clone)";
    }
}

TEST(NodeFormsTest, MarkersWrapOnlyThePackageFormOfTheirMode)
{
    LoopbackLink link;
    std::unique_ptr<ExprNode> node(MakeSum(Sym("a"), Sym("b")));
    node->SetTarget(true);
    node->SetMoverFlag(true);
    EXPECT_EQ(link.Package(*node, 1), "VXTarget[VXPlus[a, b]]");
    EXPECT_EQ(link.Package(*node, 2), "VXMarker[VXPlus[a, b]]");
    EXPECT_EQ(link.Package(*node, 0), "VXPlus[a, b]");
    EXPECT_EQ(link.Plain(*node), "Plus[a, b]");
}

TEST(NodeFormsTest, DeletingAChainedNodeDeletesItsFollowers)
{
    // Leak checking catches a chain left behind; unlinking keeps the rest.
    auto* first = Sym("a");
    first->next = Sym("b");
    first->next->next = Sym("c");
    ExprNode* rest = first->next;
    first->next = nullptr;
    delete first;
    EXPECT_EQ(rest->GetLastSibling()->next, nullptr);
    delete rest;
}

TEST(NodeFormsTest, FractionNormalisationTurnsNegativePowersIntoFractions)
{
    LoopbackLink link;
    const struct {
        ExprNode* node;
        const char* after;
    } cases[] = {
        {new PowerNode(Int(-1), Sym("x"), false), "VXDivide[1, x]"},
        {new PowerNode(Int(-2), Sym("x"), false), "VXDivide[1, VXPower[x, 2]]"},
        {new PowerNode(Int(-1), Sym("x"), true), "VXPower[x, -1]"},
        {MakeProduct(Sym("a"), new PowerNode(Int(-1), Sym("b"), false)), "VXDivide[a, b]"},
    };
    for (const auto& c : cases) {
        ExprNode* num = nullptr;
        ExprNode* den = nullptr;
        ExprNode* result = c.node;
        if (c.node->NormalizeFractions(num, den)) {
            result = den ? new DivideNode(num, den) : num;
            delete c.node;
        }
        EXPECT_EQ(link.Package(*result), c.after);
        delete result;
    }
}

} // namespace

namespace {

SourceRange At(int start, int end)
{
    static int owner;
    SourceRange range;
    range.SetParagraphRange(&owner, start, end);
    return range;
}

TEST(CompositeNodeTest, ChainsRangesParentsMoversAndFlattening)
{
    LoopbackLink link;
    // The first child gives an empty composite its range; later ones extend it.
    SumNode sum;
    sum.AppendChild(new SymbolNode(At(1, 2), std::string("a")));
    sum.AppendChild(new SymbolNode(At(3, 4), std::string("b")));
    sum.AppendChild(new SymbolNode(At(5, 6), std::string("c")));
    EXPECT_TRUE(sum.HasRange());
    EXPECT_EQ(sum.GetSourceRange().start, 1);
    EXPECT_EQ(sum.GetSourceRange().end, 6);
    EXPECT_EQ(sum.FindParentOf(&sum), nullptr);
    EXPECT_EQ(sum.FindParentOf(sum.ChildAt(2)), &sum);

    // Marking every term marks the sum; marking a run groups it.
    EXPECT_FALSE(sum.SetMover(sum.First(), sum.GetLastChild()));
    EXPECT_TRUE(sum.IsMover());
    EXPECT_TRUE(sum.SetMover(sum.ChildAt(2), sum.ChildAt(3)));
    EXPECT_EQ(sum.Count(), 2);
    EXPECT_EQ(link.Package(sum, 1), "VXMover[VXPlus[a, VXMover[VXPlus[b, c]]]]");

    // Nested sums and groups flatten.
    sum.SetMoverFlag(false);
    sum.ChildAt(2)->SetMoverFlag(false);
    sum.Flatten();
    EXPECT_EQ(sum.Count(), 3);
    EXPECT_EQ(link.Package(sum), "VXPlus[a, b, c]");
    GroupNode group(new GroupNode(new GroupNode(Sym("x"), true), true), true);
    group.Flatten();
    EXPECT_EQ(group.Child()->GetTag(), TypeTag("symN"));
}

} // namespace
