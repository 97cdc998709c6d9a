#include <thread>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>

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

TEST(UserInterfaceTest, FakeRecordsTextsAndScriptedAnswers)
{
    FakeUserInterface fake;
    EXPECT_EQ(&UserInterface::Current(), &fake);
    fake.ScriptAnswers({IDNO, IDCANCEL});

    UserInterface& ui = UserInterface::Current();
    EXPECT_EQ(ui.MessageBox("Save changes to Untitled?", "Quorvant", MB_YESNOCANCEL | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(ui.MessageBox("Retry?", "", MB_RETRYCANCEL), IDCANCEL);
    // Without a scripted answer, the default button answers.
    EXPECT_EQ(ui.MessageBox("Done", "", MB_OK), IDOK);
    EXPECT_EQ(ui.MessageBox("Replace?", "", MB_YESNO | MB_DEFBUTTON2), IDNO);
    ui.MessageBeep(0);
    ui.SetStatusText("Working");

    ASSERT_EQ(fake.boxes.size(), 4u);
    EXPECT_EQ(fake.boxes[0].text, "Save changes to Untitled?");
    EXPECT_EQ(fake.boxes[0].type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(fake.boxes[3].answer, IDNO);
    EXPECT_EQ(fake.beeps, std::vector<unsigned>{0});
    EXPECT_EQ(fake.LastStatus(), "Working");
    {
        CWaitCursor outer;
        CWaitCursor inner;
        EXPECT_EQ(fake.waitDepth, 2);
    }
    EXPECT_EQ(fake.waitDepth, 0);
}

TEST(UserInterfaceTest, FakesNestAndRestoreTheQtImplementation)
{
    UserInterface* qt = &UserInterface::Current();
    EXPECT_EQ(qt, &QtUserInterface::Instance());
    {
        FakeUserInterface outer;
        {
            FakeUserInterface inner;
            UserInterface::Current().SetStatusText("inner");
        }
        UserInterface::Current().SetStatusText("outer");
        EXPECT_EQ(outer.statusTexts, std::vector<std::string>{"outer"});
    }
    EXPECT_EQ(&UserInterface::Current(), qt);
}

TEST(UserInterfaceTest, ButtonsOfEachType)
{
    EXPECT_EQ(UserInterface::ButtonCount(MB_ABORTRETRYIGNORE | MB_ICONHAND), 3);
    EXPECT_EQ(UserInterface::ButtonAnswer(MB_YESNOCANCEL, 2), IDCANCEL);
    EXPECT_EQ(UserInterface::ButtonAnswer(MB_OK, 1), 0);
    EXPECT_EQ(UserInterface::DefaultAnswer(MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(UserInterface::DefaultAnswer(MB_OK | MB_DEFBUTTON3), IDOK); // no third button
}

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
    EXPECT_EQ(ui.WaitDepth(), 0);

    QStatusBar bar;
    ui.SetStatusBar(&bar);
    ui.SetStatusText("Ready");
    EXPECT_EQ(bar.currentMessage(), "Ready");
    ui.SetStatusBar(nullptr);
}

TEST(QtUserInterfaceTest, MessageBoxAnswersThePressedButton)
{
    PressWhenShown(QMessageBox::No);
    EXPECT_EQ(QtUserInterface::Instance().MessageBox("Delete the drawing?", "Quorvant", MB_YESNO | MB_ICONQUESTION),
              IDNO);
}

TEST(QtUserInterfaceTest, MessageBoxFromAWorkerThreadRunsOnTheUserInterfaceThread)
{
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
