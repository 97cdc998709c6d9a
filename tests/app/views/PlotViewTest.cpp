// 2-D plots in the document view: inserted from the Element menu through
// their parameter dialog, their buttons answering only while the plot is
// selected, the parameter dialog changing the ranges, a line that does not
// parse or a missing kernel reported in the status bar with the plot kept,
// and Ctrl+Enter adding a function line that Undo takes away.
#include "ViewFixture.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/dialogs/CTwoDPlotParamsDlg.h"
#include "kernel/KernelServices.h"
#include "plot/PlotComponents.h"
#include "foundation/CompList.h"
#include "foundation/DrawTargetScope.h"
#include "plot/PlotCurveSet.h"
#include "plot/TwoDPlotComp.h"

namespace {

constexpr UINT kTwoDPlot = 32868;
constexpr UINT kSetPlotParameters = 34020;
constexpr UINT kUndo = 57643;

class PlotViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        InstallKernelServices();
        RegisterPlotComponents();
        InstallPlotParametersDialog(&AskTwoDPlotParameters);
    }

    // A plot inserted through the dialog with the x range given.
    TwoDPlotComp* Insert(const char* xMin, const char* xMax)
    {
        OnDialog([=](CDialog& dialog) {
            dialog.SetDlgItemText(1001, xMin);
            dialog.SetDlgItemText(1056, xMax);
            dialog.PressButton(IDOK);
        });
        Command(kTwoDPlot);
        // The caret enters the new plot's first line.
        CompList* line = view->GetSelection().First().GetList();
        return line ? dynamic_cast<TwoDPlotComp*>(line->GetOwner()) : nullptr;
    }

    // The caret in the plot's first function line: the plot shows its buttons.
    void Enter(TwoDPlotComp* plot) { view->SetSelection(DocSelection(plot->GetChild(1), 1, 1), true); }

    static Rect Box(TwoDPlotComp* plot)
    {
        Rect box;
        plot->GetAbsBounds(box);
        return box;
    }
    static IntPoint OptionsButton(TwoDPlotComp* plot) { return {Box(plot).left + 3, Box(plot).top + 3}; }
    static IntPoint PlotButton(TwoDPlotComp* plot) { return {Box(plot).right - 4, Box(plot).top + 3}; }
};

TEST_F(PlotViewTest, TheElementCommandInsertsAPlotWithTheRangesOfItsDialogAndCancelInsertsNothing)
{
    OnDialog([](CDialog& dialog) { dialog.PressButton(IDCANCEL); });
    Command(kTwoDPlot);
    EXPECT_EQ(Row(1)->GetCount(), 0);
    std::vector<std::string> shown;
    OnDialog([&](CDialog& dialog) {
        for (int id : {1000, 1001, 1056, 1057, 1058, 1059}) {
            CString text;
            dialog.GetDlgItemText(id, text);
            shown.push_back(std::string(text));
        }
        dialog.SetDlgItemText(1056, "6.5");
        dialog.PressButton(IDOK);
    });
    Command(kTwoDPlot);
    EXPECT_EQ(shown, (std::vector<std::string>{"x", "-1", "1", "y", "-1", "1"}));
    auto* plot = dynamic_cast<TwoDPlotComp*>(Row(1)->GetAt(1));
    ASSERT_NE(plot, nullptr);
    EXPECT_DOUBLE_EQ(plot->GetRanges().xMax, 6.5);
    Command(kUndo);
    EXPECT_EQ(Row(1)->GetCount(), 0);
}

TEST_F(PlotViewTest, ButtonsAnswerOnlyWhileThePlotIsSelected)
{
    TwoDPlotComp* plot = Insert("0", "2");
    ASSERT_NE(plot, nullptr);
    int dialogs = 0;
    OnDialog([&](CDialog& dialog) {
        ++dialogs;
        dialog.PressButton(IDCANCEL);
    });
    PutCaret(1, 2);
    EXPECT_FALSE(plot->IsSelected());
    Click(OptionsButton(plot));
    EXPECT_EQ(dialogs, 0) << "an unselected plot has no buttons";
    Enter(plot);
    EXPECT_TRUE(plot->IsSelected());
    Click(OptionsButton(plot));
    EXPECT_EQ(dialogs, 1);
    PutCaret(1, 2);
    EXPECT_FALSE(plot->IsSelected());

    // A plot selected in another window leaves this window's plot selected,
    // its buttons on the screen as a full repaint draws them.
    Enter(plot);
    CCorvellView* first = view;
    const auto paint = [&] {
        ProcessEvents();
        first->drawingWidget()->repaint();
        return first->BackingImage().copy();
    };
    app->OnFileNew();
    frame->OnCmdMsg(ID_WINDOW_TILE_VERT, nullptr);
    paint();
    view = dynamic_cast<CCorvellView*>(frame->MDIGetActive()->GetActiveView());
    ASSERT_NE(Insert("0", "1"), nullptr);
    EXPECT_TRUE(plot->IsSelected());
    const QImage shown = paint();
    first->InvalidateArea(nullptr);
    EXPECT_TRUE(shown == paint()) << "the first window shows what it no longer holds";
}

TEST_F(PlotViewTest, OptionsChangeTheRangesAndSetPlotParametersMovesThePastThePlot)
{
    TwoDPlotComp* plot = Insert("-1", "1");
    ASSERT_NE(plot, nullptr);
    Enter(plot);
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(1000, "t");
        dialog.SetDlgItemText(1058, "-4");
        dialog.PressButton(IDOK);
    });
    Click(OptionsButton(plot));
    EXPECT_EQ(plot->GetXName(), "t");
    EXPECT_DOUBLE_EQ(plot->GetRanges().yMin, -4);
    ASSERT_NE(plot->GetCurves(), nullptr);
    EXPECT_EQ(plot->GetCurves()->GetCurveCount(), 1) << "the axes alone until the plot is computed";

    Select(1, 1, 2);
    EXPECT_TRUE(Update(kSetPlotParameters).enabled);
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(1059, "9");
        dialog.PressButton(IDOK);
    });
    Command(kSetPlotParameters);
    EXPECT_DOUBLE_EQ(plot->GetRanges().yMax, 9);
    EXPECT_EQ(view->GetSelection().GetKind(), DocPosition::kListPlace);
    EXPECT_FALSE(view->GetSelection().HasExtent()) << "the caret stands past the plot";
}

TEST_F(PlotViewTest, ALineThatDoesNotParseOrNoKernelIsReportedAndThePlotIsKept)
{
    TwoDPlotComp* plot = Insert("-1", "1");
    ASSERT_NE(plot, nullptr);
    Enter(plot);
    Type(".");
    Click(PlotButton(plot));
    EXPECT_EQ(ui.LastStatus(), "Parse Error");
    // A plot that parses, without a kernel to compute it.
    PutCaret(1, 2);
    TwoDPlotComp* other = Insert("-1", "1");
    ASSERT_NE(other, nullptr);
    Enter(other);
    Type("x");
    Click(PlotButton(other));
    EXPECT_EQ(ui.LastStatus(), "Graphing Error");
    EXPECT_EQ(other->GetCurves()->GetCurveCount(), 1);
}

TEST_F(PlotViewTest, CtrlEnterAddsAFunctionLineThatUndoRemoves)
{
    TwoDPlotComp* plot = Insert("-1", "1");
    ASSERT_NE(plot, nullptr);
    Enter(plot);
    Type("x");
    Key(VK_RETURN, 10, Qt::ControlModifier);
    ASSERT_EQ(plot->GetChildCount(), 2);
    EXPECT_EQ(view->GetSelection().First().GetList(), plot->GetChild(2)) << "the caret starts the new line";
    Command(kUndo);
    EXPECT_EQ(plot->GetChildCount(), 1);
    Command(kUndo); // redone
    EXPECT_EQ(plot->GetChildCount(), 2);
}

} // namespace
