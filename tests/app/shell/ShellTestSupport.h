#pragma once
// The application object under test: a kernel link whose state the test
// sets and whose calls it records, no desktop registration, and a record of
// the start-up and exit steps with what existed at each of them.
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/FakeUserInterface.h"
#include "app/CCorvellApp.h"
#include "kernel/KernelLink.h"

// What the process-wide objects looked like when a step was reported.
struct StepState {
    std::string step;
    bool app = false;         // GetCorvellApp() is set
    bool styles = false;      // gStyleTable
    bool clipboard = false;   // gDocClipboard
    bool registryKey = false; // the company key is set
    bool link = false;        // KernelLink::Get()
    bool prefs = false;       // the text preferences
    bool fonts = false;       // gFontManager
    bool settings = false;    // the kernel settings
    bool docTemplate = false;
    bool mainFrame = false;
    int documents = 0;
    QSize documentWindow;     // the first document window's normal (restored) size
    QSize clientArea;         // the frame's area for document windows
};

class FakeKernelLink : public KernelLink {
public:
    // Calls in the order they came, shared with the test.
    explicit FakeKernelLink(std::vector<std::string>* calls) : m_calls(calls) {}
    ~FakeKernelLink() override;

    void SetState(bool ready, bool busy, bool starting = false)
    {
        m_ready = ready;
        m_busy = busy;
        m_starting = starting;
    }
    bool CanStartKernel() const override { return canStart; }
    void StartKernel() override;
    void QuitKernel() override;
    void EndStartup() override;

    // A start-up worker that keeps using the link until it is cancelled.
    void RunStartupWorker();

    bool canStart = true;

private:
    std::vector<std::string>* m_calls;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_workerTouches{0};
};

class TestApp : public CCorvellApp {
public:
    std::vector<std::string> calls;
    FakeKernelLink* link = nullptr;
    int registrations = 0;
    int shownWith = -1;

    // The desktop registration of the product, which the other tests skip.
    void RegisterForReal() { CCorvellApp::RegisterDocumentType(); }

protected:
    KernelLink* CreateKernelLink() override;
    void RegisterDocumentType() override { ++registrations; }
    void ShowMainWindow() override;
};

// Settings in a folder of the test's own, the step record, a message-box
// recorder, and start-up and exit of a TestApp.
class CMDIFrameWnd;
// The normal (restored) size of the frame's first document window.
QSize DocumentWindowSize(CMDIFrameWnd* frame);

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up with the given command line; answers InitInstance's result.
    bool Start(const QStringList& arguments = {});
    // What the program does after the event loop: close, then exit.
    void Exit();
    // The update of a command as a menu would ask it of the application.
    bool Enabled(UINT id);

    const StepState* StateAt(const std::string& step) const;
    std::vector<std::string> StepNames() const;

    // The document of the first template's first document, or null.
    CDocument* FirstDocument() const;
    // Saves the first document to a path; false when it fails.
    bool SaveFirstDocument(const QString& path);

    QTemporaryDir settings;
    FakeUserInterface ui;
    std::unique_ptr<TestApp> app;
    std::vector<StepState> steps;
    bool exited = false;
};
