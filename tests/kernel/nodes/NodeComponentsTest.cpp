// Nodes turned back into components, read as the rows' linear text.
#include "NodeTestSupport.h"

#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeBuilders.h"
#include "kernel/NodeSettings.h"
#include "kernel/OperatorNodes.h"
#include "kernel/PowerNodes.h"
#include "kernel/RelationNodes.h"
#include "kernel/SumProductNodes.h"

#include "foundation/Str255.h"
#include "foundation/TextOutBuffer.h"
#include "support/math/MathTestSupport.h"

#include <functional>

namespace {

class NodeComponentsTest : public MathTest {
protected:
    std::string Text(ExprNode* node, int level = Level::Whole)
    {
        std::unique_ptr<ExprNode> owned(node);
        CompList row;
        node->BuildComponents(row, level);
        return RowText(row);
    }

    static std::string RowText(const CompList& row)
    {
        struct Collect : ByteStream {
            void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
            int32_t GetLength() override { return int32_t(text.size()); }
            std::string text;
        } stream;
        TextOutBuffer out(&stream);
        row.WriteTextAll(out);
        out.Flush();
        return stream.text;
    }
};

ExprNode* Sub(ExprNode* a, ExprNode* b)
{
    return MakeDifference(a, b);
}

TEST_F(NodeComponentsTest, SignsPrecedenceAndOrder)
{
    const struct {
        const char* name;
        std::function<ExprNode*()> make;
        int level;
        const char* text;
    } cases[] = {
        {"minus a product", [] { return MakeSum(Sym("a"), MakeProduct(Int(-2), Sym("b"))); }, 1, "a - 2 b"},
        {"difference", [] { return Sub(Sym("a"), Sym("b")); }, 1, "a - b"},
        {"leading minus", [] { return MakeSum(Int(-3), Sym("a")); }, 1, "-3 + a"},
        {"numbers first",
         [] {
             auto* product = new ProductNode(Int(3));
             product->AppendChild(Sym("x"));
             product->AppendChild(Int(2));
             return product;
         },
         1, "3 2 x"},
        {"empty product", [] { return new ProductNode; }, 1, "1"},
        {"negative factor gives its sign", [] { return MakeProduct(Sym("a"), Int(-3)); }, 1, "-3 a"},
        {"negative base", [] { return MakeSquare(Int(-3)); }, 1, "(-3)^2"},
        {"sum base", [] { return MakePower(MakeSum(Sym("a"), Sym("b")), Int(2)); }, 1, "(a + b)^2"},
        {"power in a product", [] { return MakeProduct(Sym("c"), MakeSquare(Sym("x"))); }, 1, "c x^2"},
        {"sum as a factor", [] { return MakeProduct(Sym("c"), MakeSum(Sym("a"), Sym("b"))); }, 1, "c (a + b)"},
        {"factorial", [] { return new FactorialNode(Int(5)); }, 1, "5!"},
        {"factorial of a sum", [] { return new FactorialNode(MakeSum(Sym("a"), Sym("b"))); }, 1, "(a + b)!"},
        {"rule at level 2", [] { return new RuleNode(Sym("x"), Int(2)); }, 2, "(x \x9C 2)"},
        {"sine", [] { return new FunctionNode(new SymbolNode(93), Sym("x")); }, 1, "sin x"},
        {"sine of a sum", [] { return new FunctionNode(new SymbolNode(93), MakeSum(Sym("x"), Sym("y"))); }, 1,
         "sin(x + y)"},
        {"free head", [] { return new FunctionNode(Sym("f"), Sym("x")); }, 1, "f[x]"},
        {"log to base 10", [] { return new FunctionNode(new SymbolNode(Entry::Log), Seq(Int(10), Sym("x"))); }, 1,
         "log x"},
        {"log to base 2", [] { return new FunctionNode(new SymbolNode(Entry::Log), Seq(Int(2), Sym("x"))); }, 1,
         "log_2 x"},
        {"list at the top", [] { return List2(Int(1), Int(2)); }, 0, "{1,2}"},
        {"sequence", [] { return Seq(Sym("a"), Sym("b")); }, 1, "a,b"},
        {"or", [] { auto* o = new OrNode(Sym("a")); o->AppendChild(Sym("b")); return o; }, 1, "a or b"},
        {"point", [] { return PointNode::FromSequence(SourceRange(), static_cast<SequenceNode*>(Seq(Int(1), Int(2)))); },
         1, "(1,2)"},
        {"string", [] { return new StringNode(""); }, 1, "\"\""},
        // "mod" binds tighter than a sum, looser than a product, from the left.
        {"mod of a product", [] { return new ModNode(MakeProduct(Int(2), Sym("a")), Int(3)); }, 1, "2 a mod 3"},
        {"mod of a sum", [] { return new ModNode(MakeSum(Sym("a"), Int(1)), Int(3)); }, 1, "(a + 1) mod 3"},
        {"mod by a mod", [] { return new ModNode(Sym("a"), new ModNode(Sym("b"), Int(3))); }, 1, "a mod (b mod 3)"},
        {"mod of a negative", [] { return new ModNode(MakeProduct(Int(-2), Sym("a")), Int(3)); }, 1, "(-2 a) mod 3"},
        {"mod in a sum", [] { return MakeSum(Sym("x"), new ModNode(Sym("a"), Int(3))); }, 1, "x + a mod 3"},
        {"mod as a factor", [] { return MakeProduct(Sym("c"), new ModNode(Sym("a"), Int(3))); }, 1, "c (a mod 3)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(c.make(), c.level), c.text) << c.name;
}

TEST_F(NodeComponentsTest, TermOrderingPutsConstantsToTheBackInIndexOrder)
{
    NodeSettings::Get().termOrdering = true;
    auto* sum = new SumNode(new SubscriptNode(Sym("C"), Int(2)));
    sum->AppendChild(Sym("x"));
    sum->AppendChild(new SubscriptNode(Sym("C"), Int(1)));
    std::string text = Text(sum);
    NodeSettings::Get().termOrdering = false;
    EXPECT_EQ(text, "x + C_1 + C_2");
}

TEST_F(NodeComponentsTest, RealsShowThePreferredDigitsAndTheirExponent)
{
    NodeSettings::Get().precision = 3;
    std::string pi = Text(new RealNode(3.14159));
    NodeSettings::Get().precision = 0;
    EXPECT_EQ(pi, "3.14");
    EXPECT_EQ(Text(new RealTextNode("1.5e+20")), "1.5 10^20");
    EXPECT_EQ(Text(new RealTextNode("1e-05")), "1 10^(-05)");
}

TEST(NodeValuesTest, NumbersRoundAndEvaluate)
{
    EXPECT_EQ(RealNode(2.5).GetIntegerValue(), 2);
    EXPECT_EQ(RealNode(3.5).GetIntegerValue(), 3);
    EXPECT_EQ(RealNode(-2.5).GetIntegerValue(), -3);
    EXPECT_DOUBLE_EQ(FactorialNode(Int(5)).GetRealValue(), 120.0);
    EXPECT_TRUE(std::isinf(FactorialNode(Int(100000)).GetRealValue()));
    std::unique_ptr<ExprNode> zero(MakeQuotient(Int(1), Int(0)));
    EXPECT_FALSE(zero->IsNumericExpr());
    EXPECT_DOUBLE_EQ(AbsNode(Int(-3)).GetRealValue(), 3.0);
}

// A built-in symbol keeps no text of its own: its text is its entry's name.
TEST(NodeValuesTest, BuiltinSymbolTextIsNeverNull)
{
    SymbolNode sine(93);
    Str255 text;
    sine.GetText(text);
    EXPECT_EQ(std::string(text.GetPtrAt(0), std::size_t(text.GetLength())), "VXSin");
    EXPECT_TRUE(sine.FreeText().empty());
    EXPECT_EQ(sine.Name(), "VXSin");
}

} // namespace
