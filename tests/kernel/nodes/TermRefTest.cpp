// The term holder on typed formulas: which side of a relation holds a
// selected term, the components of one side, and an answer put in a part's
// place, as copies of the whole formula when it has several alternatives.
#include "kernel/TermRef.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/DocSelection.h"
#include "foundation/RowNodeBuilder.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/MathParser.h"
#include "kernel/NodePath.h"
#include "support/kernel/NodeWireText.h"
#include "support/math/MathTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TermRefTest : public MathTest {
protected:
    TermRefTest() { RowNodeBuilder::Install(&KernelRowBuilder::Instance()); }
    ~TermRefTest() override { RowNodeBuilder::Install(nullptr); }

    // The typed formula's expression; the row lives as long as the test.
    TermRef Parse(const std::string& typed)
    {
        std::string codes;
        for (char c : typed)
            codes += char(gReaderSymbolMap[static_cast<unsigned char>(c)]);
        rows.push_back(std::make_unique<CompList>(Chars(codes, FontManager::kMathFace)));
        CompList& row = *rows.back();
        gSyntaxError = false;
        TermRef term(MathParser(row, 1, row.GetCount() + 1).Parse());
        EXPECT_FALSE(gSyntaxError);
        return term;
    }
    // The node that characters first..last of the latest formula select.
    ExprNode* Selected(const TermRef& whole, int first, int last)
    {
        return NodePath(whole.Get(), DocSelection(rows.back().get(), first, last + 1), false).Innermost();
    }

    std::vector<std::unique_ptr<CompList>> rows;
};

} // namespace

TEST_F(TermRefTest, TheSideThatHoldsATermAndTheComponentsOfASide)
{
    struct Case {
        const char* typed;
        int first, last; // the selected characters
        int side;
        const char* shown; // the components of that side (or of the whole)
    };
    const Case cases[] = {
        {"2x+3=7", 1, 2, 1, "2 x + 3"},
        {"2x+3=7", 6, 6, 2, "7"},
        {"a<b<c", 5, 5, 3, "c"},
        {"a<b<c", 3, 3, 2, "b"},
        {"a+b=c", 1, 5, 0, "a + b = c"}, // the relation itself lies in no side
        {"a+b", 3, 3, 0, "a + b"},       // no relation
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " " + std::to_string(c.first));
        TermRef whole = Parse(c.typed);
        const int side = whole.GetTermIndex(Selected(whole, c.first, c.last));
        EXPECT_EQ(side, c.side);
        EXPECT_EQ(RowText(*whole.CollectTermsGuarded(side)), c.shown);
    }
    // A side the relation lacks, a missing term and an empty holder.
    TermRef relation = Parse("a=b");
    EXPECT_EQ(RowText(*relation.CollectTermsGuarded(3)), "a = b");
    EXPECT_EQ(relation.GetTermIndex(nullptr), 0);
    EXPECT_EQ(RowText(*TermRef().CollectTermsGuarded(1)), "");
    EXPECT_EQ(TermRef().GetTermIndex(relation.Get()), 0);
}

TEST_F(TermRefTest, AnAnswerOfSeveralAlternativesMakesACopyOfTheWholePerAlternative)
{
    struct Case {
        const char* typed;
        int first, last; // the part
        const char* answer;
        const char* shown;
    };
    const Case cases[] = {
        {"x^2=4,y=1", 1, 5, "Or[Equal[x, -2], Equal[x, 2]]", "x = -2,y = 1 or x = 2,y = 1"},
        {"y=1,x^2=4", 5, 9, "Or[Equal[x, -2], Equal[x, 2], Equal[x, 0]]", "y = 1,x = -2 or y = 1,x = 2 or y = 1,x = 0"},
        {"y+x^2=4", 3, 5, "Times[x, x]", "y + x x = 4"},                     // one alternative
        {"x^2=4", 1, 5, "Or[Equal[x, -2], Equal[x, 2]]", "x = -2 or x = 2"}, // the part is the whole
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " " + c.answer);
        TermRef whole = Parse(c.typed);
        whole.NextAfterMaxTerm(Selected(whole, c.first, c.last), NodeFrom(c.answer));
        EXPECT_EQ(RowText(*whole.CollectTerms()), c.shown);
    }
}
