// 3-D plots in the document view: inserted from the Element menu through the
// three-axis parameter dialog, and turned by dragging in the picture of the
// selected plot, one undoable step that marks the document modified. A
// press on the picture of a plot that is not selected turns nothing.
#include "ViewFixture.h"

#include "app/CCorvellDoc.h"
#include "app/dialogs/CThreeDPlotParamsDlg.h"
#include "foundation/TAction.h"
#include "foundation/CompList.h"
#include "kernel/KernelServices.h"
#include "plot/PlotComponents.h"
#include "plot/ThreeDPlotComp.h"

#include <cstring>

namespace {

constexpr UINT kThreeDPlot = 32869;
constexpr UINT kUndo = 57643;

class ThreeDPlotViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        InstallKernelServices();
        RegisterPlotComponents();
        InstallPlotParametersDialog(&AskPlotParametersOfAxes);
    }

    ThreeDPlotComp* Insert()
    {
        OnDialog([](CDialog& dialog) {
            dialog.SetDlgItemText(1060, "h");
            dialog.SetDlgItemText(1062, "2");
            dialog.PressButton(IDOK);
        });
        Command(kThreeDPlot);
        CompList* line = view->GetSelection().First().GetList();
        return line ? dynamic_cast<ThreeDPlotComp*>(line->GetOwner()) : nullptr;
    }

    void Drag(const IntPoint& from, const IntPoint& to)
    {
        Mouse(QEvent::MouseButtonPress, from);
        for (int k = 1; k <= 5; ++k)
            Mouse(QEvent::MouseMove, {from.x + (to.x - from.x) * k / 5, from.y + (to.y - from.y) * k / 5});
        Mouse(QEvent::MouseButtonRelease, to);
    }

    static bool Same(const Matrix3d& a, const Matrix3d& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};

TEST_F(ThreeDPlotViewTest, TheElementCommandInsertsAPlotWithTheThreeAxesOfItsDialog)
{
    ThreeDPlotComp* plot = Insert();
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->GetZName(), "h");
    EXPECT_DOUBLE_EQ(plot->GetZMax(), 2);
    EXPECT_NE(plot->GetPicture(), nullptr);
}

TEST_F(ThreeDPlotViewTest, DraggingInTheSelectedPlotsPictureTurnsItAndUndoTurnsItBack)
{
    ThreeDPlotComp* plot = Insert();
    ASSERT_NE(plot, nullptr);
    const Matrix3d start = plot->GetRotation();
    const Rect r = plot->GetPlotRect();
    const IntPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);

    PutCaret(1, 2);
    ASSERT_FALSE(plot->IsSelected());
    Drag(centre, {centre.x + 60, centre.y});
    EXPECT_TRUE(Same(plot->GetRotation(), start)) << "an unselected plot does not turn";

    view->SetSelection(DocSelection(plot->GetChild(1), 1, 1), true);
    ASSERT_TRUE(plot->IsSelected());
    Doc()->SetModifiedFlag(FALSE);
    Drag(centre, {centre.x + 60, centre.y - 20});
    EXPECT_FALSE(Same(plot->GetRotation(), start));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_NE(plot->GetPicture(), nullptr);
    Command(kUndo);
    EXPECT_TRUE(Same(plot->GetRotation(), start));

    Doc()->SetModifiedFlag(FALSE);
    Click(centre);
    EXPECT_TRUE(Same(plot->GetRotation(), start));
    EXPECT_FALSE(Doc()->IsModified()) << "a click turns nothing";
}

} // namespace
