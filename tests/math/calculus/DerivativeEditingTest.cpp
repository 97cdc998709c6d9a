#include "CalculusTestSupport.h"

namespace {

class DerivativeEditingTest : public CalculusTest {
protected:
    PartialDerivativeComp* Partial(std::initializer_list<std::pair<const char*, const char*>> variables)
    {
        auto* partial = new PartialDerivativeComp(Chars("f"), new PartialDifferentialComp);
        for (auto [variable, order] : variables)
            partial->InsertVariable(partial->GetVariableCount() + 1,
                                    new PartialDifferentialComp(Chars(variable), Chars(order)));
        delete partial->RemoveVariable(1);
        return partial;
    }
    std::string NumeratorOrder(DerivativeComp& derivative)
    {
        derivative.UpdateNumeratorOrder();
        return RowText(*derivative.NumeratorOrder());
    }
};

TEST_F(DerivativeEditingTest, TheNumeratorOrderIsTheSumOfTheVariablesOrders)
{
    std::unique_ptr<PartialDerivativeComp> xyz(Partial({{"x", ""}, {"y", "2"}, {"z", "n"}}));
    EXPECT_EQ(NumeratorOrder(*xyz), "3 + n");
    std::unique_ptr<PartialDerivativeComp> xy(Partial({{"x", ""}, {"y", ""}}));
    EXPECT_EQ(NumeratorOrder(*xy), "2");
    std::unique_ptr<PartialDerivativeComp> symbolic(Partial({{"x", "m"}, {"y", "k"}}));
    EXPECT_EQ(NumeratorOrder(*symbolic), "m + k");
    std::unique_ptr<PartialDerivativeComp> one(Partial({{"x", ""}}));
    EXPECT_EQ(NumeratorOrder(*one), "");
    EXPECT_EQ(LaTeX(*one), "\\frac{\\partial f}{\\partial x  }");

    // The order shown is replaced at the next layout by the items' orders.
    auto* total = new TotalDerivativeComp(new TotalDifferentialComp(Chars("x"), nullptr));
    auto paragraph = Paragraph(5, Items({total}));
    EXPECT_EQ(RowText(*total->NumeratorOrder()), "");
    total->GetVariable(1)->OrderRow()->InsertAllAt(Chars("2"), 1);
    total->NumeratorOrder()->InsertAllAt(Chars("7"), 1);
    Place(*paragraph);
    EXPECT_EQ(RowText(*total->NumeratorOrder()), "2");
    EXPECT_EQ(LaTeX(*total), "\\frac{d^{2}}{dx^{2}}");
}

TEST_F(DerivativeEditingTest, APartialDerivativeAlwaysKeepsAVariable)
{
    std::unique_ptr<PartialDerivativeComp> partial(Partial({{"x", ""}, {"y", "2"}}));
    CompList* oldFirst = partial->GetChild(1);
    delete partial->RemoveVariable(1);
    delete partial->RemoveVariable(1);
    EXPECT_EQ(partial->GetVariableCount(), 1);
    EXPECT_NE(partial->GetChild(1), oldFirst);
    EXPECT_EQ(partial->GetChild(1)->GetCount(), 0);
    EXPECT_EQ(partial->RemoveVariable(5), nullptr);

    // Cutting every variable leaves one empty variable behind.
    std::unique_ptr<PartialDerivativeComp> cut(Partial({{"x", ""}, {"y", "2"}}));
    std::unique_ptr<PartialDerivativeComp> taken(cut->ExtractVariables(1, 99));
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->GetVariableCount(), 2);
    EXPECT_EQ(taken->GetChild(3)->GetOwner(), taken.get());
    EXPECT_EQ(cut->GetVariableCount(), 1);
    EXPECT_EQ(cut->ExtractVariables(3, 2), nullptr);

    // Moving them back in before the empty one.
    cut->InsertVariablesFrom(1, taken.release());
    EXPECT_EQ(cut->GetVariableCount(), 3);
    EXPECT_EQ(RowText(*cut->GetChild(1)), "x");
    EXPECT_EQ(cut->GetChild(1)->GetOwner(), cut.get());

    LinkRemap remap;
    std::unique_ptr<PartialDerivativeComp> copy(cut->CopyVariables(2, 2, remap));
    EXPECT_EQ(RowText(*copy->GetChild(2)), "2");
}

TEST_F(DerivativeEditingTest, InsertDerivativeGoesToAValidSlotFromAnywhereInTheDerivative)
{
    std::unique_ptr<PartialDerivativeComp> partial(Partial({{"x", ""}, {"y", "2"}}));
    EXPECT_EQ(partial->InsertionSlotFor(DocPosition(partial->Operand(), 2)), 3);
    EXPECT_EQ(partial->InsertionSlotFor(DocPosition(partial->GetChild(2), 1)), 2);
    EXPECT_EQ(partial->InsertionSlotFor(DocPosition(partial.get(), 40)), 3);
    partial->InsertVariable(99, new PartialDifferentialComp(Chars("z"), nullptr));
    EXPECT_EQ(RowText(*partial->GetChild(5)), "z");
    EXPECT_EQ(partial->GetChild(7), partial->Operand());
}

TEST_F(DerivativeEditingTest, CaretMovesBetweenRows)
{
    std::unique_ptr<PartialDerivativeComp> partial(Partial({{"x", ""}, {"y", "2"}}));
    CompList* v1 = partial->GetChild(1);
    CompList* o1 = partial->GetChild(2);
    CompList* v2 = partial->GetChild(3);
    CompList* o2 = partial->GetChild(4);
    CompList* f = partial->Operand();
    std::vector<CompList*> right = {v1, o1, v2, o2, f, nullptr};
    CompList* at = nullptr;
    for (CompList* expected : right)
        EXPECT_EQ(at = partial->GetListRight(at), expected);
    std::vector<CompList*> left = {f, o2, v2, o1, v1, nullptr};
    at = nullptr;
    for (CompList* expected : left)
        EXPECT_EQ(at = partial->GetListLeft(at), expected);
    EXPECT_EQ(partial->GetListUp(v2), o2);
    EXPECT_EQ(partial->GetListUp(f), nullptr);
    EXPECT_EQ(partial->GetListDown(f), o1);
    EXPECT_EQ(partial->GetListDown(v1), nullptr);
    DocPosition entry;
    partial->GetEntryPosition(entry);
    EXPECT_EQ(entry, DocPosition(v1, 1));

    IntegralComp integral(Chars("f"), Chars("x"), Chars("b"), Chars("a"));
    std::vector<CompList*> integralRight = {integral.Integrand(), integral.Variable(), integral.Lower(), integral.Upper(), nullptr};
    at = nullptr;
    for (CompList* expected : integralRight)
        EXPECT_EQ(at = integral.GetListRight(at), expected);
    EXPECT_EQ(integral.GetListUp(integral.Integrand()), integral.Upper());
    EXPECT_EQ(integral.GetListDown(integral.Integrand()), integral.Lower());
    RadicalComp root(Chars("r"), Chars("n"));
    EXPECT_EQ(root.GetListRight(root.Radicand()), root.Index());
}

} // namespace
