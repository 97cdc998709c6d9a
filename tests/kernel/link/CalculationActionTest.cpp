// Calculations through the real kernel: the answer placed as a new paragraph,
// after the source, at the end, or in the source's place, undo and redo
// restoring the document's bytes, and refused answers leaving it unchanged.
#include "kernel/link/LinkTestSupport.h"

#include "foundation/ActionView.h"
#include "foundation/ArchiveCharMaps.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/ExprNode.h"
#include "foundation/LongWork.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TAction.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/MathParser.h"
#include "kernel/NodePath.h"
#include "kernel/TCalculationAction.h"
#include "kernel/TermRef.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/FontManager.h"
#include "math/EquationSetComp.h"
#include "math/ExponentComp.h"
#include "support/PauseProcess.h"
#include "support/ScopedInstall.h"
#include "support/math/MathTestSupport.h"
#include "support/model/ModelTestSupport.h"

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <utility>
#include <gtest/gtest.h>

namespace {

struct ListBytes : ModelTest {
    static std::vector<uint8_t> Of(const ParagraphList& list) { return WriteList(list); }
    static std::string TextOf(const ParagraphList& list) { return Text(list); }
};

// When a test presses Escape in a calculation: never, while the request
// waits for the kernel, or once the answer has come (before it is placed).
enum class Escape { never, waiting, answered };

// What the status bar shows last.
std::string gStatus;
void ShowStatus(const char* text)
{
    gStatus = text ? text : "";
}

// Paragraph i as the user reads it: the text the clipboard gives other
// programs (a subscript as "_1", a fraction as "1/x"; paragraphs end at CR).
std::string Shown(const ParagraphList& list, int i)
{
    const std::string text = DocClipboard::PlainText(list);
    std::size_t start = 0;
    for (int line = 1; line < i && start != std::string::npos; ++line)
        start = text.find('\r', start) == std::string::npos ? std::string::npos : text.find('\r', start) + 1;
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find('\r', start) - start);
}

// A view whose first layout the user stops, as Escape stops a long one.
class StoppingView : public ActionView {
public:
    DocSelection GetSelection() const override { return {}; }
    void SetSelection(const DocSelection&, bool) override {}
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int, int) override
    {
        if (std::exchange(stop, false))
            throw WorkStopped();
    }
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection&) override {}
    ParagraphList* GetParagraphList() const override { return nullptr; }
    bool stop = true;
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
        StopBuiltKernel(link);
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

    // The typed formula's characters; an equation paragraph of them.
    std::unique_ptr<CompArray> Math(const std::string& typed)
    {
        std::string codes;
        for (char c : typed)
            codes += char(gReaderSymbolMap[static_cast<unsigned char>(c)]);
        return Chars(codes, FontManager::kMathFace);
    }
    ParagraphComp* Typed(const std::string& typed) { return new ParagraphComp(Math(typed), kResultParagraphStyle); }

    // The calculation of the components first..last - 1 of paragraph `index`,
    // made as the view makes it: the whole formula built from the paragraph
    // and the selected part found in it.
    std::unique_ptr<TContextCalculationAction> PartCalculation(int index, int first, int last, int mode, int placement)
    {
        RowNodeBuilder::Install(&KernelRowBuilder::Instance());
        TermRef whole = TermRef::Build(*list.GetAt(index));
        RowNodeBuilder::Install(nullptr);
        EXPECT_TRUE(whole);
        CompList* row = list.GetAt(index)->GetRow();
        DocSelection selection(DocPosition(row, first), DocPosition(row, last));
        ExprNode* part = NodePath(whole.Get(), selection, true).Innermost();
        return std::make_unique<TContextCalculationAction>(selection, mode, placement, whole.Release(), part);
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
        EXPECT_FALSE(action->ChangedNothing());
        const std::vector<uint8_t> done = ListBytes::Of(list);
        std::string answer = ListBytes::TextOf(list);
        EXPECT_NE(answer.find("x = -2 or x = 2"), std::string::npos) << answer;   // the alternatives of the solve
        EXPECT_NE(list.GetAt(c.resultIndex), source);
        action->Revert();
        EXPECT_EQ(ListBytes::Of(list), before);
        EXPECT_EQ(list.GetAt(2), source);   // the very source paragraph is back
        {
            // A redo stopped while laid out leaves it undone, to be redone.
            StoppingView view;
            ActionViewScope scope(&view);
            action->Redo();
            EXPECT_FALSE(action->IsDone());
            EXPECT_TRUE(action->CanUndo());
            EXPECT_EQ(ListBytes::Of(list), before);
        }
        action->Redo();
        EXPECT_EQ(ListBytes::Of(list), done);
        action->Revert();
        action->Commit();
    }
}

TEST_F(CalculationActionTest, AnAnswerTheKernelCannotGiveLeavesTheDocumentUnchanged)
{
    const std::vector<uint8_t> before = ListBytes::Of(list);
    struct Case {
        const char* name;
        const char* request;
        int mode;
        bool killed; // the kernel paused, and killed while the request waits
        const char* status;
        Escape escape = Escape::never;
        const char* kernel = nullptr; // the folder of the kernel started for the row
    };
    const std::string silent = SilentKernelFolder();
    const Case cases[] = {
        {"no solution", "Equal[Exp[x], 0]", 5, false,
         "The kernel gave no answer for this calculation. No solution was found."},
        {"no elementary antiderivative", "Power[x, x]", 7, false,
         "The kernel gave no answer for this calculation. Integrate cannot be evaluated: No antiderivative was found "
         "that differentiates back to the integrand."},
        {"Escape as the answer came", "Plus[2, 3]", 1, false, "Aborted", Escape::answered},
        {"the kernel killed", "Plus[2, 3]", 1, true, "The kernel gave no answer for this calculation."},
        {"no kernel: the request refused", "Plus[2, 3]", 1, false, "The kernel gave no answer for this calculation."},
        // A kernel with nothing to stop whose answer comes after Escape: it is
        // not placed. One that never answers: Escape ends the wait all the same.
        {"an answer after Escape", "Plus[answerLate, 1]", 1, false, "Aborted", Escape::waiting, silent.c_str()},
        {"no answer ever, and Escape", "Plus[neverAnswered, 1]", 1, false, "Aborted", Escape::waiting},
    };
    ScopedInstall<StatusTextSink> status(&SetStatusTextSink, &ShowStatus);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.kernel) {
            UseBuiltKernel(link, questions, settings.path().toStdString(), c.kernel);
            ASSERT_TRUE(StartAndWait(link));
        }
        const pid_t kernel = link.Link() ? MLProcessId(link.Link()) : 0;
        PausedProcess paused(c.killed ? kernel : 0);
        if (c.killed) {
            ASSERT_TRUE(paused.Stopped());
        }
        // Only a hang lasts past the limit: the kernel is then ended.
        const auto sent = std::chrono::steady_clock::now();
        auto stopAtTheWait = questions.OnYield([&] {
            if (c.killed || std::chrono::steady_clock::now() - sent > std::chrono::seconds(30))
                ::kill(kernel, SIGKILL);
            else if (c.escape == Escape::waiting || (c.escape == Escape::answered && !link.IsBusy()))
                link.AbortEvaluation();
        });
        auto action = Calculation(2, c.request, c.mode, Placement::kNewParagraph);
        action->Perform();
        EXPECT_FALSE(action->CanUndo());
        EXPECT_TRUE(action->ChangedNothing()); // so the document is not marked modified
        EXPECT_EQ(action->GetPlacement(), Placement::kNothing);
        EXPECT_EQ(ListBytes::Of(list), before);
        EXPECT_EQ(gStatus, c.status);
        EXPECT_FALSE(link.IsBusy());
        if (c.escape != Escape::never) {
            EXPECT_TRUE(link.IsReady()); // Escape keeps the session
        }
        action->Commit();
    }
    EXPECT_FALSE(questions.messages.empty()); // the kernel's end was told
}

TEST_F(CalculationActionTest, IntegrationConstantsAreNumberedAfterTheLargest)
{
    struct Case {
        const char* integrand;
        const char* shown; // in the answer as the user reads it
    };
    // The new constant follows the largest one in the answer and in the source.
    const Case cases[] = {
        {"Times[x, Sin[x]]", "C_1"},
        {"Plus[x, VXSubscript[C, 1]]", "C_2"},
        {"Plus[VXSubscript[C, 4], Times[VXSubscript[C, 1], x]]", "C_5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.integrand);
        auto action = Calculation(2, c.integrand, 7, Placement::kNewParagraph);
        action->Perform();
        ASSERT_EQ(list.GetCount(), 4);
        const std::string text = Shown(list, 3);
        EXPECT_NE(text.find(c.shown), std::string::npos) << text;
        EXPECT_EQ(text.find("vxReplSub"), std::string::npos) << text;
        action->Revert();
        action->Commit();
    }
}

TEST_F(CalculationActionTest, APartsAnswerIsShownInItsWholeFormula)
{
    struct Case {
        const char* formula; // paragraph 4
        int first, last;     // the selected components
        int mode, placement;
        const char* shown; // the result paragraph as the user reads it
    };
    const Case cases[] = {
        // Two solutions: the whole formula twice, each with its own.
        {"x^2=4,y=1", 1, 6, 5, Placement::kNewParagraphWhole, "x = -2,y = 1 or x = 2,y = 1"},
        // After " = " comes what equals the source: the side that holds the
        // part, with the answer in the part's place.
        {"a(x+x)=y", 3, 6, 0, Placement::kAfterEquals, "a(x+x)=y = a (2 x)"},
        {"y=a(x+x)", 5, 8, 0, Placement::kAfterEquals, "y=a(x+x) = a (2 x)"},
        {"a(x+x)", 3, 6, 0, Placement::kAfterEquals, "a(x+x) = a (2 x)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        list.InsertAt(Typed(c.formula), 4);
        auto action = PartCalculation(4, c.first, c.last, c.mode, c.placement);
        action->Perform();
        ASSERT_TRUE(action->CanUndo());
        const int at = c.placement == Placement::kAfterEquals ? 4 : 5;
        EXPECT_EQ(Shown(list, at), c.shown);
        action->Revert();
        action->Commit();
        delete list.RemoveAt(4);
    }
}

// Rows typed with structures and calculated as the context menu offers:
// the kernel computes what the screen shows, and the answer reads again.
TEST_F(CalculationActionTest, TypedStructuresAreCalculatedAsShown)
{
    // The row typed, the exponent 2 on its end, then more typed.
    const auto squared = [&](const char* typed, const char* rest) {
        ParagraphComp* paragraph = Typed(typed);
        paragraph->GetRow()->Append(new ExponentComp(Math("2")));
        paragraph->GetRow()->InsertAllAt(Math(rest), paragraph->GetRow()->GetCount() + 1);
        return paragraph;
    };
    ParagraphComp* trig = squared("sin(x)", "+cos(x)");
    trig->GetRow()->Append(new ExponentComp(Math("2")));
    auto* equations = new EquationSetComp(2);
    equations->GetCell(1, 1)->InsertAllAt(Math("x+y=3"), 1);
    equations->GetCell(1, 2)->InsertAllAt(Math("x-y=1"), 1);
    struct Case {
        std::unique_ptr<ParagraphComp> formula;
        int mode;
        const char* shown;
    } cases[] = {
        {std::unique_ptr<ParagraphComp>(squared("sin(x)", "")), 6, "2 sin x cos x"}, // d/dx, not 2 x cos(x^2)
        {std::unique_ptr<ParagraphComp>(trig), 0, "1"},                              // simplified
        // Solved as Evaluate Code shows Solve[{x + y == 3, x - y == 1}, {x, y}].
        {std::make_unique<ParagraphComp>(One(equations), kResultParagraphStyle), 5, "[[x = 2],[y = 1]]"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.shown);
        list.InsertAt(c.formula.release(), 4);
        auto action = PartCalculation(4, 1, list.GetAt(4)->GetRow()->GetCount() + 1, c.mode, Placement::kNewParagraph);
        action->Perform();
        ASSERT_TRUE(action->CanUndo());
        EXPECT_EQ(Shown(list, 5), c.shown);
        RowNodeBuilder::Install(&KernelRowBuilder::Instance());
        gSyntaxError = false;
        std::unique_ptr<ExprNode>(list.GetAt(5)->GetRow()->BuildNode()).reset();
        EXPECT_FALSE(gSyntaxError);
        RowNodeBuilder::Install(nullptr);
        action->Revert();
        action->Commit();
        delete list.RemoveAt(4);
    }
}

TEST_F(CalculationActionTest, AnswersReadAsMathematics)
{
    struct Case {
        const char* request;
        int mode;
        const char* shown;    // found in the answer as the user reads it
        const char* notShown; // never in it
    };
    const Case cases[] = {
        {"Log[x]", 6, "1/x", "^"},                                    // d/dx ln x
        {"Equal[Times[a, x], 1]", 5, "x = 1/a", "^"},                 // solved for x
        {"VXMatrix[List[1, 2], List[3, 4]]", 9, "2", "Det"},          // the determinant
        {"VXMatrix[List[1, 2], List[3, 4]]", 14, "3/2", "Inverse"},   // the inverse
        {"VXMatrix[List[2, 0], List[0, 3]]", 16, "3", "Eigenvalues"}, // the eigenvalues
        {"VXDet[VXMatrix[List[1, 2], List[3, 4]]]", 1, "2", "|"},     // determinant bars evaluated
        {"360", 3, "^3", "360"},                                      // the prime factors 2^3 3^2 5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        auto action = Calculation(2, c.request, c.mode, Placement::kNewParagraph);
        action->Perform();
        ASSERT_EQ(list.GetCount(), 4);
        const std::string text = Shown(list, 3);
        EXPECT_NE(text.find(c.shown), std::string::npos) << text;
        EXPECT_EQ(text.find(c.notShown), std::string::npos) << text;
        action->Revert();
        action->Commit();
    }
}

TEST_F(CalculationActionTest, TreatingALetterAsAConstantTicksItInThePaletteAndChangesNothingElse)
{
    std::vector<std::pair<char, bool>> ticked;
    ScopedInstall palette(SetConstantCheckHook, [&](char letter, bool constant) {
        ticked.push_back({letter, constant});
    });
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
    EXPECT_FALSE(action.ChangedNothing());
    ASSERT_EQ(list.GetCount(), 6);
    const std::string expected = "before|x[Expo] = 4|f[x_] := x^2 + 1;|a = 2; f[a] == 5|True|after";
    EXPECT_EQ(ListBytes::TextOf(list).substr(0, expected.size()), expected);
    action.Revert();
    EXPECT_EQ(ListBytes::Of(list), before);
    action.Commit();

    // Code that does not parse changes nothing, and the status bar says why.
    list.InsertAt(new ParagraphComp(Chars("1 +"), kCode), 5);
    const std::vector<uint8_t> broken = ListBytes::Of(list);
    TEvaluateCodeAction refused(DocSelection::SelectAll(list.GetAt(5)->GetRow()));
    ScopedInstall<StatusTextSink> status(&SetStatusTextSink, &ShowStatus);
    refused.Perform();
    EXPECT_EQ(gStatus,
              "The kernel gave no answer for this calculation. The code \"1 +\" cannot be read: an operand "
              "was expected at the end.");
    EXPECT_FALSE(refused.CanUndo());
    EXPECT_TRUE(refused.ChangedNothing());
    EXPECT_EQ(refused.GetPlacement(), Placement::kNothing);
    EXPECT_EQ(ListBytes::Of(list), broken);
    refused.Commit();

    // Escape typed as the answer comes: it is not placed.
    auto escape = questions.OnYield([&] {
        if (!link.IsBusy())
            link.AbortEvaluation();
    });
    TEvaluateCodeAction stopped(code);
    stopped.Perform();
    EXPECT_EQ(gStatus, "Aborted");
    EXPECT_FALSE(stopped.CanUndo());
    EXPECT_TRUE(stopped.ChangedNothing());
    EXPECT_EQ(ListBytes::Of(list), broken);
    stopped.Commit();
    RowNodeBuilder::Install(nullptr);
}

} // namespace
