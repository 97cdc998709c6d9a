// Every math component, alone and nested: its row is built into nodes,
// written in package form and in plain form, read back by the reader, turned
// into components again and compared with the original.
#include "kernel/KernelCodes.h"
#include "kernel/KernelReader.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/MathParser.h"

#include "math/AbsValueComp.h"
#include "math/AccentComp.h"
#include "math/BracketComp.h"
#include "math/ConjugateComp.h"
#include "math/DifferentialComp.h"
#include "math/EquationSetComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/MatrixComp.h"
#include "math/ParenComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/ProductComp.h"
#include "math/RadicalComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/SubscriptComp.h"
#include "math/SumComp.h"
#include "math/TableComp.h"
#include "math/TagVarComp.h"
#include "math/TotalDerivativeComp.h"
#include "mathlink/LinkExpr.h"
#include "support/math/MathTestSupport.h"

#include <functional>

namespace {

class ComponentRoundTripTest : public MathTest {
protected:
    ComponentRoundTripTest()
    {
        env = MLInitialize();
        int error = 0;
        link = MLLoopbackOpen(env, &error);
        RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    }
    ~ComponentRoundTripTest() override
    {
        RowNodeBuilder::Install(nullptr);
        MLClose(link);
        MLDeinitialize(env);
    }

    // Characters of the math face; "~" stands for the arrow of a rule.
    std::unique_ptr<CompArray> T(const std::string& text)
    {
        std::string codes;
        for (char c : text)
            codes += c == '~' ? char(MathChar::Arrow) : c;
        return Chars(codes, FontManager::kMathFace);
    }
    std::unique_ptr<CompArray> Join(std::initializer_list<CompArray*> parts)
    {
        auto joined = std::make_unique<CompArray>();
        for (CompArray* part : parts) {
            for (int i = 1; i <= part->GetCount(); ++i)
                joined->Append(part->GetAt(i));
            delete part;
        }
        return joined;
    }
    CompArray* P(std::unique_ptr<CompArray> array) { return array.release(); }
    CompArray* C(TextComp* comp) { return One(comp).release(); }
    static void Fill(CompList* cell, std::unique_ptr<CompArray> items) { cell->InsertAllAt(std::move(items), 1); }

    // The row through the kernel form and back; empty when it came back equal.
    std::string RoundTrip(CompList& row, bool plain)
    {
        gSyntaxError = false;
        std::unique_ptr<ExprNode> node(row.BuildNode());
        if (gSyntaxError)
            return "the row does not parse";
        if (plain)
            node->PutPlainForm(link);
        else
            node->PutPackageForm(link, 0);
        MLEndPacket(link);
        MLNextPacket(link);
        wire::Expr copy;
        std::unique_ptr<ExprNode> back(ReadKernelExpr(link));
        std::unique_ptr<CompList> shown(back->ToCompList());
        if (shown->IsEqual(row))
            return "";
        node->PutPackageForm(link, 0);
        MLEndPacket(link);
        MLNextPacket(link);
        wire::getLinkExpr(link, copy);
        return "came back as " + RowText(*shown) + " from " + wire::toFullForm(copy);
    }

    MLENV env;
    MLINK link;
};

TEST_F(ComponentRoundTripTest, EveryComponentComesBackAsItWas)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CompArray>()> make;
        bool plainToo;   // the plain form reads back as the same components
    };
    const Case cases[] = {
        {"characters", [&] { return T("a + 2 b"); }, true},
        {"fraction", [&] { return One(new FractionComp(T("a"), T("b"))); }, true},
        {"exponent", [&] { return Join({P(T("x")), C(new ExponentComp(T("2")))}); }, true},
        {"subscript", [&] { return Join({P(T("a")), C(new SubscriptComp(T("1")))}); }, true},
        {"absolute value", [&] { return One(new AbsValueComp(T("x"))); }, true},
        {"bracket argument", [&] { return Join({P(T("f")), C(new BracketComp(T("x")))}); }, true},
        {"parentheses", [&] { return Join({P(T("c ")), C(new ParenComp(T("a + b")))}); }, true},
        {"conjugate", [&] { return One(new ConjugateComp(T("z"))); }, true},
        {"hat", [&] { return One(new AccentComp(T("x"), AccentCode::Hat)); }, true},
        {"vector arrow", [&] { return One(new AccentComp(T("v"), AccentCode::Vector)); }, true},
        {"tilde over a sum", [&] { return One(new AccentComp(T("a + b"), AccentCode::Tilde)); }, true},
        {"indefinite integral", [&] { return One(new IntegralComp(T("f"), T("x"))); }, true},
        {"definite integral", [&] { return One(new IntegralComp(T("f"), T("x"), T("1"), T("0"))); }, true},
        {"sum", [&] { return Join({C(new SumComp(T("n"), T("k = 1"))), P(T("k"))}); }, true},
        {"product", [&] { return Join({C(new ProductComp(T("n"), T("k = 1"))), P(T("k"))}); }, true},
        {"square root", [&] { return One(new RadicalComp(T("x"), nullptr)); }, true},
        {"cube root", [&] { return One(new RadicalComp(T("x"), T("3"))); }, false},
        {"limit", [&] { return Join({C(new LimitComp(T("x ~ 0"))), P(T("f"))}); }, true},
        {"tagged variable", [&] { return One(new TagVarComp(T("x"), 3)); }, true},
        {"total derivative",
         [&] { return One(new TotalDerivativeComp(T("f"), new TotalDifferentialComp(T("x"), T("")))); }, true},
        {"partial derivative",
         [&] {
             auto* d = new PartialDerivativeComp(T("f"), new PartialDifferentialComp(T("x"), T("")));
             d->InsertVariable(2, new PartialDifferentialComp(T("y"), T("2")));
             return One(d);
         },
         true},
        {"matrix",
         [&] {
             auto* m = new MatrixComp(2, 2);
             Fill(m->GetCell(1, 1), T("1"));
             Fill(m->GetCell(2, 1), T("x"));
             Fill(m->GetCell(1, 2), T("y"));
             Fill(m->GetCell(2, 2), T("2"));
             return One(m);
         },
         true},
        {"table",
         [&] {
             auto* t = new TableComp(2, 2);
             Fill(t->GetCell(1, 1), T("1"));
             Fill(t->GetCell(2, 1), T("2"));
             Fill(t->GetCell(1, 2), T("3"));
             Fill(t->GetCell(2, 2), T("4"));
             return One(t);
         },
         false},
        {"equation set",
         [&] {
             auto* s = new EquationSetComp(2);
             Fill(s->GetCell(1, 1), T("x = 1"));
             Fill(s->GetCell(1, 2), T("y = 2"));
             return One(s);
         },
         false},
        {"split definition",
         [&] {
             auto* s = new SplitDefinitionComp(2);
             Fill(s->GetCell(1, 1), T("x"));
             Fill(s->GetCell(2, 1), T("x > 0"));
             Fill(s->GetCell(1, 2), T("0"));
             Fill(s->GetCell(2, 2), T("otherwise"));
             return One(s);
         },
         false},
        {"nested",
         [&] {
             // (x^2 + sqrt(y)) / |z| as the body of a sum, times a matrix of fractions.
             auto* numerator = Join({P(T("x")), C(new ExponentComp(T("2"))), P(T(" + ")),
                                     C(new RadicalComp(T("y"), nullptr))})
                                   .release();
             auto* fraction = new FractionComp(std::unique_ptr<CompArray>(numerator), One(new AbsValueComp(T("z"))));
             auto* m = new MatrixComp(1, 2);
             Fill(m->GetCell(1, 1), One(new FractionComp(T("1"), T("2"))));
             Fill(m->GetCell(1, 2), Join({P(T("a")), C(new SubscriptComp(T("k")))}));
             return Join({C(new SumComp(T("n"), T("k = 1"))), C(fraction), P(T(" ")), C(m)});
         },
         true},
    };
    for (const Case& c : cases) {
        CompList row(c.make());
        EXPECT_EQ(RoundTrip(row, false), "") << c.name << " (package form)";
        if (c.plainToo) {
            EXPECT_EQ(RoundTrip(row, true), "") << c.name << " (plain form)";
        }
    }
}

} // namespace
