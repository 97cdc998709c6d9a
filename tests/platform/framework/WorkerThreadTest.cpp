// What a worker thread shows runs on the user-interface thread: dialog texts,
// closing a dialog, message boxes (the worker waits for the answer).
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <atomic>

#include "FrameworkTestSupport.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/WorkerThread.h"
#include "support/FakeUserInterface.h"

namespace {

class ThreadRecordingUi : public FakeUserInterface {
public:
    std::vector<QThread*> boxThreads;
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override
    {
        boxThreads.push_back(QThread::currentThread());
        return FakeUserInterface::MessageBox(text, caption, type);
    }
};

class StartupDialog : public CDialog {
public:
    explicit StartupDialog(bool* closed) : CDialog(9002), m_closed(closed) {}
    void OnCancel() override
    {
        *m_closed = QThread::currentThread() == qApp->thread();
        DestroyWindow();
    }

private:
    bool* m_closed;
};

}

TEST(WorkerThread, WhatAWorkerShowsRunsOnTheUiThread)
{
    LoadTestResources();
    ThreadRecordingUi ui;
    ui.ScriptAnswers({IDOK, IDNO});
    bool closedOnUiThread = false;
    StartupDialog status(&closedOnUiThread);
    ASSERT_TRUE(status.Create(9002));

    std::atomic<bool> done{false}, loadedInOrder{false};
    std::atomic<int> first{0}, second{0};
    QPointer<QThread> worker = AfxBeginThread([&]() -> UINT {
        status.SetDlgItemText(1096, "Starting the kernel");
        RunOnUiThread([&] { status.SetDlgItemText(1096, "Loading package."); }, false);
        CString shown;
        RunOnUiThread([&] { status.GetDlgItemText(1096, shown); }, true);
        loadedInOrder = shown == "Loading package.";  // texts from a worker arrive in order
        first = AfxMessageBox("Unable to start the kernel.", MB_OK);
        second = MessageBox(nullptr, "Save?", "Quorvant", MB_YESNO);
        status.SendMessage(WM_CLOSE);
        done = true;
        return 0;
    });
    ASSERT_NE(worker, nullptr);
    QElapsedTimer clock;
    clock.start();
    while ((!done || status.widget()) && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(done);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, IDNO);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "Unable to start the kernel.");
    EXPECT_EQ(ui.boxThreads, (std::vector<QThread*>{qApp->thread(), qApp->thread()}));
    EXPECT_TRUE(closedOnUiThread);
    EXPECT_TRUE(loadedInOrder);
    while (worker && clock.elapsed() < 60000) // the thread deletes itself when done
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    FlushEvents();
}
