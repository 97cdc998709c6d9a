// A 3-D plot on a real X display against the kernel program beside the
// editor: inserted from the Element menu, its function typed and computed
// with its "Plot" button, then turned by an xdotool drag in its picture and
// the turn undone. The screenshots are kept beside the test's output.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>

#include <optional>

#include "DrawingScreen.h"
#include "EditorSession.h"
#include "support/PictureCompare.h"

namespace {

int Changed(const QImage& a, const QImage& b)
{
    if (a.isNull() || a.size() != b.size())
        return -1;
    return DifferentPixels(a, b.convertToFormat(a.format()), 32);
}

} // namespace

TEST(ThreeDPlotEndToEndTest, InsertComputeTurnByDraggingAndUndo)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/plot3d";
    EditorSession editor(folder);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();

    ASSERT_TRUE(editor.Menu("E&lement", 'h')) << editor.LastError().toStdString(); // Three-d Plot
    const QString dialog = editor.WaitForWindow("^Plot Parameters$");
    ASSERT_FALSE(dialog.isEmpty()) << "the element command opened no dialog";
    ASSERT_TRUE(editor.Focus(dialog));
    EXPECT_TRUE(editor.Screenshot(folder + "/parameters.png"));
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Plot Parameters$"));
    ASSERT_TRUE(editor.FocusMain());
    editor.Type("x+y");
    QImage inserted;
    std::optional<QRect> frame;
    ASSERT_TRUE(editor.WaitUntil([&] {
        inserted = editor.Grab();
        frame = drawing_screen::BoxOf(inserted, drawing_screen::IsPlotFrame, QRect(0, 60, 1280, 964));
        return frame && frame->width() > 150 && frame->height() > 150;
    })) << "no selected plot on the screen";
    inserted.save(folder + "/inserted.png");
    const QRect plot = *frame;

    // "Plot" sits in the top right corner of the selected plot.
    editor.Click(plot.right() - 6, plot.top() + 5);
    QImage computed;
    EXPECT_TRUE(editor.WaitUntil(
        [&] {
            computed = editor.Grab();
            return Changed(inserted, computed) > 2000;
        },
        EditorSession::kPatience))
        << "the computed surface does not show";
    computed.save(folder + "/computed.png");

    // A drag from the middle of the picture to the right turns the plot.
    const QPoint middle(plot.center().x(), plot.top() + plot.height() * 2 / 5);
    ASSERT_TRUE(editor.Drag(middle, {middle + QPoint(20, 0), middle + QPoint(45, -5), middle + QPoint(70, -10)}));
    QImage turned;
    EXPECT_TRUE(editor.WaitUntil(
        [&] {
            turned = editor.Grab();
            return Changed(computed, turned) > 2000;
        },
        EditorSession::kPatience))
        << "the drag did not turn the plot";
    turned.save(folder + "/turned.png");

    editor.Key("ctrl+z");
    QImage undone;
    EXPECT_TRUE(editor.WaitUntil(
        [&] {
            undone = editor.Grab();
            return Changed(computed, undone) < 200;
        },
        EditorSession::kPatience))
        << "Undo did not turn the plot back";
    undone.save(folder + "/undone.png");
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
