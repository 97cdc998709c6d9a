#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/HeldMessages.h"
#include "platform/QtUserInterface.h"
#include "support/FakeUserInterface.h"

namespace {

// Presses the given button of the next message box that opens.
void PressWhenShown(QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            PressWhenShown(button);
            return;
        }
        EXPECT_EQ(box->buttons().size(), 2);
        box->button(button)->click();
    });
}

} // namespace

TEST(QtUserInterfaceTest, WaitCursorNestsAndStatusTextReachesTheBar)
{
    QtUserInterface& ui = QtUserInterface::Instance();
    ui.EndWaitCursor(); // an End without a Begin is ignored
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ui.BeginWaitCursor();
    ui.BeginWaitCursor();
    ui.EndWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    QStatusBar bar;
    ui.SetStatusBar(&bar);
    ui.SetStatusText("Ready");
    EXPECT_EQ(bar.currentMessage(), "Ready");
    ui.SetStatusBar(nullptr);
}

TEST(QtUserInterfaceTest, MessageBoxAnswersThePressedButtonFromAnyThread)
{
    PressWhenShown(QMessageBox::No);
    EXPECT_EQ(QtUserInterface::Instance().MessageBox("Delete the drawing?", "Quorvant", MB_YESNO | MB_ICONQUESTION),
              IDNO);

    // From a worker thread the box runs on the user-interface thread.
    PressWhenShown(QMessageBox::Cancel);
    int answer = 0;
    QEventLoop loop;
    std::thread worker([&] {
        answer = QtUserInterface::Instance().MessageBox("The kernel did not start.", "", MB_OKCANCEL);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    EXPECT_EQ(answer, IDCANCEL);
}

// While a hold lives, a message that only informs waits, answered OK; a
// question, and any message from another thread, goes through at once. The
// hold's end puts back what it replaced and shows what waited, in order.
TEST(HeldMessagesTest, InformingMessagesWaitForTheEndOfTheHold)
{
    FakeUserInterface fake;
    fake.ScriptAnswers({IDNO});
    const auto shown = [&] {
        std::vector<std::string> texts;
        for (const FakeUserInterface::Box& box : fake.boxes)
            texts.push_back(box.text);
        return texts;
    };
    {
        HeldMessages held;
        UserInterface& ui = UserInterface::Current();
        EXPECT_EQ(ui.MessageBox("The kernel has stopped.", "Quorvant", MB_OK | MB_ICONINFORMATION), IDOK);
        EXPECT_EQ(ui.MessageBox("Stop the calculation?", "Quorvant", MB_YESNO), IDNO);
        std::thread([&] { ui.MessageBox("From a worker.", "Quorvant", MB_OK); }).join();
        ui.MessageBox("The drawing is solved by the editor.", "Quorvant", MB_OK);
        EXPECT_EQ(shown(), (std::vector<std::string>{"Stop the calculation?", "From a worker."}));
    }
    EXPECT_EQ(&UserInterface::Current(), &fake);
    EXPECT_EQ(shown(), (std::vector<std::string>{"Stop the calculation?", "From a worker.", "The kernel has stopped.",
                                                 "The drawing is solved by the editor."}));
}
