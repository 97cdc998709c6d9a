// The translation into Giac's language, without running Giac.
#include "kernelproc/GiacInput.h"
#include "kernelproc/GiacNames.h"

#include <gtest/gtest.h>

using namespace kernelproc;
using wire::Expr;
using wire::parseFullForm;

TEST(GiacNames, FreeSymbolsGetIdentifiersOfTheirOwn)
{
    for (std::string name : {"x", "Sin", "x$vxhat", "a_b", "\xCE\xB1", "C1", "_", "s", "v", "d"}) {
        std::string id = encodeSymbol(name);
        EXPECT_EQ(id.rfind("qv_", 0), 0u);
        for (char c : id.substr(3))
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_') << id;
        EXPECT_EQ(decodeSymbol(id), name);
    }
    for (std::string typed : {"d", "f", "i", "l", "s", "v"}) // Giac's marks of a typed variable
        EXPECT_FALSE(encodeSymbol(typed).ends_with("_" + typed)) << typed;
    EXPECT_NE(encodeSymbol("a_b"), encodeSymbol("a_5fb_"));
    EXPECT_EQ(decodeSymbol("pi"), "");
    EXPECT_EQ(decodeSymbol("qv_"), "");
    EXPECT_EQ(decodeSymbol(encodeBoundSymbol("i", 12)), "i");
    EXPECT_EQ(decodeSymbol("qvb_i"), "");
}

TEST(GiacNames, FunctionsMapBothWaysAndPackageSpellingsAlike)
{
    EXPECT_EQ(giacFunctionFor("VXSin"), "sin");
    EXPECT_EQ(giacFunctionFor("NoSuchFunction"), "");
    EXPECT_EQ(kernelFunctionFor("ln"), "Log");
    EXPECT_EQ(plainHead("VXPlus"), "Plus");
    EXPECT_EQ(plainHead("VX"), "VX");
}

TEST(GiacInput, WritesGiacsLanguage)
{
    // A bound variable's identifier is fresh each time, and so is a bound
    // value's (qvl): their serials are left out here.
    auto giac = [](const char* fullForm) {
        std::string text = GiacInput().translate(parseFullForm(fullForm));
        for (const char* prefix : {"qvb", "qvl"}) {
            for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 3))
                text.replace(at + 3, text.find_first_not_of("0123456789", at + 3) - at - 3, "_");
        }
        return text;
    };
    EXPECT_EQ(giac("Plus[x, 1]"), "(qv_x.+(1))");
    EXPECT_EQ(giac("Sin[Pi]"), "sin(pi)");
    EXPECT_EQ(giac("Power[E, I]"), "((e)^(i))");
    EXPECT_EQ(giac("Limit[f, Rule[x, 0], Rule[Direction, -1]]"), "limit(qv_f_,qvb_x,(0),-((-1)))");
    EXPECT_EQ(giac("Integrate[x, List[x, 0, 1]]"), "integrate(qvb_x,qvb_x,(0),(1))");
    EXPECT_EQ(giac("Sum[Times[i, I], List[i, 1, 3]]"), "sum((qvb_i_*i),qvb_i_,(1),(3))");
    EXPECT_EQ(giac("Sum[k, List[k, List[1, 3]]]"), "sum(map([(1),(3)],(qvb_k)->(qvb_k)))");
    EXPECT_EQ(giac("Table[k, List[k, List[1, 3]]]"), "map([(1),(3)],(qvb_k)->(qvb_k))");
    EXPECT_EQ(giac("Table[j, List[k, 3], List[j, k]]"),
              "when(((3))<((1)),[],seq(when((qvb_k)<((1)),[],seq(qvb_j,qvb_j,(1),qvb_k,1)),qvb_k,(1),(3),1))");
    EXPECT_EQ(giac("Inequality[1, Less, x, LessEqual, 3]"), "(((1))<(qv_x) and (qv_x)<=((3)))");
    EXPECT_EQ(giac("VXSplit[List[1, Less[x, 0]], List[2, vxOtherwise]]"), "piecewise(((qv_x)<((0))),(1),(2))");
    EXPECT_EQ(giac("\"say \\\"hi\\\"\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(GiacInput().translate(Expr::realText("3.14`20")), "(3.14)");
    EXPECT_EQ(giac("3.14159265358979323846"), "evalf(3.14159265358979323846,21)");
    // reals of up to 15 significant digits are machine reals, whatever their leading zeros
    EXPECT_EQ(giac("0.3333333333333333"), "evalf(0.3333333333333333,16)");
    EXPECT_EQ(giac("0.00123456789012345"), "(1.23456789012345e-3)");
    EXPECT_EQ(giac("-0.000000000000001234"), "(-1.234e-15)");
    EXPECT_EQ(giac("0.000000000000000000"), "(0.0)");
    for (const auto& [real, exact] : {std::pair{"0.25", "Rational[25, 100]"}, {"2.0", "2"}, {"1.5*^3", "1500"},
                                      {"-0.0025", "Rational[-25, 10000]"}, {"120.", "120"}})
        EXPECT_EQ(wire::toFullForm(exactNumber(Expr::realText(real))), exact) << real;
    // the kernel's meaning where Giac's namesake differs
    EXPECT_EQ(giac("Round[7, 5]"), "((qvl_,qvl_)->(((qvl_)*round((qvl_)/(qvl_)))))((7),(5))");
    EXPECT_EQ(giac("ProductLog[-1, x]"), "LambertW(qv_x,(-1))");
    EXPECT_EQ(giac("Beta[z, a, b]"), "Beta(qv_a,qv_b,qv_z)");
    EXPECT_EQ(giac("Sin[List[0, Pi]]"), "[sin((0)),sin(pi)]");
    EXPECT_EQ(giac("Max[List[1, List[x]], 2]"), "max((1),qv_x,(2))");
    EXPECT_EQ(giac("f[True]"), "qv_f_(qv_True)");
    EXPECT_EQ(giac("f[List[]]"), "qv_f_(qv_List_5b_5d)");
    EXPECT_EQ(giac("And[True, x]"), "(true and qv_x)");
    EXPECT_EQ(giac("Tr[List[List[1, 2, 3], List[4, 5, 6]]]"), "((1).+(5))");
    EXPECT_EQ(giac("Cross[List[a, b]]"), "[-(qv_b),qv_a]");

    GiacInput input;
    input.translate(parseFullForm("Det[VXMatrix[List[List[1]]]]"));
    EXPECT_TRUE(input.sawMatrix());
}

TEST(GiacInput, RefusesWhatHasNoGiacForm)
{
    auto fails = [](const Expr& e) {
        EXPECT_THROW(GiacInput().translate(e), TranslationError) << wire::toFullForm(e);
    };
    fails(parseFullForm("Limit[x, x]"));
    fails(parseFullForm("Power[x]"));
    fails(parseFullForm("f[a][b]"));
    fails(parseFullForm("Inequality[1, Foo, 2]"));
    fails(parseFullForm("Part[List[a, b], 1.5]"));
    fails(parseFullForm("Part[List[a, b], -9223372036854775808]"));
    fails(Expr::integerText("1; system(rm)"));
    // calls the kernel refuses: argument counts, shapes, non-integers
    for (const char* refused :
         {"Sin[1, 2]", "LaplaceTransform[t, t]", "Simplify[x, Greater[x, 0]]", "Det[List[List[1, 2, 3], List[4, 5, 6]]]",
          "VXDet[VXMatrix[List[1, 2, 3], List[4, 5, 6]]]", "Inverse[5]", "Transpose[List[1, 2, 3]]",
          "Plus[List[1, 2], List[3, 4, 5]]", "List[Plus[List[List[1, 2]], List[List[3, 4, 5]]]]",
          "Times[List[1, 2], List[3, 4, 5]]", "Round[List[1, 2], List[1, 2, 3]]", "Dot[List[1, 2], List[3, 4, 5]]",
          "Cross[List[1, 2], List[3, 4]]", "Round[7, 0]", "Prime[2.5]", "IdentityMatrix[0]", "EulerPhi[Rational[1, 2]]",
          "FactorInteger[2.]", "GCD[2.5, 5]", "Norm[List[List[1, 2], List[3, 4]], 1]", "Sum[k, List[k, 1, 10, 0]]",
          "Table[k, List[k, 1, 3, 0.]]", "Zeta[0.5, Rational[1, 3]]", "Xor[x, Less[x, 1]]"})
        fails(parseFullForm(refused));
    // the editor's matrices multiply as matrices, of any fitting shapes
    EXPECT_NO_THROW(GiacInput().translate(parseFullForm("VXTimes[VXMatrix[List[1, 2]], VXMatrix[List[1], List[2]]]")));
    fails(Expr::realText("1e5)+evil("));
    Expr deep = Expr::symbol("x");
    for (int i = 0; i < 300; ++i)
        deep = Expr::function("Sin", {deep});
    fails(deep);
}

TEST(GiacInput, NestedCallsGrowInProportionToTheirDepth)
{
    // Each argument is written once however often its meaning reads it: a
    // call nested twice as deep is about twice as long, not the square.
    for (std::string call : {"Arg[#]", "ArcTan[1, #]", "ArcTan[#, 1]", "PrimeQ[#]", "Numerator[#]", "Denominator[#]",
                             "Unequal[1, #]", "Unequal[#, 1, 2]", "Round[7, #]", "Floor[7, #]", "Ceiling[7, #]",
                             "Mod[7, #]", "Mod[#, 3]", "UnitStep[#]", "Gamma[#, 0, 1]", "f[#]"}) {
        auto length = [&](int depth) {
            std::string code = "x";
            for (int i = 0; i < depth; ++i)
                code = std::string(call).replace(call.find('#'), 1, code);
            return GiacInput().translate(parseFullForm(code)).size();
        };
        EXPECT_LT(length(16), 3 * length(8)) << call;
    }
}

TEST(GiacInput, HoldsARefusedCallWhereAnUnknownCanStandForIt)
{
    // The calls held, in order; "whole" where the translation is refused whole.
    const std::pair<const char*, const char*> cases[] = {
        {"Plus[Sin[1, 2], Round[7, 5], Sin[1, 2]]", "Sin[1, 2]; Sin[1, 2]"},
        {"List[Part[List[a, b], 5], Plus[List[1, 2], List[3, 4, 5]], Plus[x, 1]]",
         "Part[List[a, b], 5]; Plus[List[1, 2], List[3, 4, 5]]"},
        {"Sum[Plus[k, Det[5]], List[k, 1, 3]]", "Det[5]"},
        // depends on the variable of a construct around it, or stands in its range
        {"Plus[Sum[Round[k, 0], List[k, 1, 3]], 1]", "Sum[Round[k, 0], List[k, 1, 3]]"},
        {"Plus[Table[Part[List[q, k], 5], List[k, 2]], 1]", "Table[Part[List[q, k], 5], List[k, 2]]"},
        {"List[Integrate[Round[y, 0], y], Limit[Sin[t, 2], Rule[t, 0]]]",
         "Integrate[Round[y, 0], y]; Limit[Sin[t, 2], Rule[t, 0]]"},
        {"Plus[D[Power[x, 3], List[x, Sin[1, 2]]], 1]", "D[Power[x, 3], List[x, Sin[1, 2]]]"},
        {"List[Table[k, List[k, 1, Sin[1, 2]]], Sum[k, List[k, List[1, Sin[1, 2]]]]]",
         "Table[k, List[k, 1, Sin[1, 2]]]; Sum[k, List[k, List[1, Sin[1, 2]]]]"},
        {"List[Solve[Equal[Part[List[x], 5], 1], x]]", "Solve[Equal[Part[List[x], 5], 1], x]"},
        {"Sin[1, 2]", "whole"},
        {"Sum[Round[k, 0], List[k, 1, 3]]", "whole"},
        {"Plus[Part[List[u], 5], 1]", "whole"}, // u is bound below
    };
    for (const auto& [request, expected] : cases) {
        std::string held;
        GiacInput input([&](const Expr& call, const TranslationError&) {
            held += (held.empty() ? "" : "; ") + wire::toFullForm(call);
            return std::string("vx held");
        });
        input.bind(Expr::symbol("u"));
        try {
            input.translate(parseFullForm(request));
        } catch (const TranslationError&) {
            held = "whole";
        }
        EXPECT_EQ(held, expected) << request;
    }
    // A request nested too deep is refused whole, whatever holds around it.
    Expr deep = Expr::symbol("x");
    for (int i = 0; i < 300; ++i)
        deep = Expr::function("Sin", {deep});
    GiacInput input([](const Expr&, const TranslationError&) { return std::string("vx held"); });
    EXPECT_THROW(input.translate(Expr::function("List", {Expr::integer(1), deep})), NestedTooDeep);
}
