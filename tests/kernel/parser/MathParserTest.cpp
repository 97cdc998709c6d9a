// Typed rows read by the math parser: the tree of each, written in package
// form, or a syntax error.
#include "kernel/KernelRowBuilder.h"
#include "kernel/MathParser.h"
#include "kernel/NameTable.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/ExprNode.h"
#include "mathlink/LinkExpr.h"
#include "kernel/KernelCodes.h"
#include "math/BracketComp.h"
#include "math/DifferentialComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/LimitComp.h"
#include "math/ParenComp.h"
#include "math/PlaceholderComp.h"
#include "math/SubscriptComp.h"
#include "math/SumComp.h"
#include "math/TotalDerivativeComp.h"
#include "support/math/MathTestSupport.h"

#include <functional>
#include <variant>

#include <gtest/gtest.h>

namespace {

constexpr const char* kError = "syntax error";

class MathParserTest : public MathTest {
protected:
    MathParserTest()
    {
        env = MLInitialize();
        int error = 0;
        link = MLLoopbackOpen(env, &error);
        RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    }
    ~MathParserTest() override
    {
        RowNodeBuilder::Install(nullptr);
        MLClose(link);
        MLDeinitialize(env);
    }

    std::string Parsed(const std::string& typed)
    {
        // Rows are written in stored codes; the row holds the program's.
        std::string codes;
        for (char c : typed)
            codes += char(gReaderSymbolMap[static_cast<unsigned char>(c)]);
        CompList row(Chars(codes, FontManager::kMathFace));
        gSyntaxError = false;
        std::unique_ptr<ExprNode> node(MathParser(row, 1, row.GetCount() + 1).Parse());
        if (gSyntaxError)
            return kError;
        // A sequence writes itself as one expression, under its own head.
        node->PutPackageForm(link, 0);
        MLEndPacket(link);
        MLNextPacket(link);
        wire::Expr expr;
        return wire::getLinkExpr(link, expr) ? wire::toFullForm(expr) : "<unreadable>";
    }

    MLENV env;
    MLINK link;
};

struct Row {
    const char* typed;
    const char* tree;
};

// Precedence, signs and implied multiplication.
const Row kArithmetic[] = {
    {"a", "a"},
    {"x1", "x1"},
    {"2", "2"},
    {"2.5", "2.5"},
    {"1234567890", "1234567890"},
    {"a+b", "VXPlus[a, b]"},
    {"a-b", "VXPlus[a, VXTimes[-1, b]]"},
    {"a+b+c", "VXPlus[a, b, c]"},
    {"a-b-c", "VXPlus[a, VXTimes[-1, b], VXTimes[-1, c]]"},
    {"a--b", "VXPlus[a, b]"},
    {"a+-b", "VXPlus[a, VXTimes[-1, b]]"},
    {"a-+-b", "VXPlus[a, b]"},
    {"-a", "VXTimes[-1, a]"},
    {"-2", "-2"},
    {"--2", "2"},
    {"+a", "a"},
    {"-2x", "VXTimes[-2, x]"},
    {"a-2", "VXPlus[a, VXTimes[-2]]"},
    {"a-2x", "VXPlus[a, VXTimes[-2, x]]"},
    {"a b", "VXTimes[a, b]"},
    {"ab", "ab"},
    {"2x", "VXTimes[2, x]"},
    {"2 x y", "VXTimes[2, x, y]"},
    {"a*b", "VXTimes[a, b]"},
    {"a*b*c", "VXTimes[a, b, c]"},
    {"a*-b", kError},
    {"a/b", "VXDivide[a, b]"},
    {"a/b/c", "VXDivide[VXDivide[a, b], c]"},
    {"a b/c", "VXDivide[VXTimes[a, b], c]"},
    {"a/b c", "VXTimes[VXDivide[a, b], c]"},
    {"a+b c", "VXPlus[a, VXTimes[b, c]]"},
    {"a b+c", "VXPlus[VXTimes[a, b], c]"},
    {"(a+b)c", "VXTimes[VXPlus[a, b], c]"},
    {"(a)", "a"},
    {"((a))", "a"},
    {"2(a+b)", "VXTimes[2, VXPlus[a, b]]"},
    {"f(x)", "VXTimes[f, x]"},
    {"x^2", "VXPower[x, 2]"},
    {"x^-2", "VXPower[x, -2]"},
    {"x^-y", "VXPower[x, VXTimes[-1, y]]"},
    {"x^+2", kError},
    {"a^b^c", "VXPower[VXPower[a, b], c]"},
    {"2x^2", "VXTimes[2, VXPower[x, 2]]"},
    {"-x^2", "VXTimes[-1, VXPower[x, 2]]"},
    {"x^(a+b)", "VXPower[x, VXPlus[a, b]]"},
    {"(a+b)^2", "VXPower[VXPlus[a, b], 2]"},
    {"a^2b", "VXTimes[VXPower[a, 2], b]"},
    {"5!", "VXFactorial[5]"},
    {"n!", "VXFactorial[n]"},
    {"(a+b)!", "VXFactorial[VXPlus[a, b]]"},
    {"2n!", "VXTimes[2, VXFactorial[n]]"},
    {"x^2!", "VXFactorial[VXPower[x, 2]]"},
    {"5!!", kError},
    {"a mod b", "VXMod[a, b]"},
    {"a mod b mod c", "VXMod[VXMod[a, b], c]"},
    {"a+b mod c", "VXPlus[a, VXMod[b, c]]"},
    {"a mod b c", "VXMod[a, VXTimes[b, c]]"},
    {"a mod -b", kError},
    {"1.2.3", "VXTimes[1.2, 0.3]"},
    {".5", "0.5"},
    {".", kError},
    {"", kError},
    {"   ", kError},
    {"x-", kError},
    {"+", kError},
    {"a+", kError},
    {"*a", kError},
    {"a b*", kError},
    {"(a", kError},
    {"a)", kError},
    {"()", kError},
    {"a$b", kError},
    {"a \t+ b", "VXPlus[a, b]"},
    {"a\xB1" "b", "VXPlus[a, VXTimes[plusMinus, b]]"},
    {"\xB1" "a", "VXTimes[plusMinus, a]"},
    {"a-\xB1" "b", "VXPlus[a, VXTimes[plusMinus, b]]"},
};

// Names from the table, functions and logarithms.
const Row kNames[] = {
    {"e", "E"},
    {"E", "capE"},
    {"i", "I"},
    {"I", "capI"},
    {"p", "vxP"},
    {"alpha", "alpha"},
    {"Pi", "Pi"},
    {"Infinity", "Infinity"},
    {"sin x", "VXSin[x]"},
    {"sinx", "sinx"},
    {"sin2x", "sin2x"},
    {"sin 2x", "VXTimes[VXSin[2], x]"},
    {"sin x y", "VXTimes[VXSin[x], y]"},
    {"sin x^2", "VXSin[VXPower[x, 2]]"},
    {"sin(x)", "VXSin[x]"},
    // A power on the closing parenthesis raises the function's value.
    {"sin(x+y)^-1 z", "VXTimes[VXPower[VXSin[VXPlus[x, y]], -1], z]"},
    {"log(x)^2", "VXPower[VXLog[10, x], 2]"},
    {"sin(x+y)", "VXSin[VXPlus[x, y]]"},
    {"sin[x]", "VXSin[x]"},
    {"Sin x", "VXSin[x]"},
    {"2 sin x", "VXTimes[2, VXSin[x]]"},
    {"sin x+1", "VXPlus[VXSin[x], 1]"},
    {"sin cos x", kError},
    {"cos x sin x", "VXTimes[VXCos[x], VXSin[x]]"},
    {"sin", kError},
    {"sin x!", kError},
    {"ln x", "VXLog[x]"},
    {"log x", "VXLog[10, x]"},
    {"log(x)", "VXLog[10, x]"},
    {"log[x]", "VXLog[10, x]"},
    {"log x y", "VXTimes[VXLog[10, x], y]"},
    {"exp x", "VXExp[x]"},
    {"f[x]", "f[x]"},
    {"f[x,y]", "f[x, y]"},
    {"f[x][y]", "f[x][y]"},
    {"f[]", kError},
    {"f[x", kError},
    {"2f[x]", "VXTimes[2, f[x]]"},
    {"f[x]^2", kError},
    {"f[x]g[y]", "VXTimes[f[x], g[y]]"},
    {"sin[x,y]", "VXSin[x, y]"},
    {"BesselJ[n,x]", "VXBesselJ[n, x]"},
    {"Gamma[x]", "Gamma[x]"},
    {"D", "VXD"},
    {"T", "VXT"},
    {"Null", "Null"},
    {"lim", "VXLimit"},
    {"otherwise", "vxOtherwise"},
    {"capSigma", "capSigma"},
    {"vxDefaultVar", "vxDefaultVar"},
    {"Sum", "VXSum"},
    {"x Sum", "VXTimes[x, VXSum]"},
    {"Abs[x]", "VXAbs[x]"},
    {"Equal", kError},
};

// Relations, rules, lists, points, sequences, strings and or.
const Row kItems[] = {
    {"a=b", "VXInequality[a, Equal, b]"},
    {"a<b", "VXInequality[a, Less, b]"},
    {"a>b", "VXInequality[a, Greater, b]"},
    {"a<b<c", "VXInequality[a, Less, b, Less, c]"},
    {"x+1=2y", "VXInequality[VXPlus[x, 1], Equal, VXTimes[2, y]]"},
    {"a=-b", "VXInequality[a, Equal, VXTimes[-1, b]]"},
    {"a=", kError},
    {"=a", kError},
    {"a==b", kError},
    {"a Equal b", "VXInequality[a, Equal, b]"},
    {"a->b", "Rule[a, b]"},
    {"a- >b", kError},
    {"a->b->c", kError},
    {"x->-1", "Rule[x, -1]"},
    {"a=b->c", kError},
    {"a->b=c", kError},
    {"{a}", "List[a]"},
    {"{a,b}", "List[a, b]"},
    {"{a,{b,c}}", "List[a, List[b, c]]"},
    {"{{1,2},{3,4}}", "List[List[1, 2], List[3, 4]]"},
    {"{}", kError},
    {"{a", kError},
    {"{a=b, c}", "List[VXInequality[a, Equal, b], c]"},
    {"{a}+1", kError},
    {"(a,b)", "QVPoint[a, b]"},
    {"(1,2,3)", "QVPoint[1, 2, 3]"},
    {"(a=b)", kError},
    {"(a,b)+1", "VXPlus[QVPoint[a, b], 1]"},
    {"a,b", "Sequence[a, b]"},
    {"a,b,c", "Sequence[a, b, c]"},
    {"a,", kError},
    {",a", kError},
    {"\"abc\"", "\"abc\""},
    {"\"a b\"", "\"a b\""},
    {"\"\"", "\"\""},
    {"\"abc", kError},
    {"\"a\"+1", kError},
    {"f[\"a\"]", "f[\"a\"]"},
    {"{\"a\",1}", "List[\"a\", 1]"},
    {"\"a\",1", "Sequence[\"a\", 1]"},
    {"a or b", "VXOr[a, b]"},
    {"a or b or c", "VXOr[a, b, c]"},
    {"a=1 or a=2", "VXOr[VXInequality[a, Equal, 1], VXInequality[a, Equal, 2]]"},
    {"or", kError},
    {"a or", kError},
    {"a->b or c", kError},
    {"u\xD7v", "VXDot[u, v]"},
    {"u\xDAv", "VXCross[u, v]"},
    {"u\xD7v\xD7w", kError},
    {"2u\xD7v", "VXTimes[2, VXDot[u, v]]"},
    {"a\xD6" "b", "VXDivide[a, b]"},
    {"a\xCF" "b", "Rule[a, b]"},
    {"a?b", "VXTimes[a, unknown, b]"},
    {"a%b", kError},
    {"a;b", kError},
    {"[x]", kError},
    {"x[y]", "x[y]"},
    {"x^[y]", kError},
    {"(x)[y]", "x[y]"},
    {"a b c d e f g h", "VXTimes[a, b, c, d, E, f, g, h]"},
    {"1+2+3+4+5+6", "VXPlus[1, 2, 3, 4, 5, 6]"},
    {"((((((((((x))))))))))", "x"},
};


TEST_F(MathParserTest, ArithmeticRows)
{
    for (const Row& row : kArithmetic)
        EXPECT_EQ(Parsed(row.typed), row.tree) << "row: " << row.typed;
}

TEST_F(MathParserTest, NameRows)
{
    for (const Row& row : kNames)
        EXPECT_EQ(Parsed(row.typed), row.tree) << "row: " << row.typed;
}

TEST_F(MathParserTest, ItemRows)
{
    for (const Row& row : kItems)
        EXPECT_EQ(Parsed(row.typed), row.tree) << "row: " << row.typed;
}

TEST_F(MathParserTest, AtLeastOneHundredFiftyRows)
{
    EXPECT_GE(std::size(kArithmetic) + std::size(kNames) + std::size(kItems), 150u);
}

// Rows holding components: a script, prime or operator component joins the
// grammar as an incomplete node that takes its neighbour.
TEST_F(MathParserTest, ComponentTokensTakeTheirNeighbours)
{
    auto math = [&](const std::string& text) { return Chars(text, FontManager::kMathFace); };
    auto row = [&](std::initializer_list<std::variant<std::string, TextComp*>> parts) {
        auto items = std::make_unique<CompArray>();
        for (const auto& part : parts) {
            if (auto* text = std::get_if<std::string>(&part)) {
                auto chars = math(*text);
                for (int i = 1; i <= chars->GetCount(); ++i)
                    items->Append(chars->GetAt(i));
            } else {
                items->Append(std::get<TextComp*>(part));
            }
        }
        return items;
    };
    auto prime = [&] { return new ExponentComp(math(std::string(1, char(MathChar::Prime)))); };
    const struct {
        const char* name;
        std::function<std::unique_ptr<CompArray>()> make;
        const char* tree;
    } cases[] = {
        {"superscript", [&] { return row({"x", new ExponentComp(math("2"))}); }, "VXPower[x, 2]"},
        {"superscript of a call", [&] { return row({"f[x]", new ExponentComp(math("2"))}); }, kError},
        {"sine squared", [&] { return row({"sin", new ExponentComp(math("2")), " x"}); }, "VXPower[VXSin[x], 2]"},
        {"subscripted name", [&] { return row({"a", new SubscriptComp(math("k")), "+1"}); },
         "VXPlus[VXSubscript[a, k], 1]"},
        // Both scripts stand beside the name whichever was typed first.
        {"subscripted square",
         [&] { return row({"y", new SubscriptComp(math("3")), new ExponentComp(math("2")), "+1"}); },
         "VXPlus[VXPower[VXSubscript[y, 3], 2], 1]"},
        {"exponent typed before a subscript",
         [&] { return row({"y", new ExponentComp(math("2")), new SubscriptComp(math("3")), "+1"}); },
         "VXPlus[VXPower[VXSubscript[y, 3], 2], 1]"},
        {"subscript after a number's exponent",
         [&] { return row({"2", new ExponentComp(math("2")), new SubscriptComp(math("3"))}); }, kError},
        {"log to a base", [&] { return row({"log", new SubscriptComp(math("2")), " x"}); }, "VXLog[2, x]"},
        {"prime applied", [&] { return row({"f", prime(), "[x]"}); }, "Derivative[1][f][x]"},
        {"prime on an expression", [&] { return row({"y", prime()}); }, "VXDt[y, vxDefaultVar]"},
        {"prime then parentheses", [&] { return row({"f", prime(), "(x)"}); },
         "VXTimes[VXDt[f, vxDefaultVar], x]"},
        {"order in parentheses",
         [&] { return row({"f", new ExponentComp(One(new ParenComp(math("3")))), "[x]"}); },
         "Derivative[3][f][x]"},
        {"sum takes the product", [&] { return row({new SumComp(math("n"), math("k=1")), "a k+b"}); },
         "VXPlus[VXSum[VXTimes[a, k], List[k, 1, n]], b]"},
        {"sum of a negated body", [&] { return row({new SumComp(math("n"), math("k=1")), "-k"}); },
         "VXSum[VXTimes[-1, k], List[k, 1, n]]"},
        {"number before a sum", [&] { return row({"2", new SumComp(math("n"), math("k=1")), "k"}); },
         "VXTimes[2, VXSum[k, List[k, 1, n]]]"},
        {"limit with a direction",
         [&] { return row({new LimitComp(row({"x->0", new ExponentComp(math("+"))})), "f"}); },
         "VXLimit[f, Rule[x, 0], Rule[Direction, -1]]"},
        {"derivative operator",
         [&] {
             return row({new TotalDerivativeComp(new TotalDifferentialComp(math("x"), math(""))), "x",
                         new ExponentComp(math("2"))});
         },
         "VXDt[VXPower[x, 2], x]"},
        {"bracket argument", [&] { return row({"f", new BracketComp(math("x,y"))}); }, "f[x, y]"},
        {"bracket group alone", [&] { return row({new BracketComp(math("n+1"))}); }, "VXPlus[n, 1]"},
        {"parenthesis component", [&] { return row({"2", new ParenComp(math("a+b"))}); },
         "VXTimes[2, VXPlus[a, b]]"},
        {"empty fraction part", [&] { return One(new FractionComp(math("1"), math(""))); }, "VXDivide[1, Null]"},
        {"placeholder", [&] { return row({"x+", new PlaceholderComp}); }, "VXPlus[x, missing]"},
    };
    const auto treeOf = [&](CompList& components) {
        gSyntaxError = false;
        std::unique_ptr<ExprNode> node(components.BuildNode());
        if (gSyntaxError)
            return std::string(kError);
        node->PutPackageForm(link, 0);
        MLEndPacket(link);
        MLNextPacket(link);
        wire::Expr expr;
        return wire::getLinkExpr(link, expr) ? wire::toFullForm(expr) : "<unreadable>";
    };
    for (const auto& c : cases) {
        CompList components(c.make());
        EXPECT_EQ(treeOf(components), c.tree) << c.name;
    }

    // A script after a fraction, on a denominator, or on a function's
    // closing parenthesis: the row, and its linear text typed, read alike.
    const auto squared = [&] { return new ExponentComp(math("2")); };
    std::pair<std::unique_ptr<CompArray>, const char*> scripted[] = {
        {row({new FractionComp(math("2"), math("3")), squared()}), "VXPower[VXDivide[2, 3], 2]"},
        {One(new FractionComp(math("2"), row({"3", squared()}))), "VXDivide[2, VXPower[3, 2]]"},
        {One(new FractionComp(math("1"), row({"(b+c)", squared()}))), "VXDivide[1, VXPower[VXPlus[b, c], 2]]"},
        {row({"sin(x)", squared()}), "VXPower[VXSin[x], 2]"},
        {row({"sin", new ParenComp(math("x")), squared()}), "VXPower[VXSin[x], 2]"},
        {row({"sin x", squared()}), "VXSin[VXPower[x, 2]]"},
    };
    for (auto& [items, tree] : scripted) {
        CompList components(std::move(items));
        std::string text;
        for (int i = 1; i <= components.GetCount(); ++i)
            text += LinearText(*components.GetAt(i));
        EXPECT_EQ(treeOf(components), tree) << text;
        EXPECT_EQ(Parsed(text), tree) << text;
    }
}

// A row of a document is outside input: its cost must grow with its length only.
TEST_F(MathParserTest, LongRowsParseInOnePass)
{
    constexpr int kCount = 20000;
    std::string product;
    std::string sum;
    for (int i = 0; i < kCount; ++i) {
        product += "a ";
        sum += "+a";
    }
    for (const std::string& typed : {product, sum}) {
        CompList row(Chars(typed, FontManager::kMathFace));
        std::unique_ptr<ExprNode> node(MathParser(row, 1, row.GetCount() + 1).Parse());
        EXPECT_EQ(node->GetChildCount(), kCount);
    }
}

TEST_F(MathParserTest, DeepNestingFailsInsteadOfExhaustingTheStack)
{
    std::string deep(5000, '(');
    deep += "x";
    deep += std::string(5000, ')');
    EXPECT_EQ(Parsed(deep), kError);
}

} // namespace
