// Calculations through the real kernel: the answer placed as a new paragraph,
// after the source, at the end, or in the source's place, undo and redo
// restoring the document's bytes, and refused answers leaving it unchanged.
#include "kernel/link/LinkTestSupport.h"

#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/TCalculationAction.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/FontManager.h"
#include "platform/AppProfile.h"
#include "support/math/MathTestSupport.h"
#include "support/model/ModelTestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ListBytes : ModelTest {
    static std::vector<uint8_t> Of(const ParagraphList& list) { return WriteList(list); }
    static std::string TextOf(const ParagraphList& list) { return Text(list); }
};

class CalculationActionTest : public MathTest {
protected:
    void SetUp() override
    {
        UseBuiltKernel(link, questions, settings.path().toStdString());
        ASSERT_TRUE(StartAndWait(link));
        list.Append(new ParagraphComp(Chars("before"), 3));
        list.Append(Equation("Equal[Power[x, 2], 4]"));
        list.Append(new ParagraphComp(Chars("after"), 3));
    }
    void TearDown() override
    {
        link.QuitKernel();
        KernelLink::Set(nullptr);
        AppProfile::SetFolder({});
    }

    ParagraphComp* Equation(const char* fullForm)
    {
        std::unique_ptr<ExprNode> node(NodeFrom(fullForm));
        auto* paragraph = new ParagraphComp(kResultParagraphStyle);
        CompList row;
        node->BuildComponents(row, 1);
        paragraph->GetRow()->InsertAllAt(row.DetachAll(), 1);
        return paragraph;
    }

    // The calculation of the whole formula in paragraph `index`.
    std::unique_ptr<TContextCalculationAction> Calculation(int index, const char* fullForm, int mode, int placement)
    {
        DocSelection selection = DocSelection::SelectAll(list.GetAt(index)->GetRow());
        ExprNode* whole = NodeFrom(fullForm);
        return std::make_unique<TContextCalculationAction>(selection, mode, placement, whole, whole);
    }

    QTemporaryDir settings;
    KernelLink link;
    ScriptedQuestions questions;
    ParagraphList list;
};

TEST_F(CalculationActionTest, EachPlacementPutsTheAnswerAndUndoRedoRestoreTheBytes)
{
    struct Case {
        const char* name;
        int placement;
        bool resultsAtEnd;
        int resultIndex;   // where the answer paragraph stands
        int count;         // paragraphs after the calculation
    };
    const Case cases[] = {
        {"after the source", Placement::kNewParagraph, false, 3, 4},
        {"at the end", Placement::kNewParagraph, true, 4, 4},
        {"whole as source", Placement::kNewParagraphWhole, false, 3, 4},
        {"in the source's place", Placement::kReplaceParagraph, false, 2, 3},
        {"after an equals sign", Placement::kAfterEquals, false, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.Prefs().resultsAtEnd = c.resultsAtEnd;
        const std::vector<uint8_t> before = ListBytes::Of(list);
        ParagraphComp* source = list.GetAt(2);
        auto action = Calculation(2, "Equal[Power[x, 2], 4]", 5, c.placement);
        action->Perform();
        ASSERT_EQ(list.GetCount(), c.count);
        ASSERT_TRUE(action->CanUndo());
        const std::vector<uint8_t> done = ListBytes::Of(list);
        std::string answer = ListBytes::TextOf(list);
        EXPECT_NE(answer.find("x = -2 or x = 2"), std::string::npos) << answer;   // the alternatives of the solve
        EXPECT_NE(list.GetAt(c.resultIndex), source);
        action->Revert();
        EXPECT_EQ(ListBytes::Of(list), before);
        EXPECT_EQ(list.GetAt(2), source);   // the very source paragraph is back
        action->Redo();
        EXPECT_EQ(ListBytes::Of(list), done);
        action->Revert();
        action->Commit();
    }
}

TEST_F(CalculationActionTest, AnAnswerTheKernelCannotGiveLeavesTheDocumentUnchanged)
{
    const std::vector<uint8_t> before = ListBytes::Of(list);
    // No solution, and an integral with no elementary antiderivative.
    for (auto [request, mode] : {std::pair{"Equal[Exp[x], 0]", 5}, std::pair{"Power[x, x]", 7}}) {
        auto action = Calculation(2, request, mode, Placement::kNewParagraph);
        action->Perform();
        EXPECT_FALSE(action->CanUndo()) << request;
        EXPECT_EQ(action->GetPlacement(), Placement::kNothing);
        EXPECT_EQ(ListBytes::Of(list), before) << request;
        action->Commit();
    }
}

TEST_F(CalculationActionTest, IntegrationConstantsAreNumberedAfterTheLargest)
{
    auto action = Calculation(2, "Sin[x]", 7, Placement::kNewParagraph);
    action->Perform();
    ASSERT_EQ(list.GetCount(), 4);
    std::string text = ListBytes::TextOf(list);
    EXPECT_EQ(text.find("vxReplSub"), std::string::npos) << text;
    action->Commit();
}

TEST_F(CalculationActionTest, TreatingALetterAsAConstantTicksItInThePaletteAndChangesNothingElse)
{
    std::vector<std::pair<char, bool>> ticked;
    SetConstantCheckHook([&](char letter, bool constant) { ticked.push_back({letter, constant}); });
    list.InsertAt(new ParagraphComp(Chars("a7"), 3), 4);
    const std::vector<uint8_t> before = ListBytes::Of(list);
    CompList* row = list.GetAt(4)->GetRow();
    struct Case {
        int first;
        int mode;
        int placement;
    };
    // "a" treated as a constant, then as a variable; the digit 7 changes nothing.
    for (Case c : {Case{1, 12, Placement::kCheckConstant}, Case{1, 13, Placement::kUncheckConstant},
                   Case{2, 12, Placement::kCheckConstant}}) {
        DocSelection letter(DocPosition(row, c.first), DocPosition(row, c.first + 1));
        const char* name = c.first == 1 ? "a" : "7";
        ExprNode* node = NodeFrom(name);
        TContextCalculationAction action(letter, c.mode, c.placement, node, node);
        action.Perform();
        EXPECT_FALSE(action.CanUndo());
        action.Commit();
    }
    EXPECT_EQ(ticked, (std::vector<std::pair<char, bool>>{{'a', true}, {'a', false}}));
    EXPECT_EQ(ListBytes::Of(list), before);
    SetConstantCheckHook(nullptr);
}

// A fraction standing in for a plot that takes kernel results.
class ResultTaker : public TestFraction {
public:
    bool TakeKernelResult(ExprNode* answer) override
    {
        taken.reset(answer);
        return true;
    }
    std::unique_ptr<ExprNode> taken;
};

TEST_F(CalculationActionTest, AnObjectThatTakesKernelResultsGetsTheAnswer)
{
    auto* taker = new ResultTaker;
    auto items = Chars("f");
    items->Append(taker);
    list.InsertAt(new ParagraphComp(std::move(items), 3), 4);
    const std::vector<uint8_t> before = ListBytes::Of(list);
    DocSelection object(DocPosition(list.GetAt(4)->GetRow(), 2), DocPosition(list.GetAt(4)->GetRow(), 3));
    ExprNode* whole = NodeFrom("Plus[1, 2]");
    TContextCalculationAction action(object, 1, Placement::kToObject, whole, whole);
    action.Perform();
    ASSERT_NE(taker->taken, nullptr);
    EXPECT_EQ(FullFormOf(taker->taken.get()), "3");
    EXPECT_FALSE(action.CanUndo());
    EXPECT_EQ(ListBytes::Of(list), before);
    action.Commit();
}

TEST_F(CalculationActionTest, CodeTravelsAsTextAndItsAnswerFollowsTheCode)
{
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    const int kCode = 7;
    list.InsertAt(new ParagraphComp(Chars("f[x_] := x^2 + 1;"), kCode), 3);
    list.InsertAt(new ParagraphComp(Chars("a = 2; f[a] == 5"), kCode), 4);
    const std::vector<uint8_t> before = ListBytes::Of(list);
    DocSelection code(DocPosition(list.GetAt(3)->GetRow(), 1), DocPosition(list.GetAt(4)->GetRow(), 5));
    TEvaluateCodeAction action(code);
    action.Perform();
    ASSERT_TRUE(action.CanUndo());
    ASSERT_EQ(list.GetCount(), 6);
    const std::string expected = "before|x[Expo] = 4|f[x_] := x^2 + 1;|a = 2; f[a] == 5|True|after";
    EXPECT_EQ(ListBytes::TextOf(list).substr(0, expected.size()), expected);
    action.Revert();
    EXPECT_EQ(ListBytes::Of(list), before);
    action.Commit();

    // Code that does not parse changes nothing.
    list.InsertAt(new ParagraphComp(Chars("1 +"), kCode), 5);
    const std::vector<uint8_t> broken = ListBytes::Of(list);
    TEvaluateCodeAction refused(DocSelection::SelectAll(list.GetAt(5)->GetRow()));
    refused.Perform();
    EXPECT_FALSE(refused.CanUndo());
    EXPECT_EQ(refused.GetPlacement(), Placement::kNothing);
    EXPECT_EQ(ListBytes::Of(list), broken);
    refused.Commit();
    RowNodeBuilder::Install(nullptr);
}

} // namespace
