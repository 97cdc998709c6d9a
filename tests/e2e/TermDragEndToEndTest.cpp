// Term dragging on a real X display against the kernel program: "2x + 3 = 7"
// typed, the 3 selected, pressed and dragged across "=" with the mouse, the
// status bar read off the screen while the button is held, and the
// rearranged equation found in the document after the release.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRegularExpression>

#include <functional>

#include "EditorSession.h"

namespace {

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 128;
}

// The box of the pixels that differ between two pictures inside an area.
QRect Changed(const QImage& a, const QImage& b, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

int InkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += IsInk(image.pixel(x, y)) ? 1 : 0;
    return ink;
}

// Waits until the screen satisfies the condition (or the time is up).
bool WaitForScreen(EditorSession& editor, const std::function<bool(const QImage&)>& condition,
                   int timeoutMs = EditorSession::kPatience)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QImage screen = editor.Grab();
        if (!screen.isNull() && condition(screen))
            return true;
    }
    return false;
}

} // namespace

TEST(TermDragEndToEndTest, ATermDraggedAcrossTheEqualsSignMovesToTheOtherSide)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/term-drag";
    EditorSession editor(folder);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.Menu("F&ormat", 'q')) << editor.LastError().toStdString(); // Plain Equation
    editor.Type("2x+3=7");

    // The caret before the 3, then the 3 selected: what changed on the
    // screen between the two is where the 3 stands.
    const QRect window = editor.MainWindowRect();
    ASSERT_TRUE(window.isValid());
    editor.Key("Home");
    for (int i = 0; i < 3; ++i)
        editor.Key("Right");
    const QImage caret = editor.Grab();
    editor.Key("shift+Right");
    QImage selected;
    QRect three;
    const QRect document = window.adjusted(0, window.height() / 16, 0, -window.height() / 8);
    const bool shown = WaitForScreen(editor, [&](const QImage& screen) {
        selected = screen;
        three = Changed(caret, screen, document);
        return three.width() > 3 && three.height() > 6;
    });
    caret.save(folder + "/caret-before-3.png");
    selected.save(folder + "/3-selected.png");
    ASSERT_TRUE(shown) << "the selection did not show " << window.x() << "," << window.y() << " " << window.width()
                       << "x" << window.height();
    caret.save(folder + "/caret-before-3.png");
    selected.save(folder + "/3-selected.png");
    // The 7 is the last ink on the line, right of the selected 3.
    int seven = three.right();
    for (int x = three.right() + 1; x < document.right(); ++x)
        if (InkIn(selected, QRect(x, three.top(), 1, three.height())) > 0)
            seven = x;
    ASSERT_GT(seven, three.right() + 10) << "nothing right of the 3";

    // The status bar: a strip along the window's bottom, blank once the press clears it.
    const QRect status(window.left() + 2, window.bottom() - 20, window.width() / 2, 16);
    editor.MouseMove(three.center());
    editor.MouseDown();
    ASSERT_TRUE(WaitForScreen(editor, [&](const QImage& screen) { return InkIn(screen, status) == 0; }))
        << "the press did not clear the status bar";
    editor.MouseMove(QPoint((three.center().x() + seven) / 2, three.center().y()));
    editor.MouseMove(QPoint(seven - 2, three.center().y()));
    // Once the press has been held long enough the status says what releasing will do.
    EXPECT_TRUE(WaitForScreen(editor, [&](const QImage& screen) { return InkIn(screen, status) > 20; }))
        << "the status bar stayed blank";
    EXPECT_TRUE(editor.Screenshot(folder + "/dragging.png"));
    editor.MouseUp();

    // The rearranged equation is in the document: 2x = 7 - 3 (the minus may be the math minus).
    QString text;
    QElapsedTimer timer;
    timer.start();
    const QRegularExpression rearranged("2\\s*x\\s*=\\s*7\\s*(-|\\x{2212})\\s*3");
    while (timer.elapsed() < EditorSession::kPatience && !rearranged.match(text).hasMatch())
        text = editor.DocumentText();
    EXPECT_TRUE(rearranged.match(text).hasMatch()) << text.toStdString();
    editor.Key("ctrl+End");
    EXPECT_TRUE(editor.Screenshot(folder + "/dragged.png"));

    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
