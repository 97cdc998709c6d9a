// The MathML of every node kind, written through the XML writer's core:
// expected text for telling cases, and every kind checked well-formed.
#include "export/XMLCoreWriter.h"
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

#include "foundation/ByteStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

struct StringStream : ByteStream {
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

ExprNode* Sym(const char* name)
{
    return new SymbolNode(std::string(name));
}

ExprNode* Int(int value)
{
    return new IntegerNode(value);
}

ExprNode* Pair(ExprNode* a, ExprNode* b)
{
    auto* list = new ListNode(a);
    list->AppendChild(b);
    return list;
}

ExprNode* Seq(ExprNode* a, ExprNode* b)
{
    auto* sequence = new SequenceNode(a);
    sequence->AppendChild(b);
    return sequence;
}

std::string MathML(ExprNode* node)
{
    std::unique_ptr<ExprNode> owned(node);
    StringStream stream;
    {
        XMLCoreWriter writer(stream);
        node->WriteMathML(writer);
        writer.Flush();
    }
    return stream.text;
}

ExprNode* Matrix()
{
    auto* matrix = new MatrixNode(Pair(Int(1), Int(2)));
    matrix->AppendChild(Pair(Int(3), Int(4)));
    return matrix;
}

// One node of every kind.
const std::vector<std::pair<const char*, std::function<ExprNode*()>>>& EveryKind()
{
    static const std::vector<std::pair<const char*, std::function<ExprNode*()>>> kinds = {
        {"string", [] { return new StringNode("a<b & \"c\""); }},
        {"integer", [] { return Int(-7); }},
        {"integer text", [] { return new IntegerTextNode("12345678901"); }},
        {"real", [] { return new RealNode(2.5); }},
        {"real text", [] { return new RealTextNode("3.1415926535897932"); }},
        {"free symbol", [] { return Sym("x<y"); }},
        {"built-in symbol", [] { return new SymbolNode(13); }},
        {"error", [] { return new ErrorNode; }},
        {"plus-minus", [] { return new PlusMinusNode; }},
        {"sum", [] { return MakeDifference(Sym("a"), Sym("b")); }},
        {"product", [] { return MakeProduct(Int(2), Sym("x")); }},
        {"power", [] { return MakeSquare(Sym("x")); }},
        {"power of a function", [] { return MakeSquare(new FunctionNode(new SymbolNode(93), Sym("x"))); }},
        {"power of a call", [] { return MakeSquare(new FunctionNode(Sym("f"), Sym("x"))); }},
        {"shown text", [] { return new ShownTextNode("(1) & <2>"); }},
        {"quotient", [] { return MakeQuotient(Sym("a"), Sym("b")); }},
        {"root", [] { return new RadicalNode(Sym("x"), Int(3)); }},
        {"group", [] { return new GroupNode(Sym("x"), true); }},
        {"factorial", [] { return new FactorialNode(Int(5)); }},
        {"conjugate", [] { return new ConjugateNode(Sym("z")); }},
        {"tagged variable", [] { return new TagVarNode(Sym("x"), Int(1)); }},
        {"rule", [] { return new RuleNode(Sym("x"), Int(0)); }},
        {"cross", [] { return new CrossNode(Sym("u"), Sym("v")); }},
        {"dot", [] { return new DotNode(Sym("u"), Sym("v")); }},
        {"mod", [] { return new ModNode(Sym("a"), Sym("b")); }},
        {"subscript", [] { return new SubscriptNode(Sym("a"), Sym("i")); }},
        {"limit", [] { return new LimitNode(Sym("f"), new RuleNode(Sym("x"), new DirectionRuleNode(Int(0), 1)), 0); }},
        {"big operator",
         [] {
             auto* sum = new BigOperatorNode(SourceRange(), new SymbolNode(Entry::Sum), Sym("k"), Sym("n"));
             sum->AppendChild(Sym("k"));
             return sum;
         }},
        {"function", [] { return new FunctionNode(new SymbolNode(93), Sym("x")); }},
        {"free function", [] { return new FunctionNode(Sym("f"), Seq(Sym("x"), Sym("y"))); }},
        {"primes", [] { return new FunctionNode(new FunctionNode(new PrimeDerivativeNode(Int(3)), Sym("f")), Sym("x")); }},
        {"derivative",
         [] {
             auto* d = new DerivativeNode(DerivativeNode::kPartial, Seq(Sym("x"), Pair(Sym("y"), Int(2))), Int(3));
             d->AppendChild(Sym("f"));
             return d;
         }},
        {"integral", [] { return new IntegralNode(nullptr, Int(0), Sym("f"), Sym("x")); }},
        {"relation",
         [] {
             auto* r = new RelationNode(Sym("a"));
             r->AppendChild(new SymbolNode(Entry::Less));
             r->AppendChild(Sym("b"));
             return r;
         }},
        {"sequence", [] { return Seq(Sym("a"), Sym("b")); }},
        {"point", [] { return PointNode::FromSequence(SourceRange(), static_cast<SequenceNode*>(Seq(Int(1), Int(2)))); }},
        {"or", [] { auto* o = new OrNode(Sym("a")); o->AppendChild(Sym("b")); return o; }},
        {"absolute value", [] { return new AbsNode(Sym("x")); }},
        {"determinant", [] { return new AbsNode(Matrix()); }},
        {"list", [] { return Pair(Int(1), Int(2)); }},
        {"matrix", [] { return Matrix(); }},
        {"table", [] { auto* t = new TableNode(Pair(Int(1), Int(2))); return t; }},
        {"equation set", [] { auto* s = new EqnSetNode(Sym("a")); s->AppendChild(Sym("b")); return s; }},
        {"split", [] { return new SplitNode(Pair(Sym("a"), Sym("p"))); }},
        {"column", [] { return new ColumnNode(Int(1)); }},
        {"accent", [] { return new AccentNode(Sym("x"), AccentCode::Vector); }},
        {"unknown accent", [] { return new AccentNode(Sym("x"), 1); }},
    };
    return kinds;
}

TEST(MathMLNodesTest, TellingCasesWriteTheirElements)
{
    EXPECT_EQ(MathML(new SymbolNode(13)), "<mi>&#x03B1;</mi>\n");
    EXPECT_EQ(MathML(MakeSquare(Sym("x"))), "<msup>\n  <mi>x</mi>\n  <mn>2</mn>\n</msup>\n");
    EXPECT_EQ(MathML(MakeDifference(Sym("a"), Int(3))),
              "<mrow>\n  <mi>a</mi>\n  <mo>-</mo>\n  <mn>3</mn>\n</mrow>\n");
    // A product of -1 and 5 is the single number -5.
    EXPECT_EQ(MathML(MakeProduct(Int(-1), Int(5))), "<mn>-5</mn>\n");
    // A fenced group is a row between two fence operators, which every
    // MathML reader shows.
    EXPECT_EQ(MathML(new GroupNode(Sym("x"), false)),
              "<mrow>\n  <mo>(</mo>\n  <mi>x</mi>\n  <mo>)</mo>\n</mrow>\n");
    EXPECT_EQ(MathML(new IntegralNode(nullptr, Int(0), Sym("f"), Sym("x"))),
              "<mrow>\n  <munder>\n    <mo>&int;</mo>\n    <mn>0</mn>\n  </munder>\n  <mi>f</mi>\n"
              "  <mo>&#8518;</mo>\n  <mi>x</mi>\n</mrow>\n");
    EXPECT_EQ(MathML(new StringNode("a<b")), "<mtext>&quot;a&lt;b&quot;</mtext>\n");
    // A reference's shown text is text, without a string's quotes.
    EXPECT_EQ(MathML(new ShownTextNode("(1)")), "<mtext>(1)</mtext>\n");
    // A power of a function's value: "sin" raised before its argument (never
    // sin x², which says another thing), any other call in brackets.
    const auto square = [](ExprNode* base) { return new PowerNode(Int(2), base, false); };
    EXPECT_EQ(MathML(square(new FunctionNode(new SymbolNode(93), Sym("x")))),
              "<mrow>\n  <msup>\n    <mi>sin</mi>\n    <mn>2</mn>\n  </msup>\n  <mo>&ApplyFunction;</mo>\n"
              "  <mi>x</mi>\n</mrow>\n");
    EXPECT_EQ(MathML(square(new FunctionNode(Sym("f"), Sym("x")))),
              "<msup>\n  <mrow>\n    <mo>(</mo>\n    <mrow>\n      <mi>f</mi>\n      <mo>&ApplyFunction;</mo>\n"
              "      <mi>x</mi>\n    </mrow>\n    <mo>)</mo>\n  </mrow>\n  <mn>2</mn>\n</msup>\n");
    // A rule outside a limit keeps its sides and arrow.
    EXPECT_EQ(MathML(new RuleNode(Sym("x"), Int(0))).find("&#x2192;") != std::string::npos, true);
}

// The named entities the writer uses, as the page's document type defines them.
constexpr const char* kEntityDeclarations =
    "<!DOCTYPE math [\n"
    "<!ENTITY InvisibleTimes \"&#x2062;\">\n<!ENTITY PlusMinus \"&#xB1;\">\n"
    "<!ENTITY ApplyFunction \"&#x2061;\">\n<!ENTITY int \"&#x222B;\">\n"
    "<!ENTITY ImaginaryI \"&#x2148;\">\n<!ENTITY ExponentialE \"&#x2147;\">\n]>\n";

TEST(MathMLNodesTest, EveryKindIsWellFormed)
{
    if (std::system("xmllint --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    std::filesystem::path folder = std::filesystem::path(QV_TEST_OUTPUT);
    std::filesystem::create_directories(folder);
    for (const auto& [name, make] : EveryKind()) {
        std::filesystem::path file = folder / (std::string(name) + ".xml");
        {
            std::ofstream out(file);
            out << "<?xml version=\"1.0\"?>\n" << kEntityDeclarations
                << "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n" << MathML(make()) << "</math>\n";
        }
        std::string command = "xmllint --noout --noent '" + file.string() + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
    }
}

} // namespace
