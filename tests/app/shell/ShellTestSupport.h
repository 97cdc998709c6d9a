#pragma once
// The application object under test: a kernel link whose state the test sets
// and whose calls it records, no desktop registration, and a record of the
// start-up and exit steps with the process-wide objects alive at each.
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/CCorvellApp.h"
#include "kernel/KernelLink.h"
#include "support/FakeUserInterface.h"

class CMDIFrameWnd;
class QMdiArea;

using Steps = std::vector<std::string>;

struct StepState {
    std::string step;
    std::set<std::string> alive;  // "styles", "link", "mainFrame", ...
    int documents = 0;
    QSize clientArea, documentWindow;  // the frame's area for documents; the first one's restored size
};

class FakeKernelLink : public KernelLink {
public:
    explicit FakeKernelLink(Steps* calls) : m_calls(calls) {}
    ~FakeKernelLink() override;
    void SetState(bool ready, bool busy, bool starting = false)
    {
        m_ready = ready, m_busy = busy, m_starting = starting;
    }
    bool CanStartKernel() const override { return canStart; }
    void StartKernel() override { m_calls->push_back("StartKernel"); }
    void QuitKernel() override;
    void EndStartup() override;
    // A start-up worker that keeps reading the link until it is cancelled.
    void RunStartupWorker();
    bool canStart = true;

private:
    Steps* m_calls;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_reads{0};
};

class TestApp : public CCorvellApp {
public:
    Steps calls;
    FakeKernelLink* link = nullptr;
    int registrations = 0;
    int shownWith = -1;
    void RegisterForReal() { CCorvellApp::RegisterDocumentType(); }

protected:
    KernelLink* CreateKernelLink() override { return link = new FakeKernelLink(&calls); }
    void RegisterDocumentType() override { ++registrations; }
    void ShowMainWindow() override
    {
        shownWith = m_nCmdShow;
        CCorvellApp::ShowMainWindow();
    }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    bool Start(const QStringList& arguments = {});
    // What the program does after its event loop: close, then exit.
    void Exit();
    // Exits and starts a new application object with `arguments`.
    bool Restart(const QStringList& arguments);
    bool Enabled(UINT id);
    const StepState* StateAt(const std::string& step) const;
    Steps StepNames() const;
    CDocument* FirstDocument() const;
    QSize FirstWindowSize() const;
    CMDIFrameWnd* Frame() const;
    // Opens `count` new documents and lets their windows come up; the
    // frame's area for documents.
    QMdiArea* OpenNewDocuments(int count);

    QTemporaryDir settings;
    FakeUserInterface ui;
    std::unique_ptr<TestApp> app;
    std::vector<StepState> steps;
    bool exited = false;
};
